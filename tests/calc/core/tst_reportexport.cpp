#include "CalcTestFolder.h"
#include "DocxReader.h"
#include "CalculatorWindowOf.h"
#include "widgets/report/ReportExport.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/CalculatorToolbar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {
const QString negative =
    u"Так как R > Rдоп., то заземлитель нельзя использовать в качестве заземляющего устройства."_s;
const QString positive =
    u"Так как R <= Rдоп., то заземлитель можно использовать в качестве заземляющего устройства."_s;
} // namespace

// btnReport of the vertical rod, clicked as a user would: the save dialog answered, the
// document written and handed to the desktop (recorded, never opened).
class TestReportExport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void reportOnlyWithAResult();
    void reportIsWrittenAndHandedOver_data();
    void reportIsWrittenAndHandedOver();
    void withoutInstallationNeitherItNorTheVerdict();
    void pictureButtonUpLeavesThePictureOut();
    void missingPictureIsReportedAndTheReportGoesOn();
    void cancelledSaveWritesNothing();
    void withoutAWordProcessorTheUserIsTold();
    void installedWordProcessorIsFoundOnThePath_data();
    void installedWordProcessorIsFoundOnThePath();
    void theNextReportStartsInTheLastFolder();
    void unwritableFileIsReported();

private:
    template <class T> T* find(const char* name) {
        T* w = win_->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qWarning("no %s", name);
        return w;
    }
    QToolButton* tool(const char* name) { return find<QToolButton>(name); }
    void type(QLineEdit* e, const QString& text) {
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
        QTest::keyClicks(e, text);
        QCOMPARE(e->text(), text);
    }
    void score() { QTest::mouseClick(tool("btnScore"), Qt::LeftButton); }
    // Clicks btnReport with the save dialog answered by path; the paragraphs written.
    QStringList report(const QString& path);

    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<CalcTestFolder> folder_;
    std::unique_ptr<TDVertFm> win_;
    std::unique_ptr<QTemporaryDir> outDir_; // a fresh folder for each test's documents
    QString outFile(const char* name) const { return outDir_->filePath(QLatin1String(name)); }
};

void TestReportExport::init() {
    outDir_ = std::make_unique<QTemporaryDir>();
    forgetReportFolder();
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    folder_ = std::make_unique<CalcTestFolder>(*rec_);
    win_ = std::make_unique<TDVertFm>(*folder_->data);
    win_->show();
    QApplication::setActiveWindow(win_.get());
    QVERIFY(QTest::qWaitForWindowActive(win_.get()));
    QVERIFY(rec_->messages.isEmpty());
}

void TestReportExport::cleanup() {
    win_.reset();
    folder_.reset();
    rec_.reset();
}

QStringList TestReportExport::report(const QString& path) {
    rec_->fileNames << path;
    QTest::mouseClick(tool("btnReport"), Qt::LeftButton);
    return DocxContents::read(path).paragraphs();
}

void TestReportExport::reportOnlyWithAResult() {
    QVERIFY(!tool("btnReport")->isEnabled());
    score();
    QCOMPARE(find<QLineEdit>("EditVS1")->text(), u"21,81"_s);
    QVERIFY(tool("btnReport")->isEnabled());
    // With automatic calculation off a typed change forgets the result.
    type(find<QLineEdit>("EditDlina"), u"6"_s);
    QVERIFY(!tool("btnReport")->isEnabled());
    QTest::mouseClick(tool("btnReport"), Qt::LeftButton);
    QVERIFY(rec_->fileNamePresets.isEmpty());
}

void TestReportExport::reportIsWrittenAndHandedOver_data() {
    QTest::addColumn<QString>("rmax");
    QTest::addColumn<QString>("r");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("21,81 > 4") << u"4"_s << u"21,81"_s << negative;
    QTest::newRow("21,81 <= 30") << u"30"_s << u"21,81"_s << positive;
    QTest::newRow("equal") << u"21,81"_s << u"21,81"_s << positive;
}

void TestReportExport::reportIsWrittenAndHandedOver() {
    QFETCH(QString, rmax);
    QFETCH(QString, r);
    QFETCH(QString, verdict);
    type(find<QLineEdit>("EditRmax"), rmax);
    score();
    QCOMPARE(find<QLineEdit>("EditVS1")->text(), r);
    const QString path = outFile("rod.docx");
    const QStringList paras = report(path);

    QCOMPARE(rec_->fileNamePresets,
             QStringList{QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                             .filePath(u"Вертикальный заземлитель в земле.docx"_s)});
    QCOMPARE(rec_->openedDocuments, QStringList{path});
    QCOMPARE(rec_->messages, QStringList{u"Отчет сохранен в файле "_s + QDir::toNativeSeparators(path) + u"."_s});
    QVERIFY(!find<QProgressBar>("Gauge1")->isVisible());
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    QCOMPARE(
        paras,
        (QStringList{u"Вертикальный заземлитель в земле."_s, QString(), u"[picture]"_s, QString(),
                     u"Тип электроустановки: напряжением до 1 кВ с заземленной нейтралью."_s,
                     u"Линейное напряжение источника тока: Uлин. = 380 В."_s,
                     u"Удельное сопротивление грунта: r = 100 Ом м."_s,
                     u"Допустимое сопротивление растеканию: Rдоп. = "_s + rmax + u" Ом."_s,
                     u"Грунт в месте расположения заземляющего устройства: суглинок с удельным "
                     u"сопротивлением r = 100 Ом м."_s,
                     u"Заземляющее устройство представляет собой вертикальный заземлитель длиной L = 5 м."_s,
                     u"Конструкция заземлителя - сталь круглая диаметром D = 0,016 м."_s,
                     u"Расстояние от поверхности земли до верхнего края заземлителя: То = 0,7 м."_s,
                     u"Глубина заложения заземлителя: Т = 5/2 + 0,7 = 3,20 м."_s,
                     u"Сопротивление растеканию заземлителя:"_s,
                     u"R = r / (2*П*L) * [Ln(2*L/D) + 0,5*Ln((4*T+L)/(4*T-L))], Ом;"_s,
                     u"R = 100/(2*3,14*5) * [Ln(2*5/0,016) + 0,5*Ln((4*3,20+5)/(4*3,20-5))] = 21,81 Ом."_s,
                     verdict}));
    QVERIFY(DocxContents::read(path).entries.contains(u"word/media/image1.png"_s));
}

void TestReportExport::withoutInstallationNeitherItNorTheVerdict() {
    QTest::mouseClick(find<QCheckBox>("chkInclude"), Qt::LeftButton);
    QVERIFY(!find<QCheckBox>("chkInclude")->isChecked());
    score();
    const QStringList paras = report(outFile("rod.docx"));
    QCOMPARE(paras.size(), 12);
    QVERIFY(!paras.join(QLatin1Char('\n')).contains(u"Rдоп"_s));
    QCOMPARE(paras[4].left(5), u"Грунт"_s);
}

void TestReportExport::pictureButtonUpLeavesThePictureOut() {
    QTest::mouseClick(tool("btnPicture"), Qt::LeftButton);
    QVERIFY(!tool("btnPicture")->isChecked());
    score();
    const QString path = outFile("rod.docx");
    const QStringList paras = report(path);
    QCOMPARE(paras.size(), 15);
    QCOMPARE(paras[2], u"Тип электроустановки: напряжением до 1 кВ с заземленной нейтралью."_s);
    QVERIFY(!DocxContents::read(path).entries.contains(u"word/media/image1.png"_s));
}

void TestReportExport::missingPictureIsReportedAndTheReportGoesOn() {
    score();
    QVERIFY(QFile::remove(pictureDir() + u"vert.bmp"_s));
    const QString path = outFile("rod.docx");
    const QStringList paras = report(path);
    QCOMPARE(rec_->messages,
             (QStringList{u"Ошибка. Графический файл "_s + pictureDir() + u"vert.bmp не найден."_s,
                          reportSavedMessage(path)}));
    QCOMPARE(paras.size(), 15);
    QCOMPARE(rec_->openedDocuments, QStringList{path});
}

void TestReportExport::cancelledSaveWritesNothing() {
    score();
    QTest::mouseClick(tool("btnReport"), Qt::LeftButton);
    QCOMPARE(rec_->fileNamePresets.size(), 1);
    QVERIFY(rec_->openedDocuments.isEmpty());
    QVERIFY(rec_->messages.isEmpty());
    QVERIFY(QDir(outDir_->path()).isEmpty());
}

void TestReportExport::unwritableFileIsReported() {
    score();
    const QString path = outFile("missing/rod.docx");
    rec_->fileNames << path;
    QTest::mouseClick(tool("btnReport"), Qt::LeftButton);
    QCOMPARE(rec_->messages,
             QStringList{u"Ошибка. Не удалось записать отчет в файл "_s + path + QLatin1Char('.')});
    QVERIFY(rec_->openedDocuments.isEmpty());
    QVERIFY(QDir(outDir_->path()).isEmpty());
    QVERIFY(!find<QProgressBar>("Gauge1")->isVisible());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestReportExport::withoutAWordProcessorTheUserIsTold() {
    score();
    rec_->documentsOpen = false;
    const QString path = outFile("rod.docx");
    QVERIFY(!report(path).isEmpty()); // written all the same
    QCOMPARE(rec_->openedDocuments, QStringList{path});
    QCOMPARE(rec_->messages.size(), 1);
    const QString said = rec_->messages.first();
    QVERIFY2(said.startsWith(u"Отчет сохранен в файле "_s + QDir::toNativeSeparators(path) + u".\n"_s),
             qPrintable(said));
    QVERIFY2(said.contains(u"Открыть его не удалось"_s), qPrintable(said));
}

void TestReportExport::installedWordProcessorIsFoundOnThePath_data() {
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("found");
    QTest::newRow("none") << QStringList{} << QString();
    QTest::newRow("soffice") << QStringList{u"soffice"_s} << u"soffice"_s;
    QTest::newRow("lowriter") << QStringList{u"lowriter"_s} << u"lowriter"_s;
    QTest::newRow("both") << QStringList{u"lowriter"_s, u"soffice"_s} << u"soffice"_s;
}

void TestReportExport::installedWordProcessorIsFoundOnThePath() {
    // Without a desktop entry for .docx the report goes to LibreOffice when it is installed.
    QFETCH(QStringList, installed);
    QFETCH(QString, found);
    QTemporaryDir bin;
    for (const QString& program : installed) {
        QFile file(bin.filePath(program));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());
    const QString processor = installedWordProcessor();
    qputenv("PATH", path);
    QCOMPARE(processor, found.isEmpty() ? QString() : bin.filePath(found));
}

void TestReportExport::theNextReportStartsInTheLastFolder() {
    score();
    QVERIFY(QDir(outDir_->path()).mkdir(u"reports"_s));
    const QString path = outFile("reports/first.docx");
    report(path);
    report(outFile("second.docx"));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name = u"Вертикальный заземлитель в земле.docx"_s;
    QCOMPARE(rec_->fileNamePresets, (QStringList{QDir(documents).filePath(name),
                                                 QDir(outDir_->path() + u"/reports"_s).filePath(name)}));
    // A remembered folder that is gone no longer counts.
    report(outFile("reports/third.docx"));
    QVERIFY(QDir(outDir_->path() + u"/reports"_s).removeRecursively());
    QTest::mouseClick(tool("btnReport"), Qt::LeftButton); // cancelled
    QCOMPARE(rec_->fileNamePresets.size(), 4);
    QCOMPARE(rec_->fileNamePresets[2], QDir(outDir_->path()).filePath(name));
    QCOMPARE(rec_->fileNamePresets[3], QDir(documents).filePath(name));
}

QTEST_MAIN(TestReportExport)
#include "tst_reportexport.moc"
