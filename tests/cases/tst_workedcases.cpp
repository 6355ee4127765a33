// Every calculator's worked cases, kept as data: one file of batch cases per calculator in this
// folder, each case with the outputs and messages it must produce under "expect".
#include "CalcTestFolder.h"
#include "core/batch/CaseRunner.h"
#include "store/StoredFrameData.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(QJsonObject)

namespace {
// What opening the tables says, kept to be shown if it is not nothing.
struct SaidMessages : kz::Messenger {
    QStringList messages;
    void showMessage(const QString& text) override { messages << text; }
};

QString shown(const QJsonValue& v) {
    if (v.isString())
        return v.toString();
    if (v.isUndefined())
        return u"(missing)"_s;
    return QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}
} // namespace

class TestWorkedCases : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void workedCase_data();
    void workedCase();

private:
    struct Row {
        QString title;
        QJsonObject expect;
        QJsonObject result;
    };
    QList<Row> rows_;
    std::unique_ptr<SaidMessages> rec_;
    std::unique_ptr<CalcTestFolder> folder_;
};

void TestWorkedCases::initTestCase() {
    rec_ = std::make_unique<SaidMessages>();
    folder_ = std::make_unique<CalcTestFolder>(*rec_);
    folder_->addTestFoundationGrade();
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(u'\n')));
    // The cases run on the calculators alone, without a window.
    const kz::StoredFrameData frames(*folder_->data);
    kz::CaseRunner runner(frames);

    const QDir dir(QStringLiteral(KELVOR_CASES_DIR));
    const QStringList files = dir.entryList({u"*.json"_s}, QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
        const QByteArray json = file.readAll();
        const QJsonArray cases = QJsonDocument::fromJson(json).array();
        QVERIFY2(!cases.isEmpty(), qPrintable(name + u": not a JSON array of cases"_s));
        // The whole file in one run: the runner ignores "expect".
        bool allRan = false;
        const QJsonArray results = runner.run(json, &allRan);
        QCOMPARE(results.size(), cases.size());
        for (qsizetype i = 0; i < cases.size(); ++i) {
            const QJsonObject c = cases[i].toObject();
            rows_.append({name + u": "_s + c.value(u"name"_s).toString(), c.value(u"expect"_s).toObject(),
                          results[i].toObject()});
        }
    }
}

void TestWorkedCases::cleanupTestCase() {
    folder_.reset();
    rec_.reset();
}

void TestWorkedCases::workedCase_data() {
    QTest::addColumn<QJsonObject>("expect");
    QTest::addColumn<QJsonObject>("result");
    for (const Row& r : std::as_const(rows_))
        QTest::newRow(qPrintable(r.title)) << r.expect << r.result;
}

void TestWorkedCases::workedCase() {
    QFETCH(QJsonObject, expect);
    QFETCH(QJsonObject, result);
    QVERIFY2(!result.contains(u"error"_s), qPrintable(result.value(u"error"_s).toString()));
    QVERIFY2(!expect.isEmpty(), "the case expects nothing");
    const QJsonObject outputs = result.value(u"outputs"_s).toObject();
    for (auto it = expect.begin(); it != expect.end(); ++it) {
        // The result lists warnings only when there are some.
        const QJsonValue actual = it.key() == u"messages"_s   ? result.value(u"messages"_s)
                                  : it.key() == u"warnings"_s ? result.value(u"warnings"_s).toArray()
                                                              : outputs.value(it.key());
        QVERIFY2(!actual.isUndefined(), qPrintable(u"no output "_s + it.key()));
        const QString got = shown(actual);
        const QString want = shown(it.value());
        QVERIFY2(got == want, qPrintable(it.key() + u":\n   got:  "_s + got + u"\n   want: "_s + want));
    }
}

QTEST_MAIN(TestWorkedCases)
#include "tst_workedcases.moc"
