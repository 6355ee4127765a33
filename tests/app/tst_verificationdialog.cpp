// The verification dialog offscreen: opened from the help menu, it runs the cases of the
// program's Verification folder, marks the failing one and writes its report.
#include "CalcTestFolder.h"
#include "widgets/common/DialogService.h"
#include "widgets/main/MainForm.h"
#include "widgets/main/VerificationDialog.h"
#include "widgets/report/ReportExport.h"
#include "report/VerificationReport.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
struct SaidMessages : kz::Messenger {
    QStringList messages;
    void showMessage(const QString& text) override { messages << text; }
};

// Two strips 0,02 wide, 15 m apart in 100 Ом·м: Kп 0,68 from Kipp.DB; the second case expects
// another coefficient and fails.
const QByteArray strips = R"([
  {"calculator": "TParalFm", "name": "two strips", "source": "hand calculation",
   "inputs": {"EditRo0": "100", "cmbDiam": "0,02", "SpinKol": "2"}, "expect": {"EditKI": "0,68"}},
  {"calculator": "TParalFm", "name": "two strips, other coefficient", "source": "hand calculation",
   "inputs": {"EditRo0": "100", "cmbDiam": "0,02", "SpinKol": "2"}, "expect": {"EditKI": "0,7"}}
])";
} // namespace

class TestVerificationDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void helpMenuOpensIt();
    void marksTheFailingCase();
    void writesTheReport();
    void namesATableEditedSinceShipped();

private:
    QTableWidget* table(kz::VerificationDialog& d) { return d.findChild<QTableWidget*>(u"tableResults"_s); }
    SaidMessages said_;
    std::unique_ptr<CalcTestFolder> folder_;
};

void TestVerificationDialog::initTestCase() {
    folder_ = std::make_unique<CalcTestFolder>(said_);
    QVERIFY(QDir().mkpath(folder_->path() + u"/Verification"_s));
    QFile cases(folder_->path() + u"/Verification/TParalFm.json"_s);
    QVERIFY(cases.open(QIODevice::WriteOnly));
    cases.write(strips);
}

void TestVerificationDialog::cleanupTestCase() {
    folder_.reset();
}

void TestVerificationDialog::helpMenuOpensIt() {
    kz::MainForm main(*folder_->data);
    auto* help = main.findChild<QMenu*>(u"menuHelp"_s);
    QVERIFY(help);
    QAction* verify = nullptr;
    for (QAction* a : help->actions())
        if (a->text() == u"Проверка расчетов..."_s)
            verify = a;
    QVERIFY(verify);
    kz::ScopedRecordingDialogs dialogs;
    int rows = -1;
    dialogs.onModal = [&](QDialog* d) {
        auto* v = qobject_cast<kz::VerificationDialog*>(d);
        if (!v || v->objectName() != u"VerificationDialog"_s)
            return int(QDialog::Rejected);
        v->runCases();
        rows = table(*v)->rowCount();
        return int(QDialog::Rejected);
    };
    verify->trigger();
    QCOMPARE(rows, 2);
}

void TestVerificationDialog::marksTheFailingCase() {
    kz::VerificationDialog d(*folder_->data);
    d.runCases();
    QTableWidget* t = table(d);
    QCOMPARE(t->rowCount(), 2);
    QCOMPARE(t->columnCount(), int(kz::VerificationDialog::ColumnCount));
    // The failing case comes first.
    const auto cell = [&](int row, int column) { return t->item(row, column)->text(); };
    QCOMPARE(cell(1, kz::VerificationDialog::Calculator),
             u"Параллельно уложенные горизонтальные полосовые электроды."_s);
    QCOMPARE(cell(0, kz::VerificationDialog::Case), u"two strips, other coefficient"_s);
    QCOMPARE(cell(0, kz::VerificationDialog::Source), u"hand calculation"_s);
    QCOMPARE(cell(0, kz::VerificationDialog::Expected), u"0,7"_s);
    QCOMPARE(cell(0, kz::VerificationDialog::Obtained), u"0,68"_s);
    // (0,68 − 0,7) / 0,7 = −2,86 %
    QCOMPARE(cell(0, kz::VerificationDialog::Deviation), u"-2,86 %"_s);
    QCOMPARE(cell(1, kz::VerificationDialog::Passed), u"пройдена"_s);
    QCOMPARE(cell(0, kz::VerificationDialog::Passed), u"не пройдена"_s);
    QVERIFY(cell(0, kz::VerificationDialog::Reason).contains(u"Kipp.DB"_s));
    QCOMPARE(cell(1, kz::VerificationDialog::Reason), QString());
    QVERIFY(t->item(0, 0)->background() != t->item(1, 0)->background());
    const QString state = d.findChild<QLabel*>(u"lblState"_s)->text();
    QVERIFY2(state.startsWith(u"Не прошли проверку 1 из 2 случаев"_s), qPrintable(state));
    QVERIFY(!d.findChild<QPushButton*>(u"btnStop"_s)->isVisibleTo(&d));
    QVERIFY(d.findChild<QPushButton*>(u"btnReport"_s)->isEnabled());
}

void TestVerificationDialog::writesTheReport() {
    kz::VerificationDialog d(*folder_->data);
    d.runCases();
    kz::ScopedRecordingDialogs dialogs;
    kz::forgetReportFolder();
    const QString path = folder_->path() + u"/проверка"_s;
    dialogs.fileNames << path;
    d.findChild<QPushButton*>(u"btnReport"_s)->click();
    QCOMPARE(dialogs.openedDocuments, QStringList{path + u".docx"_s});
    QVERIFY(QFile::exists(path + u".docx"_s));

    QStringList lines;
    for (const kz::ReportParagraph& p :
         kz::verificationReport(d.verification(), QDateTime({2026, 2, 1}, {10, 30})))
        lines << p.text();
    QVERIFY(lines.contains(u"Дата проверки: 01.02.2026 10:30."_s));
    QVERIFY(lines.contains(u"Версия программы: 2.0."_s));
    QVERIFY(lines.contains(u"Проверено случаев: 2, не прошли проверку: 1."_s));
    QVERIFY(lines.contains(u"Kipp.DB - как поставлена."_s));
    QVERIFY(lines.contains(u"KIGZ.DB - как поставлена."_s));
    // The failing case under its heading, then again among all cases.
    const qsizetype failing = lines.indexOf(u"Не прошли проверку:"_s);
    QVERIFY(failing > 0);
    QVERIFY(lines[failing + 1].startsWith(
        u"2. Параллельно уложенные горизонтальные полосовые электроды: "
        u"two strips, other coefficient. Источник: hand calculation. "
        u"Ожидалось: 0,7. Получено: 0,68. Отклонение: -2,86 %. НЕ ПРОЙДЕНА: "_s));
    QVERIFY(lines.last().startsWith(u"2. "_s));
    QVERIFY(lines[lines.size() - 2].endsWith(u"Проверка пройдена."_s));
}

void TestVerificationDialog::namesATableEditedSinceShipped() {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"edit"_s);
        db.setDatabaseName(folder_->path() + u"/Data/KIGZ.DB"_s);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(u"UPDATE KIGZ SET KI = KI + 0.01 WHERE rowid = 1"_s));
        db.close();
    }
    QSqlDatabase::removeDatabase(u"edit"_s);
    kz::VerificationDialog d(*folder_->data);
    d.runCases();
    const QString state = d.findChild<QLabel*>(u"lblState"_s)->text();
    QVERIFY2(
        state.endsWith(u"Справочные таблицы не в поставленном виде: KIGZ.DB (изменена после поставки)."_s),
        qPrintable(state));
}

QTEST_MAIN(TestVerificationDialog)
#include "tst_verificationdialog.moc"
