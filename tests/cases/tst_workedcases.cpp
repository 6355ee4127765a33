// Every calculator's worked cases, kept as data: one file of batch cases per calculator in this
// folder, each with the outputs and messages it must produce under "expect" and where they come
// from under "source". The cases run through the verification the program offers its users, so
// the test and the program hold the results to one rule.
#include "CalcTestFolder.h"
#include "core/verification/Verification.h"
#include "store/StoredFrameData.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// What opening the tables says, kept to be shown if it is not nothing.
struct SaidMessages : kz::Messenger {
    QStringList messages;
    void showMessage(const QString& text) override { messages << text; }
};
} // namespace

class TestWorkedCases : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void workedCase_data();
    void workedCase();

private:
    kz::VerificationRun run_;
};

void TestWorkedCases::initTestCase() {
    SaidMessages said;
    CalcTestFolder folder(said);
    folder.addTestFoundationGrade();
    QVERIFY2(said.messages.isEmpty(), qPrintable(said.messages.join(u'\n')));
    const kz::StoredFrameData frames(*folder.data);
    run_ = kz::runVerification(QStringLiteral(KELVOR_CASES_DIR), frames);
    QVERIFY2(run_.problem.isEmpty(), qPrintable(run_.problem));
    QCOMPARE(run_.rows.size(), run_.total);
}

void TestWorkedCases::workedCase_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < run_.rows.size(); ++i)
        QTest::newRow(qPrintable(run_.rows[i].file + u": "_s + run_.rows[i].name)) << i;
}

void TestWorkedCases::workedCase() {
    QFETCH(int, row);
    const kz::VerificationRow& r = run_.rows[row];
    // Every case names where its expected values come from.
    QVERIFY2(r.warnings.isEmpty(), qPrintable(r.warnings.join(u'\n')));
    QVERIFY2(r.passed, qPrintable(u"\n   "_s + r.failureText().replace(u"; "_s, u"\n   "_s)));
}

QTEST_MAIN(TestWorkedCases)
#include "tst_workedcases.moc"
