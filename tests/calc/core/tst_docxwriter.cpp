#include "DocxReader.h"
#include "calc/core/DocxWriter.h"
#include "calc/core/ReportModel.h"
#include "frames/Messenger.h"
#include "frames/Paths.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace kz;

namespace {
QString u(const char* s) {
    return QString::fromUtf8(s);
}
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
    QDir(dir_.path()).mkpath(l1("Picture"));
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    QVERIFY(image.save(dir_.filePath(l1("Picture/vert.bmp")), "BMP"));
    setApplicationFolder(dir_.path() + QLatin1Char('/'));
}

QList<ReportParagraph> TestDocxWriter::sample() {
    ReportBuilder w(rec_);
    w.WordTitle(u("Заголовок.") + reportCr + reportCr);
    w.WordPicture(l1("vert.bmp"));
    w.WordText(u("Грунт с удельным сопротивлением "));
    w.WordSymbol(l1("r"));
    w.WordText(u(" = 100 Ом м.") + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Center);
    w.WordText(l1("S = 10 m"));
    w.WordSuperscript(l1("2"));
    w.WordText(l1(", R"));
    w.WordSubscript(u("доп"));
    w.WordText(reportCr);
    w.setAlignment(ReportParagraph::Alignment::Left);
    w.WordText(u("Конец.") + reportCr);
    return w.paragraphs();
}

void TestDocxWriter::writtenDocumentHoldsTheRunsAndTheirFormatting() {
    const QString path = dir_.filePath(l1("report.docx"));
    QString error;
    QVERIFY(writeDocx(sample(), path, &error));
    QVERIFY(error.isEmpty());
    const DocxContents doc = DocxContents::read(path);
    QVERIFY(doc.opened);
    for (const char* entry : {"[Content_Types].xml", "_rels/.rels", "word/document.xml",
                              "word/_rels/document.xml.rels", "word/media/image1.png"})
        QVERIFY2(doc.entries.contains(l1(entry)), entry);
    QString xmlError;
    QCOMPARE(doc.paragraphs(&xmlError), (QStringList{u("Заголовок."), QString(), l1("[picture]"), QString(),
                                                     u("Грунт с удельным сопротивлением r = 100 Ом м."),
                                                     u("S = 10 m 2, R доп"), u("Конец.")}));
    QVERIFY2(xmlError.isEmpty(), qPrintable(xmlError));

    const QByteArray xml = doc.document();
    // Title bold, the rest regular; one bold run.
    QCOMPARE(elements(xml, l1("w:b")).size(), 1);
    // Centred: the title and the formula-like paragraph.
    QCOMPARE(elements(xml, l1("w:jc")).size(), 2);
    const auto vert = elements(xml, l1("w:vertAlign"));
    QCOMPARE(vert.size(), 2);
    QCOMPARE(vert[0].value(l1("w:val")), l1("superscript"));
    QCOMPARE(vert[1].value(l1("w:val")), l1("subscript"));
    // 12 pt in half-points, Times New Roman Cyr on text, rho as a Symbol character.
    for (const auto& sz : elements(xml, l1("w:sz")))
        QCOMPARE(sz.value(l1("w:val")), l1("24"));
    const auto fonts = elements(xml, l1("w:rFonts"));
    QCOMPARE(fonts.size(), 9);
    QCOMPARE(fonts[0].value(l1("w:ascii")), l1("Times New Roman Cyr"));
    const auto sym = elements(xml, l1("w:sym"));
    QCOMPARE(sym.size(), 1);
    QCOMPARE(sym[0].value(l1("w:font")), l1("Symbol"));
    QCOMPARE(sym[0].value(l1("w:char")), l1("F072"));
    // Leading and trailing blanks kept.
    for (const auto& t : elements(xml, l1("w:t")))
        QCOMPARE(t.value(l1("xml:space")), l1("preserve"));
    QVERIFY(xml.contains(u("<w:t xml:space=\"preserve\"> = 100 Ом м.</w:t>").toUtf8()));

    const QByteArray types = doc.entries.value(l1("[Content_Types].xml"));
    QVERIFY(types.contains("Extension=\"png\" ContentType=\"image/png\""));
    QVERIFY(types.contains("PartName=\"/word/document.xml\""));
    QVERIFY(doc.entries.value(l1("_rels/.rels")).contains("Target=\"word/document.xml\""));
}

void TestDocxWriter::specialCharactersAreEscaped() {
    ReportBuilder w(rec_);
    const QString tricky = u("R < 4 & L > D, \"кавычки\" и 'апостроф'");
    w.WordText(tricky + reportCr);
    const QString path = dir_.filePath(l1("escaped.docx"));
    QVERIFY(writeDocx(w.paragraphs(), path, nullptr));
    const DocxContents doc = DocxContents::read(path);
    QString xmlError;
    QCOMPARE(doc.paragraphs(&xmlError), QStringList{tricky});
    QVERIFY2(xmlError.isEmpty(), qPrintable(xmlError));
    QVERIFY(doc.document().contains("R &lt; 4 &amp; L &gt; D"));
    QVERIFY(!doc.document().contains("R < 4"));
}

void TestDocxWriter::pictureIsEmbeddedWithItsRelation() {
    const QString path = dir_.filePath(l1("picture.docx"));
    QVERIFY(writeDocx(sample(), path, nullptr));
    const DocxContents doc = DocxContents::read(path);
    const auto blips = elements(doc.document(), l1("a:blip"));
    QCOMPARE(blips.size(), 1);
    const QString id = blips[0].value(l1("r:embed")).toString();
    QVERIFY(!id.isEmpty());
    const auto rels = elements(doc.entries.value(l1("word/_rels/document.xml.rels")), l1("Relationship"));
    QCOMPARE(rels.size(), 1);
    QCOMPARE(rels[0].value(l1("Id")), id);
    QCOMPARE(rels[0].value(l1("Target")), l1("media/image1.png"));
    QCOMPARE(rels[0].value(l1("Type")),
             l1("http://schemas.openxmlformats.org/officeDocument/2006/relationships/image"));
    // The bitmap converted to PNG at its own size: 120 x 80 pixels at 96 dpi.
    const QImage png = QImage::fromData(doc.entries.value(l1("word/media/image1.png")), "PNG");
    QCOMPARE(png.size(), QSize(120, 80));
    const auto extent = elements(doc.document(), l1("wp:extent"));
    QCOMPARE(extent.size(), 1);
    QCOMPARE(extent[0].value(l1("cx")), l1("1143000"));
    QCOMPARE(extent[0].value(l1("cy")), l1("762000"));
}

void TestDocxWriter::failureNamesTheFileAndLeavesNothing_data() {
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing folder") << l1("no/such/folder/report.docx");
    QTest::newRow("a folder") << l1("Picture");
}

void TestDocxWriter::failureNamesTheFileAndLeavesNothing() {
    QFETCH(QString, relative);
    const QString path = dir_.filePath(relative);
    const QStringList before = QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QString error;
    QVERIFY(!writeDocx(sample(), path, &error));
    QCOMPARE(error, u("Ошибка. Не удалось записать отчет в файл ") + path + QLatin1Char('.'));
    QCOMPARE(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(QDir(dir_.filePath(l1("Picture"))).entryList(QDir::Files), QStringList{l1("vert.bmp")});
}

void TestDocxWriter::replacedFileIsWholeAfterASecondReport() {
    const QString path = dir_.filePath(l1("twice.docx"));
    QVERIFY(writeDocx(sample(), path, nullptr));
    ReportBuilder w(rec_);
    w.WordText(u("Второй.") + reportCr);
    QVERIFY(writeDocx(w.paragraphs(), path, nullptr));
    const DocxContents doc = DocxContents::read(path);
    QCOMPARE(doc.paragraphs(), QStringList{u("Второй.")});
    QVERIFY(!doc.entries.contains(l1("word/media/image1.png")));
}

QTEST_GUILESS_MAIN(TestDocxWriter)
#include "tst_docxwriter.moc"
