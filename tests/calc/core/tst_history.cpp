#include "CalcTestFolder.h"
#include "core/calculators/rods/BuriedRod.h"
#include "core/model/HistoryMapping.h"
#include "store/HistoryStore.h"
#include "store/DataModule.h"
#include "core/common/Messenger.h"
#include "core/common/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

class Recorder : public Messenger {
public:
    void showMessage(const QString& text) override { messages << text; }
    QStringList messages;
};

QMap<QString, QString> rodRecord(const QString& length) {
    return {{QStringLiteral("Grunt"), u"суглинок"_s},
            {QStringLiteral("P"), QStringLiteral("100")},
            {QStringLiteral("KP"), QStringLiteral("1,5")},
            {QStringLiteral("Construct"), u"сталь круглая"_s},
            {QStringLiteral("Razmer"), QStringLiteral("0,016")},
            {QStringLiteral("T"), QStringLiteral("0,7")},
            {QStringLiteral("L"), length},
            {QStringLiteral("N"), QStringLiteral("0")},
            {QStringLiteral("R"), QStringLiteral("21,81")}};
}

HistoryLayout layoutOfKind(int kind) {
    HistoryLayout layout = buriedrod::descriptor().history;
    layout.kindCode = kind;
    return layout;
}
} // namespace

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void presetName_data();
    void presetName();
    void rowLookup_data();
    void rowLookup();
    void copyBufferStartsEmpty();

    void sameNameAnyCaseOverwrites();
    void otherKindIsNeverOverwritten();
    void fieldsNotWrittenKeepTheirContents();
    void namesAreStoredAndFoundExactly_data();
    void namesAreStoredAndFoundExactly();
    void tooLongNameIsKeptAtFieldSize();
    void textsComeBackInGeneralFormat();
    void tableKeepsShowingTheSavedKind();
    void valuesThatWouldNotLoadBackAreRefused_data();
    void valuesThatWouldNotLoadBackAreRefused();

private:
    int rowsOfKind(int kind);
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<DataModule> data_;
    Recorder messages_;
    DataTable* hist_ = nullptr;
};

void TestHistory::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QDir().mkpath(dir_->filePath(QStringLiteral("Data")));
    const QString from = QStringLiteral(KELVOR_BIN_DIR "/Data/hist1.db");
    QVERIFY2(QFile::copy(from, dir_->filePath(QStringLiteral("Data/hist1.db"))), qPrintable(from));
    QFile::setPermissions(dir_->filePath(QStringLiteral("Data/hist1.db")),
                          QFile::ReadOwner | QFile::WriteOwner);
    setApplicationFolder(dir_->path() + QLatin1Char('/'));
    data_ = std::make_unique<DataModule>();
    hist_ = data_->table(QStringLiteral("TableHist1"));
    QVERIFY(hist_);
    hist_->setReporter(&messages_);
    emptyHistory(*hist_);
}

void TestHistory::cleanup() {
    data_.reset();
    dir_.reset();
    messages_.messages.clear();
}

int TestHistory::rowsOfKind(int kind) {
    openHistoryOfKind(*hist_, dataDir(), kind);
    const int n = hist_->recordCount();
    hist_->close();
    return n;
}

void TestHistory::presetName_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("preset");
    QTest::newRow("rod") << u"Вертикальный заземлитель в земле."_s
                         << u"Вертикальный заземлитель в земле 1."_s;
    QTest::newRow("no full stop") << u"Трубопровод в земле"_s << u"Трубопровод в земле 1."_s;
}

void TestHistory::presetName() {
    QFETCH(QString, caption);
    QFETCH(QString, preset);
    QCOMPARE(historyPresetName(caption), preset);
}

void TestHistory::rowLookup_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row");
    QTest::newRow("exact") << 4 << u"Стержень"_s << 1;
    QTest::newRow("other case, Cyrillic") << 4 << u"СТЕРЖЕНЬ"_s << 1;
    QTest::newRow("other kind only") << 4 << u"Кольцо"_s << -1;
    QTest::newRow("the kind of the row") << 8 << u"кольцо"_s << 0;
    QTest::newRow("blank matters") << 4 << u"Стержень "_s << -1;
    QTest::newRow("second of two kinds") << 6 << u"стержень"_s << 2;
}

void TestHistory::rowLookup() {
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(int, row);
    const QList<HistoryRowKey> rows{{8, u"Кольцо"_s}, {4, u"Стержень"_s}, {6, u"Стержень"_s}};
    QCOMPARE(findHistoryRow(rows, kind, name), row);
}

void TestHistory::copyBufferStartsEmpty() {
    CopyBuffer buffer;
    QVERIFY(buffer.isEmpty());
    buffer.store({});
    QVERIFY(!buffer.isEmpty()); // a copy of nothing is still a copy
    buffer.store({{QStringLiteral("EditDlina"), QStringLiteral("5")}});
    QCOMPARE(buffer.texts().value(QStringLiteral("EditDlina")), QStringLiteral("5"));
}

void TestHistory::sameNameAnyCaseOverwrites() {
    const HistoryLayout layout = buriedrod::descriptor().history;
    QVERIFY(saveHistoryRecord(*hist_, dataDir(), layout, u"Опора ВЛ"_s, rodRecord(QStringLiteral("5"))));
    QVERIFY(saveHistoryRecord(*hist_, dataDir(), layout, u"ОПОРА вл"_s, rodRecord(QStringLiteral("3"))));
    QCOMPARE(rowsOfKind(4), 1);
    openHistoryOfKind(*hist_, dataDir(), 4);
    QCOMPARE(hist_->asString(QStringLiteral("Name")),
             u"ОПОРА вл"_s); // the second save wrote its own spelling
    QCOMPARE(hist_->text(QStringLiteral("L")), QStringLiteral("3"));
    QVERIFY(messages_.messages.isEmpty());
}

void TestHistory::otherKindIsNeverOverwritten() {
    QVERIFY(
        saveHistoryRecord(*hist_, dataDir(), layoutOfKind(8), u"Набор"_s, rodRecord(QStringLiteral("7"))));
    QVERIFY(
        saveHistoryRecord(*hist_, dataDir(), layoutOfKind(4), u"набор"_s, rodRecord(QStringLiteral("5"))));
    QCOMPARE(rowsOfKind(8), 1);
    QCOMPARE(rowsOfKind(4), 1);
    openHistoryOfKind(*hist_, dataDir(), 8);
    QCOMPARE(hist_->text(QStringLiteral("L")), QStringLiteral("7"));
}

void TestHistory::fieldsNotWrittenKeepTheirContents() {
    const HistoryLayout layout = buriedrod::descriptor().history;
    QVERIFY(
        saveHistoryRecord(*hist_, dataDir(), layout, QStringLiteral("A"), rodRecord(QStringLiteral("5"))));
    // Another writer filled a field the rod does not use.
    openHistoryOfKind(*hist_, dataDir(), 4);
    QVERIFY(hist_->edit());
    QVERIFY(hist_->setText(QStringLiteral("S"), QStringLiteral("12,5")));
    QVERIFY(hist_->post());
    hist_->close();
    QVERIFY(
        saveHistoryRecord(*hist_, dataDir(), layout, QStringLiteral("a"), rodRecord(QStringLiteral("4"))));
    openHistoryOfKind(*hist_, dataDir(), 4);
    QCOMPARE(hist_->text(QStringLiteral("S")), QStringLiteral("12,5"));
    QCOMPARE(hist_->text(QStringLiteral("L")), QStringLiteral("4"));
    // A new row leaves them empty.
    QVERIFY(
        saveHistoryRecord(*hist_, dataDir(), layout, QStringLiteral("B"), rodRecord(QStringLiteral("5"))));
    openHistoryOfKind(*hist_, dataDir(), 4);
    QVERIFY(hist_->locate(QStringLiteral("Name"), QStringLiteral("B")));
    QVERIFY(hist_->isNull(QStringLiteral("S")));
    QVERIFY(hist_->isNull(QStringLiteral("D1")));
}

void TestHistory::namesAreStoredAndFoundExactly_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("double quotes") << u"Стержень \"А\""_s;
    QTest::newRow("single quote") << u"Опора 'Б' ; DROP TABLE hist1 --"_s;
    QTest::newRow("percent and underscore") << u"100% _ сталь"_s;
    QTest::newRow("brackets and filter syntax") << u"[KodTip]='5' and x"_s;
    QTest::newRow("150 characters") << QString(150, QChar(0x0416));
}

void TestHistory::namesAreStoredAndFoundExactly() {
    QFETCH(QString, name);
    const HistoryLayout layout = buriedrod::descriptor().history;
    QVERIFY(saveHistoryRecord(*hist_, dataDir(), layout, name, rodRecord(QStringLiteral("5"))));
    QVERIFY(saveHistoryRecord(*hist_, dataDir(), layout, u"сосед"_s, rodRecord(QStringLiteral("6"))));
    QVERIFY(saveHistoryRecord(*hist_, dataDir(), layout, name, rodRecord(QStringLiteral("2"))));
    QCOMPARE(rowsOfKind(4), 2);
    openHistoryOfKind(*hist_, dataDir(), 4);
    QVERIFY(hist_->locate(QStringLiteral("Name"), name));
    QCOMPARE(hist_->asString(QStringLiteral("Name")), name);
    QCOMPARE(hist_->text(QStringLiteral("L")), QStringLiteral("2"));
}

void TestHistory::tooLongNameIsKeptAtFieldSize() {
    const HistoryLayout layout = buriedrod::descriptor().history;
    const QString name = QString(149, QLatin1Char('x')) + QStringLiteral("yz");
    QVERIFY(saveHistoryRecord(*hist_, dataDir(), layout, name, rodRecord(QStringLiteral("5"))));
    QVERIFY(saveHistoryRecord(*hist_, dataDir(), layout, name, rodRecord(QStringLiteral("6"))));
    QCOMPARE(rowsOfKind(4), 1);
    openHistoryOfKind(*hist_, dataDir(), 4);
    QCOMPARE(hist_->asString(QStringLiteral("Name")), name.left(150));
    QCOMPARE(hist_->text(QStringLiteral("L")), QStringLiteral("6"));
}

void TestHistory::textsComeBackInGeneralFormat() {
    const HistoryLayout layout = buriedrod::descriptor().history;
    auto record = rodRecord(QStringLiteral("2,50"));
    record[QStringLiteral("R")].clear(); // saved with no result shown
    QVERIFY(saveHistoryRecord(*hist_, dataDir(), layout, QStringLiteral("G"), record));
    openHistoryOfKind(*hist_, dataDir(), 4);
    const auto texts = currentHistoryTexts(*hist_, layout);
    QCOMPARE(texts.value(QStringLiteral("L")), QStringLiteral("2,5"));
    QCOMPARE(texts.value(QStringLiteral("KP")), QStringLiteral("1,5"));
    QCOMPARE(texts.value(QStringLiteral("Razmer")), QStringLiteral("0,016")); // a text field, as saved
    QCOMPARE(texts.value(QStringLiteral("N")), QStringLiteral("0"));
    QCOMPARE(texts.value(QStringLiteral("R")), QString());
    QCOMPARE(texts.value(QStringLiteral("Grunt")), u"суглинок"_s);
}

void TestHistory::tableKeepsShowingTheSavedKind() {
    QVERIFY(saveHistoryRecord(*hist_, dataDir(), layoutOfKind(4), QStringLiteral("X"),
                              rodRecord(QStringLiteral("5"))));
    QVERIFY(!hist_->isOpen());
    QVERIFY(hist_->filtered());
    QCOMPARE(hist_->filter(), QStringLiteral("[KodTip]='4'"));
}

void TestHistory::valuesThatWouldNotLoadBackAreRefused_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("input");
    // Stored as infinity, it could not be loaded.
    QTest::newRow("length of 1 and 400 zeros")
        << QStringLiteral("L") << QStringLiteral("1") + QString(400, QLatin1Char('0')) << u"Длина стержня, м"_s;
    // Stored as 0.
    QTest::newRow("coefficient 1E-400") << QStringLiteral("KP") << QStringLiteral("0,") + QString(399, QLatin1Char('0')) + QLatin1Char('1')
                                        << u"Коэффициент поправки"_s;
}

void TestHistory::valuesThatWouldNotLoadBackAreRefused() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, input);
    QMap<QString, QString> record = rodRecord(QStringLiteral("5"));
    record.insert(field, text);
    QVERIFY(!saveHistoryRecord(*hist_, dataDir(), layoutOfKind(4), u"Набор"_s, record));
    QCOMPARE(rowsOfKind(4), 0);
    QCOMPARE(messages_.messages.size(), 1);
    const QString& m = messages_.messages.first();
    QVERIFY2(m.contains(u"параметра \""_s + input + u"\""_s), qPrintable(m));
    QVERIFY2(m.size() < 300, qPrintable(m)); // the entry is echoed cut
    // What survives the round trip is still saved.
    record.insert(field, QStringLiteral("150,000000000000001"));
    QVERIFY(saveHistoryRecord(*hist_, dataDir(), layoutOfKind(4), u"Набор"_s, record));
    QCOMPARE(rowsOfKind(4), 1);
}

QTEST_APPLESS_MAIN(TestHistory)
#include "tst_history.moc"
