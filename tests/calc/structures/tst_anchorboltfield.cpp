#include "../core/CalcWindowFixture.h"
#include "CalculatorWindowOf.h"
#include "core/calculators/structures/AnchorBoltField.h"
#include "core/common/NumberText.h"
#include "core/common/Paths.h"
#include "store/BoltFieldHistoryStore.h"
#include "store/DataModule.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "widgets/calculator/HistoryLoadDialog.h"
#include "widgets/calculator/RowGrid.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "app/commands/Batch.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace Qt::StringLiterals;
using namespace kz;

using TMKFundFm = CalculatorWindowOf<&anchorboltfield::calculator>;

class TestAnchorBoltField : public QObject, CalcWindowFixture<TMKFundFm> {
    Q_OBJECT
private slots:
    void gridTest_data();
    void gridTest();
    void coefficient_data();
    void coefficient();
    void formula_data();
    void formula();

    void init() { open(); }
    void cleanup() { close(); }
    void gridFollowsTheBoltCount();
    void testButtonShowsItsChanges();
    void keysOnlyInTheDistances();
    void selectionRunNeedsTheGridTest();
    void windowComputesTheWorkedCase();
    void apparentDiameterOfZeroIsRefused();
    void batchSetsTheGridByItsRows();
    void savingTheSameNameReplacesItsDistances();
    void loaderDeletesASetWithItsDistances();
    void aFailedSaveWritesNothing();

private:
    RowGrid* grid() { return win_->rowGrid(u"StringGrid1"_s); }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    // The worked case: one bolt 0,6 m from the first, four foundations, ρэ = 120 over 100 m².
    InputTexts workedCase() const {
        return {{u"EditA"_s, {}},       {u"EditB"_s, {}},          {u"EditS"_s, u"100"_s},
                {u"EditL"_s, u"0,6"_s}, {u"EditDb"_s, u"0,042"_s}, {u"SpinNb"_s, u"2"_s},
                {u"SpinNf"_s, u"4"_s},  {u"EditPb"_s, u"200"_s},   {u"EditDbb"_s, u"0,3"_s},
                {u"EditP1"_s, u"80"_s}, {u"EditPekv"_s, u"120"_s}, {u"StringGrid1"_s, u"||0,6"_s}};
    }
    int count(const QString& sql, const QVariant& bind = {});
};

void TestAnchorBoltField::gridTest_data() {
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString ok;
    QTest::newRow("only Xi moves into Zi") << u"1,2||"_s << u"||1,2"_s << ok << ok;
    QTest::newRow("only Yi moves into Zi") << u"|0,7|"_s << u"||0,7"_s << ok << ok;
    QTest::newRow("Xi and Yi empty the Zi typed") << u"0,3|0,4|9"_s << u"0,3|0,4|"_s << ok << ok;
    QTest::newRow("Xi 0 and Yi 0 refused")
        << u"0|0|"_s << u"0|0|"_s
        << u"В одной из ячеек строки в столбцах X, Y должно быть ненулевое значение."_s
        << u"StringGrid1:0:1"_s;
    QTest::newRow("only Xi 0") << u"0||"_s << u"0||"_s << u"В ячейке должно быть ненулевое значение."_s
                               << u"StringGrid1:0:1"_s;
    QTest::newRow("only Zi 0") << u"||0"_s << u"||0"_s << u"В ячейке должно быть ненулевое значение."_s
                               << u"StringGrid1:0:3"_s;
    QTest::newRow("an empty row, the row before moved")
        << u"1||;||"_s << u"||1;||"_s
        << u"Заполнение хотя бы одной из ячеек строки в столбцах 2 .. 4 (Xi, Yi, Zi) обязательно."_s
        << u"StringGrid1:1:1"_s;
    QTest::newRow("no number, before any move")
        << u"1||;|x|"_s << u"1||;|x|"_s << u"Ошибочное значение для числового параметра."_s
        << u"StringGrid1:1:2"_s;
}

void TestAnchorBoltField::gridTest() {
    QFETCH(QString, rows);
    const anchorboltfield::GridTest t = anchorboltfield::testGrid(parseGridRows(rows, anchorboltfield::distanceColumns));
    QTEST(gridRowsText(t.rows), "after");
    QTEST(t.failure ? t.failure->message : QString(), "message");
    QTEST(t.failure ? t.failure->focus : QString(), "focus");
}

void TestAnchorBoltField::coefficient_data() {
    QTest::addColumn<QString>("rows");
    QTest::addColumn<double>("length");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("kp");
    // s = √(0,36 + 0,36) = 0,8485; (0,6 + s)/(s − 0,6) = 5,828
    QTest::newRow("one bolt at 0,6 from a 0,6 m bolt") << u"||0,6"_s << 0.6 << u"||0,6|5,83"_s << u"5,83"_s;
    // Z2 = √(0,09 + 0,16) = 0,5: K2 = (0,6 + 0,781)/(0,781 − 0,6) = 7,63; K3 = (0,6 + 0,7211)/0,1211 = 10,91
    QTest::newRow("3-4-5 triangle and a bolt at 0,4")
        << u"0,3|0,4|;||0,4"_s << 0.6 << u"0,3|0,4|0,50|7,63;||0,4|10,91"_s << u"83,24"_s;
}

void TestAnchorBoltField::coefficient() {
    QFETCH(QString, rows);
    QFETCH(double, length);
    const anchorboltfield::Coefficient k =
        anchorboltfield::mutualInfluence(parseGridRows(rows, anchorboltfield::distanceColumns), length);
    QVERIFY(!k.failure);
    QTEST(gridRowsText(k.rows), "after");
    QTEST(k.kpText, "kp");
}

void TestAnchorBoltField::formula_data() {
    QTest::addColumn<double>("bolts");
    QTest::addColumn<double>("foundations");
    QTest::addColumn<double>("area");
    QTest::addColumn<double>("pekv");
    QTest::addColumn<double>("kp");
    QTest::addColumn<QStringList>("results"); // rб, Dк, Rб, Dэ, C, R
    // ρ1 = 80, ρб = 200, Lб = 0,6, dб = 0,042, Dб = 0,3 in both:
    // rб = 21,2207·ln 8 + 53,0516·ln(57,143/8) = 44,127 + 104,305 = 148,43
    // Dк = 2,4/e^(3,76991·148,43/80) = 2,4/1091,1 = 0,0022
    // nб = 2, Kп = 5,83: Rб = (10,6103·ln 5,83 + 21,2207·ln(2,4/0,0022))/2 = (18,706 + 148,433)/2 = 83,57
    // Dэ = 2,4/e^(3,76991·83,57/80) = 2,4/51,32 = 0,05; C = (ln 96 − 1 + 1·2,74·0,6/10)·10/(3,76991·4)
    //    = 3,72875·0,66315 = 2,473; R = 2,473·120/10 = 29,68
    QTest::newRow("two bolts, four foundations")
        << 2.0 << 4.0 << 100.0 << 120.0 << 5.83
        << QStringList{u"148,43"_s, u"0,0022"_s, u"83,57"_s, u"0,05"_s, u"2,473"_s, u"29,68"_s};
    // nб = 3, Kп = 83,24: Rб = (10,6103·4,4217 + 148,433)/3 = 65,12; Dэ = 2,4/e^3,0688 = 0,11;
    // C = (ln 43,636 − 1)·20/3,76991 = 2,7759·5,3052 = 14,727; R = 14,727·150/20 = 110,45
    QTest::newRow("three bolts, one foundation")
        << 3.0 << 1.0 << 400.0 << 150.0 << 83.24
        << QStringList{u"148,43"_s, u"0,0022"_s, u"65,12"_s, u"0,11"_s, u"14,727"_s, u"110,45"_s};
}

void TestAnchorBoltField::formula() {
    QFETCH(double, bolts);
    QFETCH(double, foundations);
    QFETCH(double, area);
    QFETCH(double, pekv);
    QFETCH(double, kp);
    anchorboltfield::Values v;
    v.p1 = 80;
    v.pb = 200;
    v.length = 0.6L;
    v.boltDiameter = 0.042L;
    v.concreteDiameter = 0.3L;
    v.bolts = bolts;
    v.foundations = foundations;
    v.area = area;
    v.pekv = pekv;
    v.kp = kp;
    const auto r = anchorboltfield::ComputeResistance(v);
    QVERIFY(r);
    QTEST((QStringList{formatGeneral(r->rb), formatGeneral(r->dk), formatGeneral(r->sumRb),
                       formatGeneral(r->de), formatGeneral(r->c), formatGeneral(r->r)}),
          "results");
}

void TestAnchorBoltField::gridFollowsTheBoltCount() {
    QCOMPARE(grid()->rowCount(), 7);
    QCOMPARE(grid()->item(0, 0)->text(), u"2"_s);
    QCOMPARE(grid()->item(6, 0)->text(), u"8"_s);
    win_->geometrySpin(u"SpinNb"_s)->setValue(4);
    QCOMPARE(grid()->rowCount(), 3);
    QCOMPARE(grid()->item(2, 0)->text(), u"4"_s);
    // The rows that stay keep their distances.
    QCOMPARE(win_->inputText(u"StringGrid1"_s), u"0,2||;0,4||;0,6||"_s);
}

void TestAnchorBoltField::testButtonShowsItsChanges() {
    win_->setInputText(u"StringGrid1"_s, u"1,2||;0|0,6|"_s);
    click("btnTest");
    QCOMPARE(rec_->messages, QStringList{u"Ошибок не найдено."_s});
    QCOMPARE(win_->inputText(u"StringGrid1"_s), u"||1,2;0|0,6|"_s);

    rec_->messages.clear();
    win_->setInputText(u"StringGrid1"_s, u"1||;0|0|"_s);
    click("btnTest");
    QCOMPARE(rec_->messages,
             QStringList{u"В одной из ячеек строки в столбцах X, Y должно быть ненулевое значение."_s});
    QCOMPARE(grid()->currentRow(), 1);
    QCOMPARE(grid()->currentColumn(), 1);
    QCOMPARE(win_->inputText(u"StringGrid1"_s), u"||1;0|0|"_s);

    rec_->messages.clear();
    click("btnClear");
    QCOMPARE(win_->inputText(u"StringGrid1"_s), u"||;||"_s);
}

void TestAnchorBoltField::keysOnlyInTheDistances() {
    win_->calculate(true);
    QVERIFY(!win_->EditVS1()->text().isEmpty());
    grid()->setFocus(Qt::OtherFocusReason);
    grid()->setCurrentCell(0, 4);
    QTest::keyClick(grid(), Qt::Key_5);
    grid()->setCurrentCell(0, 1);
    QTest::keyClick(grid(), Qt::Key_A);
    QCOMPARE(rec_->beeps, 2);
    QCOMPARE(grid()->item(0, 4)->text(), u"37,97"_s);
    // A digit in a distance starts editing it; the result of the old distances goes.
    QTest::keyClick(grid(), Qt::Key_7);
    auto* editor = grid()->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    QCOMPARE(editor->text(), u"7"_s);
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(grid()->item(0, 1)->text(), u"7"_s);
    QVERIFY(win_->EditVS1()->text().isEmpty());
    QVERIFY(rec_->messages.isEmpty());
}

void TestAnchorBoltField::selectionRunNeedsTheGridTest() {
    win_->geometrySpin(u"SpinNb"_s)->setValue(2);
    win_->setInputText(u"StringGrid1"_s, u"0|0|"_s);
    win_->runSelection();
    QCOMPARE(rec_->messages,
             QStringList{u"В одной из ячеек строки в столбцах X, Y должно быть ненулевое значение."_s});
    QVERIFY(rec_->modalWindows.isEmpty());
}

void TestAnchorBoltField::windowComputesTheWorkedCase() {
    win_->applyInputs(workedCase());
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(u'\n')));
    QCOMPARE(win_->EditVS1()->text(), u"29,68"_s);
    QCOMPARE(win_->inputText(u"EditKp"_s), u"5,83"_s);
    QCOMPARE(win_->inputText(u"EditDk"_s), u"0,0022"_s);
    QCOMPARE(grid()->item(0, 4)->text(), u"5,83"_s);
    const QString order = win_->Memo1()->toPlainText();
    QVERIFY(order.contains(u"K2 = [Корень(0,6*0,6+0,6*0,6)+0,6] / [Корень(0,6*0,6+0,6*0,6)-0,6] = 5,83;"_s));
    QVERIFY(order.contains(u"Rр = 2,473*120/Корень(100) = 29,68 Ом."_s));
    // The count only lays the grid out: the result it no longer belongs to goes.
    autoOn();
    win_->geometrySpin(u"SpinNb"_s)->setValue(3);
    QVERIFY(win_->EditVS1()->text().isEmpty());
    QVERIFY(rec_->messages.isEmpty());
}

void TestAnchorBoltField::apparentDiameterOfZeroIsRefused() {
    InputTexts texts = workedCase();
    texts.insert(u"EditP1"_s, u"10"_s);
    texts.insert(u"EditPb"_s, u"2000"_s);
    win_->applyInputs(texts);
    QCOMPARE(rec_->messages, QStringList{anchorboltfield::apparentDiameterMessage()});
    QVERIFY(win_->EditVS1()->text().isEmpty());
}

void TestAnchorBoltField::batchSetsTheGridByItsRows() {
    registerBuiltCalculators(CalculatorRegistry::instance());
    CalculatorEnvironment env{*folder_->data};
    BatchRunner runner(env.data);
    const QByteArray cases = R"([
        {"name": "rows", "calculator": "TMKFundFm",
         "inputs": {"StringGrid1": [["", "", "0,6"]], "SpinNb": "2", "SpinNf": "4", "EditPekv": "120"}},
        {"name": "text", "calculator": "TMKFundFm",
         "inputs": {"StringGrid1": "0,6||", "SpinNb": "2", "SpinNf": "4", "EditPekv": "120"}},
        {"name": "bad", "calculator": "TMKFundFm", "inputs": {"StringGrid1": [[1, 2]]}}
    ])";
    bool allRan = true;
    const QJsonArray r = runner.run(cases, &allRan);
    QVERIFY(!allRan);
    for (int i : {0, 1}) {
        const QJsonObject out = r[i].toObject().value(u"outputs"_s).toObject();
        QCOMPARE(out.value(u"EditVS1"_s).toString(), u"29,68"_s);
        // Ki = (√(0,6² + 0,6²) + 0,6)/(√(0,6² + 0,6²) − 0,6) = 5,828: the grid as the window shows it.
        QCOMPARE(out.value(u"StringGrid1"_s).toString(), u"||0,6|5,83"_s);
    }
    QVERIFY(r[2].toObject().value(u"error"_s).toString().contains(u"StringGrid1"_s));
}

int TestAnchorBoltField::count(const QString& sql, const QVariant& bind) {
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"tst_anchorboltfield"_s);
    int n = -1;
    {
        db.setDatabaseName(dataDir() + u"histmk0.db"_s);
        db.open();
        QSqlQuery attach(db);
        attach.exec(u"ATTACH DATABASE '"_s + dataDir() + u"histmk1.db' AS d"_s);
        QSqlQuery q(db);
        q.prepare(sql);
        if (bind.isValid())
            q.addBindValue(bind);
        if (q.exec() && q.next())
            n = q.value(0).toInt();
        db.close();
    }
    db = {};
    QSqlDatabase::removeDatabase(u"tst_anchorboltfield"_s);
    return n;
}

void TestAnchorBoltField::savingTheSameNameReplacesItsDistances() {
    win_->applyInputs(workedCase());
    rec_->inputs << std::optional<QString>(u"Поле 1"_s);
    win_->ButtonFrame1()->btnSave()->click();
    QCOMPARE(rec_->prompts.size(), 1);
    QCOMPARE(count(u"SELECT COUNT(*) FROM d.histmk1"_s), 1);

    // Three bolts now, saved under the same name in other letters: asked first, naming the set kept.
    win_->geometrySpin(u"SpinNb"_s)->setValue(3);
    win_->setInputText(u"StringGrid1"_s, u"0,3|0,4|;0,4||"_s);
    win_->calculate(true);
    rec_->inputs << std::optional<QString>(u"ПОЛЕ 1"_s);
    rec_->answers << QMessageBox::No;
    win_->ButtonFrame1()->btnSave()->click();
    const QString question = u"Набор параметров \"Поле 1\" уже сохранен. Заменить его?"_s;
    QCOMPARE(rec_->questions, QStringList{question});
    QCOMPARE(count(u"SELECT Nb FROM histmk0 WHERE Name = ?"_s, u"Поле 1"_s), 2);
    rec_->inputs << std::optional<QString>(u"ПОЛЕ 1"_s);
    rec_->answers << QMessageBox::Yes;
    win_->ButtonFrame1()->btnSave()->click();
    QCOMPARE(rec_->questions, QStringList(2, question));
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(u'\n')));
    QCOMPARE(count(u"SELECT COUNT(*) FROM histmk0"_s), 1);
    QCOMPARE(count(u"SELECT Nb FROM histmk0 WHERE Name = ?"_s, u"ПОЛЕ 1"_s), 3);
    QCOMPARE(count(u"SELECT COUNT(*) FROM d.histmk1"_s), 2);

    // Loading brings the set and its distances back, the grid laid out to them.
    win_->applyInputs(workedCase());
    rec_->onModal = [](QDialog* d) {
        auto* loader = qobject_cast<HistoryLoadDialog*>(d);
        return loader && loader->btnOK()->isEnabled() ? int(QDialog::Accepted) : int(QDialog::Rejected);
    };
    win_->ButtonFrame1()->btnLoad()->click();
    QCOMPARE(win_->inputText(u"SpinNb"_s), u"3"_s);
    QCOMPARE(grid()->rowCount(), 2);
    QCOMPARE(win_->inputText(u"StringGrid1"_s), u"0,3|0,4|0,50;||0,4"_s);
    QCOMPARE(win_->inputText(u"EditKp"_s), u"83,24"_s);
}

void TestAnchorBoltField::loaderDeletesASetWithItsDistances() {
    for (const char* name : {"A", "B"}) {
        win_->applyInputs(workedCase());
        rec_->inputs << std::optional<QString>(QString::fromLatin1(name));
        win_->ButtonFrame1()->btnSave()->click();
    }
    QCOMPARE(count(u"SELECT COUNT(*) FROM d.histmk1"_s), 2);
    rec_->onModal = [this](QDialog* d) {
        auto* loader = qobject_cast<HistoryLoadDialog*>(d);
        if (!loader)
            return int(QDialog::Rejected);
        loader->show();
        loader->table().first();
        loader->navigatorButton(u"nbDelete"_s)->click();
        // Sets come only from the calculator.
        loader->table().append();
        loader->hide();
        return int(QDialog::Rejected);
    };
    win_->ButtonFrame1()->btnLoad()->click();
    QCOMPARE(
        rec_->messages,
        QStringList{
            u"Ошибка. Добавление набора параметров заземляющего устройства в ручном режиме запрещено."_s});
    QCOMPARE(count(u"SELECT COUNT(*) FROM histmk0"_s), 1);
    QCOMPARE(count(u"SELECT COUNT(*) FROM d.histmk1"_s), 1);
    QCOMPARE(count(u"SELECT COUNT(*) FROM d.histmk1 WHERE Kod0 NOT IN (SELECT Kod FROM histmk0)"_s), 0);
}

void TestAnchorBoltField::aFailedSaveWritesNothing() {
    BoltFieldSet set;
    set.name = u"Поле"_s;
    set.fields = {{u"S"_s, u"100"_s}, {u"Nb"_s, u"3"_s}};
    set.distances = {{u"1"_s, {}, {}}, {u"2"_s, {}, {}}};
    QString error;
    QVERIFY2(saveBoltFieldSet(dataDir(), set, &error), qPrintable(error));
    {
        // A detail row the file refuses midway through the second save.
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"tst_trigger"_s);
        db.setDatabaseName(dataDir() + u"histmk1.db"_s);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(u"CREATE TRIGGER refuse BEFORE INSERT ON histmk1 WHEN NEW.Xi = 666 "
                       u"BEGIN SELECT RAISE(ABORT, 'refused'); END"_s));
        db.close();
    }
    QSqlDatabase::removeDatabase(u"tst_trigger"_s);

    set.fields.insert(u"S"_s, u"200"_s);
    set.distances = {{u"5"_s, {}, {}}, {u"666"_s, {}, {}}};
    QVERIFY(!saveBoltFieldSet(dataDir(), set, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(count(u"SELECT S FROM histmk0"_s), 100);
    QCOMPARE(count(u"SELECT COUNT(*) FROM d.histmk1"_s), 2);
    QCOMPARE(count(u"SELECT COUNT(*) FROM d.histmk1 WHERE Xi = 5"_s), 0);

    set.name = u"Другое"_s;
    QVERIFY(!saveBoltFieldSet(dataDir(), set, &error));
    QCOMPARE(count(u"SELECT COUNT(*) FROM histmk0"_s), 1);
}

QTEST_MAIN(TestAnchorBoltField)
#include "tst_anchorboltfield.moc"
