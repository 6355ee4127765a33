#include "../core/CalcWindowFixture.h"
#include "CalculatorWindowOf.h"
#include "app/commands/Batch.h"
#include "core/calculators/CalculatorList.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "widgets/calculator/TableRowChoice.h"
#include "core/calculators/structures/ConcreteFoundations.h"
#include "store/DataModule.h"
#include "core/common/NumberText.h"
#include "core/rules/SoilRules.h"
#include "widgets/reference/RadioGroup.h"
#include "widgets/reference/TableGrid.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace kz;
using namespace Qt::StringLiterals;

namespace kz {
using TFundForm = CalculatorWindowOf<&concretefoundations::calculator>;
}

namespace {
class KiTable : public CoefficientTables {
public:
    CoefficientRows rows(const QString& table, const QStringList&) const override {
        if (table != "kifund.db"_L1)
            return {};
        return {{1, 1}, {2, 0.77}, {3, 0.59}, {5, 0.63}};
    }
};
const KiTable kiTable;

// Type, scheme, p0, Kп, l, then the grade's h, c and, for the column-and-slab type, a, b, d.
CalcInputs foundationInputs(const QStringList& v) {
    CalcInputs in;
    in.texts = {{u"ComboGrunt"_s, u"суглинок"_s},
                {u"EditRo0"_s, v[2]},
                {u"EditPKV"_s, v[3]},
                {u"rdgTip"_s, v[0]},
                {u"Schema"_s, v[1]},
                {u"EditGlub"_s, v[4]},
                {u"DBGrid2"_s, u"T-1"_s},
                {u"DBGrid2.h"_s, v[5]},
                {u"DBGrid2.c"_s, v[6]}};
    if (v.size() > 7) {
        in.texts.insert(u"DBGrid2.a"_s, v[7]);
        in.texts.insert(u"DBGrid2.b"_s, v[8]);
        in.texts.insert(u"DBGrid2.d"_s, v[9]);
    }
    in.texts.insert(u"EditRo"_s,
                    formatGeneral(calculatedResistivity(*parseNumber(v[2]), *parseNumber(v[3]))));
    in.pMax = 1000;
    in.tables = &kiTable;
    return in;
}
} // namespace

// Reinforced-concrete foundations: the formulas with every intermediate rounded, the checks, and
// the window's foundation table that may be empty.
class TestConcreteFoundations : public QObject, CalcWindowFixture<TFundForm> {
    Q_OBJECT
private slots:
    void evaluate_data();
    void evaluate();
    void kindByType();

    void init() { open(); }
    void cleanup() { close(); }
    void opensOnPilesWhileNoGradeIsListed();
    void typedDepthIsKeptWhenOpenedAgain();
    void addedGradeComputes();
    void depthFollowsTheGrade();
    void schemeSetsTheCount();
    void batchChoosesTheGradeByItsKey();

private:
    TableRowChoice* grades() { return win_->rowChoice(u"DBGrid2"_s); }
    RadioGroup* type() { return win_->findChild<RadioGroup*>(u"rdgTip"_s); }
};

void TestConcreteFoundations::evaluate_data() {
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("rf");
    QTest::addColumn<QString>("r");
    QTest::addColumn<QString>("message");
    // 1,75·100/(2π·2)·ln(8/0,3) = 13,92606·3,28341 = 45,7250
    QTest::newRow("pile, scheme 1") << QStringList{u"свайный"_s, u"1"_s, u"100"_s, u"1"_s,
                                                   u"2"_s,       u"3"_s, u"0,3"_s}
                                    << u"45,73"_s << u"45,73"_s << QString();
    // p = 300: 1,75·300/(2π·5)·ln(20/0,3) = 16,71127·4,19971 = 70,182; 70,18/5/0,63 = 22,279
    QTest::newRow("pile, scheme 5, p = 200·1,5")
        << QStringList{u"свайный"_s, u"5"_s, u"200"_s, u"1,5"_s, u"5"_s, u"10"_s, u"0,3"_s} << u"70,18"_s
        << u"22,28"_s << QString();
    // Rст = 13,92606·ln 20 = 41,72; Dпл = √(9/π) = 1,69; Rпл = 175/3,38 = 51,78;
    // Rф = 51,78·41,72/93,5/0,9 = 25,67; R = 25,67/4/0,77 = 8,334
    QTest::newRow("column and slab, scheme 2")
        << QStringList{u"сборный"_s, u"2"_s,   u"100"_s, u"1"_s,   u"2"_s,
                       u"3"_s,       u"0,4"_s, u"1,5"_s, u"1,5"_s, u"0,5"_s}
        << u"25,67"_s << u"8,33"_s << QString();
    QTest::newRow("column and slab deeper than h − d")
        << QStringList{u"сборный"_s, u"2"_s,   u"100"_s, u"1"_s,   u"2,6"_s,
                       u"3"_s,       u"0,4"_s, u"1,5"_s, u"1,5"_s, u"0,5"_s}
        << QString() << QString()
        << u"Ошибка. Для сборных фундаментов глубина заложения не может быть больше разности высоты "
           u"фундамента "
           u"и высоты его плиты."_s;
    QTest::newRow("column and slab at h − d")
        << QStringList{u"сборный"_s, u"1"_s,   u"100"_s, u"1"_s,   u"2,5"_s,
                       u"3"_s,       u"0,4"_s, u"1,5"_s, u"1,5"_s, u"0,5"_s}
        << QString() << QString() << QString();
    QTest::newRow("pile deeper than h")
        << QStringList{u"свайный"_s, u"1"_s, u"100"_s, u"1"_s, u"3,1"_s, u"3"_s, u"0,3"_s} << QString()
        << QString()
        << u"Ошибка. Для свайных фундаментов глубина заложения не может быть больше высоты фундамента."_s;
    QTest::newRow("scheme without a coefficient")
        << QStringList{u"свайный"_s, u"4"_s, u"100"_s, u"1"_s, u"2"_s, u"3"_s, u"0,3"_s} << QString()
        << QString() << u"Ошибка. Заполните таблицу фундаментов."_s;
    QTest::newRow("no grade") << QStringList{u"сборный"_s, u"1"_s,    u"100"_s, u"1"_s,
                                             u"2"_s,       QString(), QString()}
                              << QString() << QString()
                              << u"Ошибка. Заполните таблицу сборных фундаментов."_s;
}

void TestConcreteFoundations::evaluate() {
    QFETCH(QStringList, inputs);
    QFETCH(QString, rf);
    QFETCH(QString, r);
    QFETCH(QString, message);
    const Evaluation e = concretefoundations::calculator().evaluate(foundationInputs(inputs));
    QCOMPARE(e.failure ? e.failure->message : QString(), message);
    if (!rf.isEmpty()) {
        QCOMPARE(e.shown.value(u"EditRf"_s), rf);
        QCOMPARE(e.resultText, r);
        QVERIFY(e.order.last().startsWith(u"Rр = "_s + rf + u'/'));
    }
}

void TestConcreteFoundations::kindByType() {
    const CalcInputs pile =
        foundationInputs({u"свайный"_s, u"1"_s, u"100"_s, u"1"_s, u"2"_s, u"3"_s, u"0,3"_s});
    QCOMPARE(concretefoundations::calculator().historyLayout(pile).kindCode, 35);
    QCOMPARE(concretefoundations::calculator().historyLayout(pile).presetName, u"Свайный фундамент 1."_s);
    QCOMPARE(concretefoundations::calculator().selectionKind(pile), 35);
    CalcInputs slab = pile;
    slab.texts.insert(u"rdgTip"_s, u"сборный"_s);
    QCOMPARE(concretefoundations::calculator().historyLayout(slab).kindCode, 34);
    QCOMPARE(concretefoundations::calculator().selectionOffer(pile).first().end, u"3"_s);
}

void TestConcreteFoundations::opensOnPilesWhileNoGradeIsListed() {
    // The shipped column-and-slab table has no grade: the window opens on the piles and says why.
    const QString said =
        u"Таблица сборных фундаментов пуста: добавьте марки фундаментов в таблицу на странице "
        u"«Изображение» (кнопка «+» навигатора)."_s;
    QVERIFY(rec_->messages.isEmpty());
    QCOMPARE(type()->itemText(), u"свайный"_s);
    QCOMPARE(win_->messageLine()->text(), said + u" Выбран тип «свайный»."_s);
    QVERIFY(tool("btnScore")->isEnabled());
    // Chosen, the empty table is said in the line, not in a box, also with automatic calculation on.
    QVERIFY(type()->chooseItem(u"сборный"_s));
    QCOMPARE(win_->messageLine()->text(), said);
    QVERIFY(!tool("btnScore")->isEnabled());
    QVERIFY(type()->chooseItem(u"свайный"_s));
    autoOn();
    QVERIFY(!win_->EditVS1()->text().isEmpty());
    QVERIFY(type()->chooseItem(u"сборный"_s));
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(u'\n')));
    QVERIFY(win_->EditVS1()->text().isEmpty());
    QCOMPARE(win_->messageLine()->text(), said);
    // Asked for, the calculation refuses in words.
    win_->calculate(true);
    QCOMPARE(rec_->messages, QStringList{u"Ошибка. Заполните таблицу сборных фундаментов."_s});
}

void TestConcreteFoundations::typedDepthIsKeptWhenOpenedAgain() {
    QVERIFY(win_->findChild<QCheckBox*>(u"chkFull"_s)->isChecked());
    QLineEdit* depth = edit("EditGlub");
    QCOMPARE(depth->text(), u"3"_s); // the first pile's length
    depth->setFocus(Qt::OtherFocusReason);
    depth->selectAll();
    QTest::keyClicks(depth, u"2,5"_s);
    win_->hide();
    win_->show();
    QCOMPARE(depth->text(), u"2,5"_s);
    QCOMPARE(type()->itemText(), u"свайный"_s);
    // Only another grade moves it.
    grades()->grid()->setFocus();
    grades()->table()->next();
    QCOMPARE(depth->text(), u"4"_s);
}

void TestConcreteFoundations::addedGradeComputes() {
    QVERIFY(type()->chooseItem(u"сборный"_s));
    DataTable* table = grades()->table();
    QVERIFY(table && table->isEmpty());
    // As the navigator's "+" does: a new grade, then posted.
    table->insert();
    for (const auto& [field, value] : {std::pair{"Marka", "T-1"},
                                       {"DlinaSt", "3"},
                                       {"DiamSt", "0,4"},
                                       {"DlinaPl", "1,5"},
                                       {"ShirPl", "1,5"},
                                       {"VusPl", "0,5"}})
        QVERIFY(table->setText(QLatin1String(field), QLatin1String(value)));
    QVERIFY(table->post());
    QCOMPARE(win_->findChild<QLabel*>(u"DBText1"_s)->text(), u"T-1"_s);
    // "Полное погружение": the depth is h − d.
    QCOMPARE(edit("EditGlub")->text(), u"2,5"_s);
    QVERIFY(win_->messageLine()->text().isEmpty());
    autoOn();
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(u'\n')));
    // Scheme 1, l 2,5: Rст = 11,14085·ln 25 = 35,86; Rпл = 175/3,38 = 51,78;
    // Rф = 35,86·51,78/87,64/0,9 = 23,541; R = Rф
    QCOMPARE(edit("EditRf")->text(), u"23,54"_s);
    QCOMPARE(win_->EditVS1()->text(), u"23,54"_s);
}

void TestConcreteFoundations::depthFollowsTheGrade() {
    type()->chooseItem(u"свайный"_s);
    autoOn();
    QCOMPARE(grades()->key(), u"С30.30"_s);
    QCOMPARE(edit("EditGlub")->text(), u"3"_s);
    // Another grade chosen in the grid: its length.
    grades()->grid()->setFocus();
    grades()->table()->next();
    QCOMPARE(grades()->key(), u"С40.30"_s);
    QCOMPARE(edit("EditGlub")->text(), u"4"_s);
    // Not with "Полное погружение" off; a depth beyond h is refused.
    win_->findChild<QCheckBox*>(u"chkFull"_s)->click();
    grades()->table()->prior();
    QCOMPARE(edit("EditGlub")->text(), u"4"_s);
    QVERIFY(win_->EditVS1()->text().isEmpty());
    QCOMPARE(rec_->messages.value(0),
             u"Ошибка. Для свайных фундаментов глубина заложения не может быть больше высоты фундамента."_s);
    // A history set or a paste chooses the grade by its code without moving the depth.
    rec_->messages.clear();
    win_->findChild<QCheckBox*>(u"chkFull"_s)->click();
    QVERIFY(win_->setInputText(u"DBGrid2.Kod"_s, grades()->code()));
    QVERIFY(win_->setInputText(u"DBGrid2"_s, u"С120.30"_s));
    QCOMPARE(edit("EditGlub")->text(), u"3"_s);
    QVERIFY(!win_->setInputText(u"DBGrid2"_s, u"нет такой"_s));
}

void TestConcreteFoundations::schemeSetsTheCount() {
    type()->chooseItem(u"свайный"_s);
    win_->pictureClicked(u"Schema"_s, 3);
    QCOMPARE(edit("EditN")->text(), u"8"_s);
    QCOMPARE(edit("EditKI")->text(), u"0,59"_s);
    QCOMPARE(win_->findChild<QLabel*>(u"lblTip"_s)->text(), u"3"_s);
}

void TestConcreteFoundations::batchChoosesTheGradeByItsKey() {
    registerBuiltCalculators(CalculatorRegistry::instance());
    CalculatorEnvironment env{*folder_->data};
    BatchRunner runner(env.data);
    bool allRan = true;
    const QJsonArray r = runner.run(R"([
      {"name": "8 piles", "calculator": "TFundForm",
       "inputs": {"EditRo0": "100", "rdgTip": "свайный", "DBGrid2": "С40.30", "EditGlub": "3,5",
                  "Schema": "3"}},
      {"name": "no such grade", "calculator": "TFundForm",
       "inputs": {"rdgTip": "свайный", "DBGrid2": "С45.30"}},
      {"name": "lattice 3x3", "calculator": "TSet3_Frm",
       "inputs": {"EditRo0": "100", "cmbSech": "сталь круглая", "cmbDiam": "0,02", "Tip": "5",
                  "EditDlina": "3", "EditShir": "2", "EditT": "0,7"}}
    ])",
                                    &allRan);
    QVERIFY(!allRan);
    const QJsonObject piles = r[0].toObject().value(u"outputs"_s).toObject();
    QCOMPARE(piles.value(u"DBGrid2"_s).toString(), u"С40.30"_s);
    QCOMPARE(piles.value(u"EditGlub"_s).toString(), u"3,5"_s);
    QCOMPARE(piles.value(u"EditN"_s).toString(), u"8"_s);
    // 1,75·100/(2π·3,5)·ln(14/0,3) = 7,95775·3,84302 = 30,5817; 30,58/8/0,59 = 6,4788
    QCOMPARE(piles.value(u"EditRf"_s).toString(), u"30,58"_s);
    QCOMPARE(piles.value(u"EditVS1"_s).toString(), u"6,48"_s);
    QVERIFY(r[1].toObject().value(u"error"_s).toString().contains(u"С120.30"_s));
    QVERIFY2(!r[2].toObject().value(u"outputs"_s).toObject().value(u"EditVS1"_s).toString().isEmpty(),
             QJsonDocument(r[2].toObject()).toJson().constData());
}

QTEST_MAIN(TestConcreteFoundations)
#include "tst_concretefoundations.moc"
