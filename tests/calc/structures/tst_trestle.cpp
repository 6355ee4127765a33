#include "../core/CalcWindowFixture.h"
#include "CalculatorWindowOf.h"
#include "core/calculators/structures/Trestle.h"
#include "widgets/common/DialogService.h"
#include "core/common/NumberText.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/reference/RadioGroup.h"
#include "widgets/reference/ReferenceWindows.h"
#include "widgets/reference/TrestleTablesDialog.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

using namespace kz;
using namespace Qt::StringLiterals;

class TestTrestle : public QObject, CalcWindowFixture<TEstakFm> {
    Q_OBJECT
private slots:
    void foundation_data();
    void foundation();
    void longitudinalResistance_data();
    void longitudinalResistance();

    void init();
    void cleanup();
    void lookup_data();
    void lookup();
    void farBeyondTheTableIsNotInIt();
    void defaultsReadTheTable();
    void galleryDisablesThePipes();
    void outsideTheTableSaysSo();
    void typeIsSetByIndexOrText_data();
    void typeIsSetByIndexOrText();
    void tablesOpenOnTheCurrentZo();

private:
    QLineEdit* field(const char* name) { return win_->geometryEdit(QString::fromLatin1(name)); }
    RadioGroup* radio() { return win_->findChild<RadioGroup*>(u"rdgTip"_s); }
};

void TestTrestle::foundation_data() {
    QTest::addColumn<double>("pekv");
    QTest::addColumn<double>("d");
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("a");
    QTest::addColumn<QString>("ro");
    QTest::addColumn<QString>("rp");
    QTest::newRow("defaults, D < T: 100/6; (16,67·24 + 150)·0,001")
        << 100.0 << 2.6 << 6.0 << 24.0 << u"16,67"_s << u"0,55"_s;
    QTest::newRow("D >= T: 0,3·100/6; (5·24 + 150)·0,001")
        << 100.0 << 6.0 << 2.0 << 24.0 << u"5"_s << u"0,27"_s;
    QTest::newRow("D = T takes the wide form: 0,3·200/3")
        << 200.0 << 3.0 << 3.0 << 10.0 << u"20"_s << u"0,5"_s;
}

void TestTrestle::foundation() {
    QFETCH(double, pekv);
    QFETCH(double, d);
    QFETCH(double, t);
    QFETCH(double, a);
    const long double ro = trestle::foundationResistance(pekv, d, t);
    QTEST(formatGeneral(ro), "ro");
    QTEST(formatGeneral(trestle::transitionalResistance(ro, a, pekv)), "rp");
}

void TestTrestle::longitudinalResistance_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("pipes");
    QTest::addColumn<QString>("zo");
    QTest::addColumn<QString>("table");
    QTest::newRow("trestle, 1 pipe") << 0 << 1 << u"1,5"_s << u"Z15.db"_s;
    QTest::newRow("trestle, 2 pipes") << 0 << 2 << u"1,5"_s << u"Z15.db"_s;
    QTest::newRow("trestle, 3 pipes") << 0 << 3 << u"0,75"_s << u"Z075.db"_s;
    QTest::newRow("trestle, 4 pipes") << 0 << 4 << u"0,75"_s << u"Z075.db"_s;
    QTest::newRow("trestle, 5 pipes") << 0 << 5 << u"0,5"_s << u"Z05.db"_s;
    QTest::newRow("trestle, 10 pipes") << 0 << 10 << u"0,5"_s << u"Z05.db"_s;
    QTest::newRow("gallery, whatever the pipes") << 1 << 1 << u"0,5"_s << u"Z05.db"_s;
}

void TestTrestle::longitudinalResistance() {
    QFETCH(int, type);
    QFETCH(int, pipes);
    QFETCH(QString, zo);
    QCOMPARE(trestle::longitudinalText(type, pipes), zo);
    QTEST(trestle::tableOf(zo), "table");
}

void TestTrestle::init() {
    open();
}

void TestTrestle::cleanup() {
    close();
}

void TestTrestle::lookup_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<double>("l");
    QTest::addColumn<double>("rp");
    QTest::addColumn<QString>("r");
    QTest::addColumn<bool>("message");
    // L 3 on the grid: Rp 0,5 → 0,8661, Rp 1 → 1,2263; t = 0,1; 0,8661 + 0,3602·0,1 = 0,90212.
    QTest::newRow("Z15 two rows in Rp") << u"Z15.db"_s << 3.0 << 0.55 << u"0,9"_s << false;
    // Rp 0,25 on the grid: L 0,2 → 1,2996, L 0,3 → 0,907; u = 0,5; 1,2996 − 0,3926·0,5 = 1,1033.
    QTest::newRow("Z075 two rows in L") << u"Z075.db"_s << 0.25 << 0.25 << u"1,1"_s << false;
    // (0,05; 0,01) 0,2083, (0,05; 0,025) 0,5083, (0,07; 0,01) 0,1543, (0,07; 0,025) 0,3687; t = 2/3:
    // Z12 = 0,4083, Z34 = 0,29723; u = 0,5: 0,35277.
    QTest::newRow("Z05 four rows") << u"Z05.db"_s << 0.06 << 0.02 << u"0,35"_s << false;
    QTest::newRow("Z075 the row itself") << u"Z075.db"_s << 1.0 << 0.25 << u"0,461"_s << false;
    QTest::newRow("longer than the table") << u"Z15.db"_s << 6.0 << 0.55 << QString() << true;
    QTest::newRow("Rp below the table") << u"Z15.db"_s << 1.0 << 0.005 << QString() << true;
}

void TestTrestle::lookup() {
    QFETCH(QString, table);
    QFETCH(double, l);
    QFETCH(double, rp);
    const auto rows = folder_->data->coefficients().rows(table, {u"L"_s, u"Rp"_s, u"Zo"_s});
    const trestle::InputLookup found = trestle::inputResistance(rows, l, rp);
    QTEST(found.r ? formatGeneral(*found.r) : QString(), "r");
    QTEST(found.message, "message");
}

void TestTrestle::farBeyondTheTableIsNotInIt() {
    // pэ of 1 and 312 zeros gives an Rп a double cannot hold: beyond every row, never the first.
    const auto rows = folder_->data->coefficients().rows(u"Z15.db"_s, {u"L"_s, u"Rp"_s, u"Zo"_s});
    for (const long double rp : {5.5e309L, -5.5e309L}) {
        const trestle::InputLookup found = trestle::inputResistance(rows, 1, rp);
        QVERIFY(!found.r);
        QVERIFY(found.message);
    }
}

void TestTrestle::defaultsReadTheTable() {
    QCOMPARE(field("EditZ0")->text(), u"1,5"_s);
    win_->calculate(true);
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(u'\n')));
    QCOMPARE(field("EditR0")->text(), u"16,67"_s);
    QCOMPARE(field("EditRp")->text(), u"0,55"_s);
    QCOMPARE(win_->EditVS1()->objectName(), u"EditRvh"_s);
    QCOMPARE(win_->EditVS1()->text(), u"0,9"_s);
    const QStringList lines = win_->Memo1()->toPlainText().split(u'\n');
    QVERIFY(lines.contains(u"Ro = 100 / 6 = 16,67 Ом."_s));
    QVERIFY(lines.contains(u"Rп = (16,67 * 24 + 1,5 * 100) * 0,001 = 0,55 Ом км."_s));
    QVERIFY(lines.contains(
        u"Входное сопротивление эстакады (при Zo = 1,5 Ом км; L = 3 км и Rп = 0,55 Ом км):"_s));
    QVERIFY(lines.contains(u"Rвх = 0,9"_s));
}

void TestTrestle::galleryDisablesThePipes() {
    QSpinBox* pipes = win_->geometrySpin(u"SpinTrub"_s);
    pipes->setValue(3);
    QCOMPARE(field("EditZ0")->text(), u"0,75"_s);
    radio()->setItemIndex(1);
    QCOMPARE(field("EditZ0")->text(), u"0,5"_s);
    QVERIFY(!pipes->isEnabled());
    radio()->setItemIndex(0);
    QVERIFY(pipes->isEnabled());
    QCOMPARE(field("EditZ0")->text(), u"0,75"_s);
}

void TestTrestle::outsideTheTableSaysSo() {
    win_->calculate(true);
    type(field("EditL"), u"6"_s);
    win_->calculate(true);
    QCOMPARE(rec_->messages,
             QStringList{u"Ошибка. Значение Rвх для L = 6 км и Rп = 0,55 Ом км в таблице не определено."_s});
    QCOMPARE(win_->EditVS1()->text(), QString());
    QCOMPARE(win_->Memo1()->toPlainText(), QString());
}

void TestTrestle::typeIsSetByIndexOrText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("zo");
    QTest::newRow("by index") << u"1"_s << u"0,5"_s;
    QTest::newRow("by text") << u"кабельная галерея"_s << u"0,5"_s;
    QTest::newRow("back by index") << u"0"_s << u"1,5"_s;
}

void TestTrestle::typeIsSetByIndexOrText() {
    QFETCH(QString, text);
    win_->applyInputs({{u"rdgTip"_s, text}});
    QTEST(field("EditZ0")->text(), "zo");
    QVERIFY(!win_->inputText(u"rdgTip"_s).isEmpty());
    QVERIFY(!win_->setInputText(u"rdgTip"_s, u"7"_s));
}

void TestTrestle::tablesOpenOnTheCurrentZo() {
    ReferenceWindows dialogs(*folder_->data);
    int item = -1;
    QStringList cut;
    rec_->onModal = [&item, &cut](QDialog* d) {
        if (auto* f = qobject_cast<TrestleTablesDialog*>(d)) {
            item = f->RadioGroup1()->itemIndex();
            // Every Zo option is read in full, clear of the dialog's edge.
            f->show();
            QApplication::processEvents();
            const QRect inside = f->rect().marginsRemoved(QMargins(4, 4, 4, 4));
            for (const QRadioButton* option : f->findChildren<QRadioButton*>()) {
                const QRect placed(option->mapTo(f, QPoint(0, 0)), option->size());
                if (!inside.contains(placed) || option->width() < option->sizeHint().width())
                    cut << option->text();
            }
            f->hide();
        }
        return int(QDialog::Accepted);
    };
    win_->geometrySpin(u"SpinTrub"_s)->setValue(4);
    QVERIFY(win_->ButtonFrame1()->btnKI()->isEnabled());
    QTest::mouseClick(win_->ButtonFrame1()->btnKI(), Qt::LeftButton);
    QCOMPARE(item, 1);
    QCOMPARE(cut, QStringList());
}

QTEST_MAIN(TestTrestle)
#include "tst_trestle.moc"
