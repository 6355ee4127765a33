#include "DocxReader.h"
#include "report/DocxWriter.h"
#include "core/model/ReportModel.h"
#include "core/common/Messenger.h"
#include "core/common/Paths.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {
QString l1(const char* s) {
    return QString::fromLatin1(s);
}

class Recorder : public Messenger {
public:
    void showMessage(const QString& text) override { messages << text; }
    QStringList messages;
};

// Every element of one kind in document.xml with its attributes, in order.
QList<QXmlStreamAttributes> elements(const QByteArray& xml, const QString& name) {
    QList<QXmlStreamAttributes> found;
    QXmlStreamReader x(xml);
    while (!x.atEnd())
        if (x.readNext() == QXmlStreamReader::StartElement && x.qualifiedName() == name)
            found << x.attributes();
    return found;
}
} // namespace

class TestDocxWriter : public QObject {
    Q_OBJECT
private slots:
    void init();
    void writtenDocumentHoldsTheRunsAndTheirFormatting();
    void specialCharactersAreEscaped();
    void pictureIsEmbeddedWithItsRelation();
    void failureNamesTheFileAndLeavesNothing_data();
    void failureNamesTheFileAndLeavesNothing();
    void replacedFileIsWholeAfterASecondReport();

private:
    QList<ReportParagraph> sample();
    QTemporaryDir dir_;
    Recorder rec_;
};

void TestDocxWriter::init() {
    QDir(dir_.path()).mkpath(u"Picture"_s);
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    QVERIFY(image.save(dir_.filePath(u"Picture/vert.bmp"_s), "BMP"));
    setApplicationFolder(dir_.path() + QLatin1Char('/'));
}

QList<ReportParagraph> TestDocxWriter::sample() {
    ReportBuilder w(rec_);
    w.WordTitle(u"Заголовок."_s + reportCr + reportCr);
    w.WordPicture(u"vert.bmp"_s);
    w.WordText(u"Грунт с удельным сопротивлением "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" = 100 Ом м."_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Center);
    w.WordText(u"S = 10 m"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(u", R"_s);
    w.WordSubscript(u"доп"_s);
    w.WordText(reportCr);
    w.setAlignment(ReportParagraph::Alignment::Left);
    w.WordText(u"Конец."_s + reportCr);
    return w.paragraphs();
}

void TestDocxWriter::writtenDocumentHoldsTheRunsAndTheirFormatting() {
    const QString path = dir_.filePath(u"report.docx"_s);
    QString error;
    QVERIFY(writeDocx(sample(), path, &error));
    QVERIFY(error.isEmpty());
    const DocxContents doc = DocxContents::read(path);
    QVERIFY(doc.opened);
    for (const char* entry : {"[Content_Types].xml", "_rels/.rels", "word/document.xml",
                              "word/_rels/document.xml.rels", "word/media/image1.png"})
        QVERIFY2(doc.entries.contains(l1(entry)), entry);
    QString xmlError;
    QCOMPARE(doc.paragraphs(&xmlError), (QStringList{u"Заголовок."_s, QString(), u"[picture]"_s, QString(),
                                                     u"Грунт с удельным сопротивлением r = 100 Ом м."_s,
                                                     u"S = 10 m 2, R доп"_s, u"Конец."_s}));
    QVERIFY2(xmlError.isEmpty(), qPrintable(xmlError));

    const QByteArray xml = doc.document();
    // Title bold, the rest regular; one bold run.
    QCOMPARE(elements(xml, u"w:b"_s).size(), 1);
    // Centred: the title and the formula-like paragraph.
    QCOMPARE(elements(xml, u"w:jc"_s).size(), 2);
    const auto vert = elements(xml, u"w:vertAlign"_s);
    QCOMPARE(vert.size(), 2);
    QCOMPARE(vert[0].value(u"w:val"_s), u"superscript"_s);
    QCOMPARE(vert[1].value(u"w:val"_s), u"subscript"_s);
    // 12 pt in half-points, Times New Roman Cyr on text, rho as a Symbol character.
    for (const auto& sz : elements(xml, u"w:sz"_s))
        QCOMPARE(sz.value(u"w:val"_s), u"24"_s);
    const auto fonts = elements(xml, u"w:rFonts"_s);
    QCOMPARE(fonts.size(), 9);
    QCOMPARE(fonts[0].value(u"w:ascii"_s), u"Times New Roman Cyr"_s);
    const auto sym = elements(xml, u"w:sym"_s);
    QCOMPARE(sym.size(), 1);
    QCOMPARE(sym[0].value(u"w:font"_s), u"Symbol"_s);
    QCOMPARE(sym[0].value(u"w:char"_s), u"F072"_s);
    // Leading and trailing blanks kept.
    for (const auto& t : elements(xml, u"w:t"_s))
        QCOMPARE(t.value(u"xml:space"_s), u"preserve"_s);
    QVERIFY(xml.contains(u"<w:t xml:space=\"preserve\"> = 100 Ом м.</w:t>"_s.toUtf8()));

    const QByteArray types = doc.entries.value(u"[Content_Types].xml"_s);
    QVERIFY(types.contains("Extension=\"png\" ContentType=\"image/png\""));
    QVERIFY(types.contains("PartName=\"/word/document.xml\""));
    QVERIFY(doc.entries.value(u"_rels/.rels"_s).contains("Target=\"word/document.xml\""));
}

void TestDocxWriter::specialCharactersAreEscaped() {
    ReportBuilder w(rec_);
    const QString tricky = u"R < 4 & L > D, \"кавычки\" и 'апостроф'"_s;
    w.WordText(tricky + reportCr);
    const QString path = dir_.filePath(u"escaped.docx"_s);
    QVERIFY(writeDocx(w.paragraphs(), path, nullptr));
    const DocxContents doc = DocxContents::read(path);
    QString xmlError;
    QCOMPARE(doc.paragraphs(&xmlError), QStringList{tricky});
    QVERIFY2(xmlError.isEmpty(), qPrintable(xmlError));
    QVERIFY(doc.document().contains("R &lt; 4 &amp; L &gt; D"));
    QVERIFY(!doc.document().contains("R < 4"));
}

void TestDocxWriter::pictureIsEmbeddedWithItsRelation() {
    const QString path = dir_.filePath(u"picture.docx"_s);
    QVERIFY(writeDocx(sample(), path, nullptr));
    const DocxContents doc = DocxContents::read(path);
    const auto blips = elements(doc.document(), u"a:blip"_s);
    QCOMPARE(blips.size(), 1);
    const QString id = blips[0].value(u"r:embed"_s).toString();
    QVERIFY(!id.isEmpty());
    const auto rels = elements(doc.entries.value(u"word/_rels/document.xml.rels"_s), u"Relationship"_s);
    QCOMPARE(rels.size(), 1);
    QCOMPARE(rels[0].value(u"Id"_s), id);
    QCOMPARE(rels[0].value(u"Target"_s), u"media/image1.png"_s);
    QCOMPARE(rels[0].value(u"Type"_s),
             u"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image"_s);
    // The bitmap converted to PNG at its own size: 120 x 80 pixels at 96 dpi.
    const QImage png = QImage::fromData(doc.entries.value(u"word/media/image1.png"_s), "PNG");
    QCOMPARE(png.size(), QSize(120, 80));
    const auto extent = elements(doc.document(), u"wp:extent"_s);
    QCOMPARE(extent.size(), 1);
    QCOMPARE(extent[0].value(u"cx"_s), u"1143000"_s);
    QCOMPARE(extent[0].value(u"cy"_s), u"762000"_s);
}

void TestDocxWriter::failureNamesTheFileAndLeavesNothing_data() {
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing folder") << u"no/such/folder/report.docx"_s;
    QTest::newRow("a folder") << u"Picture"_s;
}

void TestDocxWriter::failureNamesTheFileAndLeavesNothing() {
    QFETCH(QString, relative);
    const QString path = dir_.filePath(relative);
    const QStringList before = QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QString error;
    QVERIFY(!writeDocx(sample(), path, &error));
    QCOMPARE(error, u"Ошибка. Не удалось записать отчет в файл "_s + path + QLatin1Char('.'));
    QCOMPARE(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(QDir(dir_.filePath(u"Picture"_s)).entryList(QDir::Files), QStringList{u"vert.bmp"_s});
}

void TestDocxWriter::replacedFileIsWholeAfterASecondReport() {
    const QString path = dir_.filePath(u"twice.docx"_s);
    QVERIFY(writeDocx(sample(), path, nullptr));
    ReportBuilder w(rec_);
    w.WordText(u"Второй."_s + reportCr);
    QVERIFY(writeDocx(w.paragraphs(), path, nullptr));
    const DocxContents doc = DocxContents::read(path);
    QCOMPARE(doc.paragraphs(), QStringList{u"Второй."_s});
    QVERIFY(!doc.entries.contains(u"word/media/image1.png"_s));
}

QTEST_GUILESS_MAIN(TestDocxWriter)
#include "tst_docxwriter.moc"
