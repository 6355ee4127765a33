#include "../core/CalcWindowFixture.h"
#include "CalculatorWindowOf.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "widgets/calculator/HistoryLoadDialog.h"
#include "widgets/selection/SelectionChartDialog.h"
#include "widgets/frames/InstallationFrame.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/common/SpinButton.h"
#include "widgets/frames/SoilFrame.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace kz;
using namespace Qt::StringLiterals;

namespace {
const QString depthRule = u"Ошибка. Глубина заложения должна быть больше радиуса круглой пластины."_s;
} // namespace

// The buried round plate as a user drives it: no section frame, D and To bound by 2To > D with
// range labels and linking, the result always with two decimals.
class TestDKrugForm : public QObject, CalcWindowFixture<TDKrugFrm> {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void firstOpening();
    void handbookExample();
    void checks_data();
    void checks();
    void linkingMovesTheOtherInput_data();
    void linkingMovesTheOtherInput();
    void programWritesActOnNothing();
    void saveAndLoadRoundTrip();
    void singleRunWithLinking();
    void menuOpensTheWindow();

private:
    QLineEdit* diam() { return win_->EditDiam(); }
    QLineEdit* glub() { return win_->EditGlub(); }
    void linkOn() {
        if (!tool("btnLinkParam")->isChecked())
            QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
        QVERIFY(tool("btnLinkParam")->isChecked());
    }
};

void TestDKrugForm::firstOpening() {
    QCOMPARE(win_->windowTitle(), u"Круглая пластина в земле."_s);
    QCOMPARE(helpContextOf(win_.get()), 16);
    QCOMPARE(win_->findChild<QLabel*>(u"Label5"_s)->text(),
             u"Расчетная формула:   R = p / (4*D) * [1+2/П*arcsin(D / (Корень(16*To*To + D*D)))], Ом"_s);
    auto* conditions = win_->findChild<QGroupBox*>(u"GroupBox1"_s);
    QCOMPARE(conditions->title(), u" Условие применения формулы "_s);
    QCOMPARE(conditions->findChildren<QLabel*>().value(0)->text(), u"2To >> D;"_s);
    QCOMPARE(win_->findChild<QLabel*>(u"lblEditDiam"_s)->text(), u"D - диаметр пластины, м:"_s);
    QCOMPARE(win_->findChild<QLabel*>(u"lblEditGlub"_s)->text(), u"Тo - глубина заложения, м:"_s);
    QCOMPARE(diam()->text(), u"0,5"_s);
    QCOMPARE(glub()->text(), u"0,7"_s);
    QCOMPARE(diam()->palette().color(QPalette::Base), QColor(0xC0, 0xDC, 0xC0));
    // Activation recomputes the design captions.
    QCOMPARE(win_->lblRangeD()->text(), u"( D < 1,4 )"_s);
    QCOMPARE(win_->lblRangeT()->text(), u"( To > 0,25 )"_s);
    QCOMPARE(hintOf(win_->lblRangeD()),
             u"Диапазон допустимых значений диаметра пластины для текущего значения глубины заложения"_s);
    for (const char* name : {"SpinButtonD1", "SpinButtonD01", "SpinButtonD001"})
        QCOMPARE(win_->stepButton(QLatin1String(name))->associate(), diam());
    for (const char* name : {"SpinButtonT1", "SpinButtonT01", "SpinButtonT001"})
        QCOMPARE(win_->stepButton(QLatin1String(name))->associate(), glub());
    // The plate is the electrode: no section, no steel or corrosion dictionaries.
    QVERIFY(!win_->findChild<QWidget*>(u"frmSech1"_s));
    QVERIFY(!tool("btnMaterial")->isEnabled());
    QVERIFY(!tool("btnKorGrunt")->isEnabled());
    QVERIFY(tool("btnLinkParam")->isEnabled());
    QVERIFY(!win_->Image1()->pixmap().isNull());
    QVERIFY(rec_->messages.isEmpty());
}

void TestDKrugForm::handbookExample() {
    score();
    QCOMPARE(win_->EditVS1()->text(), u"55,62"_s);
    QCOMPARE(win_->EditRaschet()->text(),
             u"R = 100 / (4*0,5) * [1+2/3,14*arcsin(0,5 / (Корень(16*0,7*0,7+0,5*0,5)))] = 55,62 Ом"_s);
    // p = 80: 44,4998540691... keeps its trailing zero; the formula's p is shown beside the soil.
    type(edit("EditRo0"), u"80"_s);
    score();
    QCOMPARE(win_->EditVS1()->text(), u"44,50"_s);
    QCOMPARE(win_->findChild<QLineEdit*>(u"EditRo"_s)->text(), u"80"_s);
    QVERIFY(tool("btnReport")->isEnabled());
}

void TestDKrugForm::checks_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("1 coefficient") << u"EditPKV"_s << QString()
                                   << u"Введите значение коэффициента поправки."_s;
    QTest::newRow("3 p0 empty") << u"EditRo0"_s << QString()
                                << u"Введите значение удельного сопротивления грунта."_s;
    QTest::newRow("3 p0 0") << u"EditRo0"_s << u"0"_s
                            << u"Значение удельного сопротивления грунта должно быть больше 0."_s;
    QTest::newRow("4 diameter") << u"EditDiam"_s << u"0"_s
                                << u"Значение диаметра пластины должно быть больше 0."_s;
    QTest::newRow("4 depth") << u"EditGlub"_s << QString() << u"Введите значение глубины заложения."_s;
    QTest::newRow("5 soil range")
        << u"EditRo0"_s << u"170"_s
        << u"Ошибка. Допустимые значения удельного сопротивления грунта: 40 .. 150."_s;
    QTest::newRow("6 2To = D") << u"EditDiam"_s << u"1,4"_s << depthRule;
}

void TestDKrugForm::checks() {
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(QString, message);
    score();
    QVERIFY(!win_->EditVS1()->text().isEmpty());
    qobject_cast<QLineEdit*>(win_->inputWidget(input))->setText(text);
    rec_->messages.clear();
    win_->Calculate(true);
    QCOMPARE(rec_->messages, QStringList{message});
    QCOMPARE(win_->EditVS1()->text(), QString());
    QCOMPARE(win_->EditRaschet()->text(), QString());
}

void TestDKrugForm::linkingMovesTheOtherInput_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("startD");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("d");
    QTest::addColumn<QString>("t");
    QTest::newRow("D 2 with To 0,7") << u"EditDiam"_s << u"0,5"_s << u"2"_s << u"2"_s << u"1,1"_s;
    QTest::newRow("To 0,3 with D 1") << u"EditGlub"_s << u"1"_s << u"0,3"_s << u"0,5"_s << u"0,3"_s;
    QTest::newRow("To 0,04 with D 1") << u"EditGlub"_s << u"1"_s << u"0,04"_s << u"1"_s << u"0,04"_s;
}

void TestDKrugForm::linkingMovesTheOtherInput() {
    QFETCH(QString, input);
    QFETCH(QString, startD);
    QFETCH(QString, typed);
    QFETCH(QString, d);
    QFETCH(QString, t);
    type(diam(), startD);
    linkOn();
    type(qobject_cast<QLineEdit*>(win_->inputWidget(input)), typed);
    QCOMPARE(diam()->text(), d);
    QCOMPARE(glub()->text(), t);
    QCOMPARE(focused(), input);
    rec_->messages.clear();
    score();
    if (t == u"0,04"_s) { // a depth of 0,05 or less leaves the diameter and fails the rule
        QCOMPARE(rec_->messages, QStringList{depthRule});
    } else {
        QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(u'\n')));
    }
    if (t == u"1,1"_s) {
        // The moved depth's label follows: D < 2,2; 15,8949937...
        QCOMPARE(win_->lblRangeD()->text(), u"( D < 2,2 )"_s);
        QCOMPARE(win_->EditVS1()->text(), u"15,89"_s);
    }
}

void TestDKrugForm::programWritesActOnNothing() {
    linkOn();
    edit("EditRo0")->setFocus(Qt::OtherFocusReason);
    diam()->setText(u"2"_s);
    QCOMPARE(glub()->text(), u"0,7"_s);
    QCOMPARE(win_->lblRangeT()->text(), u"( To > 0,25 )"_s);
}

void TestDKrugForm::saveAndLoadRoundTrip() {
    type(edit("EditRo0"), u"120"_s);
    type(diam(), u"1,2"_s);
    type(glub(), u"0,61"_s);
    score();
    const QString result = win_->EditVS1()->text();
    rec_->inputs << std::optional<QString>(u"Пластина у опоры"_s);
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    QCOMPARE(rec_->prompts.value(0).section(u'|', 2), u"Круглая пластина в земле 1."_s);
    DataTable& hist = (*folder_->data)[u"TableHist1"_s];
    hist.setFiltered(false);
    QVERIFY(hist.open(dataDir()));
    hist.refresh();
    QVERIFY(hist.locate(u"Name"_s, u"Пластина у опоры"_s));
    QCOMPARE(hist.asInteger(u"KodTip"_s), 11);
    QCOMPARE(hist.text(u"D1"_s), u"1,2"_s);
    QCOMPARE(hist.text(u"T"_s), u"0,61"_s);
    QCOMPARE(hist.text(u"R"_s), result);

    type(diam(), u"3"_s);
    type(glub(), u"2"_s);
    QStringList captions;
    rec_->onModal = [&](QDialog* dialog) {
        auto* loader = qobject_cast<HistoryLoadDialog*>(dialog);
        if (!loader)
            return int(QDialog::Rejected);
        loader->show();
        for (int k = 1; k <= 5; ++k)
            captions << loader->label(k)->text();
        loader->table().locate(u"Name"_s, u"Пластина у опоры"_s);
        loader->hide();
        return int(QDialog::Accepted);
    };
    QTest::mouseClick(tool("btnLoad"), Qt::LeftButton);
    QCOMPARE(captions.mid(3), (QStringList{u"Диаметр пластины, м:"_s, u"Глубина заложения, м:"_s}));
    QCOMPARE(diam()->text(), u"1,2"_s);
    QCOMPARE(glub()->text(), u"0,61"_s);
    QCOMPARE(win_->lblRangeD()->text(), u"( D < 1,22 )"_s);
    QCOMPARE(win_->lblRangeT()->text(), u"( To > 0,6 )"_s);
    QCOMPARE(win_->EditVS1()->text(), result);

    // Copy and paste restore the same set.
    QTest::mouseClick(tool("btnCopy"), Qt::LeftButton);
    type(diam(), u"0,3"_s);
    QTest::mouseClick(tool("btnPaste"), Qt::LeftButton);
    QCOMPARE(diam()->text(), u"1,2"_s);
    QCOMPARE(win_->EditVS1()->text(), result);
}

void TestDKrugForm::singleRunWithLinking() {
    linkOn();
    win_->frmEU1()->EditRmax()->setText(u"10"_s);
    SelectionChartDialog* chart = nullptr;
    rec_->onModal = [&](QDialog* dialog) {
        chart = qobject_cast<SelectionChartDialog*>(dialog);
        return int(QDialog::Accepted);
    };
    emit diam()->customContextMenuRequested(QPoint(2, 2));
    win_->PopupMenu1()->hide();
    win_->N2Click();
    QVERIFY(chart);
    // D 1 keeps To 0,7; from D 2 on To = D/2 + 0,1: 30,46; 15,89; 10,66; 8,02 <= 10.
    QStringList rows;
    QTableWidget* grid = chart->StringGrid1();
    for (int r = 0; r < grid->rowCount(); ++r)
        rows << grid->item(r, 0)->text() + u'/' + grid->item(r, 1)->text() + u'/' + grid->item(r, 2)->text();
    QCOMPARE(rows, (QStringList{u"D, м/To, м/R, Ом"_s, u"1/0,7/30,46"_s, u"2/1,1/15,89"_s, u"3/1,6/10,66"_s,
                                u"4/2,1/8,02"_s}));
    QCOMPARE(chart->Memo1()->toPlainText(),
             u"D, м - диаметр круглой пластины, м\nTо, м - глубина заложения, м\n"
             u"R, Ом - сопротивление растеканию, Ом"_s);
    QCOMPARE(diam()->text(), u"4"_s);
    QCOMPARE(glub()->text(), u"2,1"_s);
    QCOMPARE(win_->lblRangeT()->text(), u"( To > 2 )"_s);
    QCOMPARE(win_->EditVS1()->text(), u"8,02"_s);
}

void TestDKrugForm::menuOpensTheWindow() {
    CalculatorRegistry& registry = CalculatorRegistry::instance();
    registerBuiltCalculators(registry);
    const CalculatorInfo* info = registry.find(u"TDKrugFrm"_s);
    QVERIFY(info && info->factory);
    QCOMPARE(info->menuCaption, u"Круглая пластина в земле..."_s);
    CalculatorEnvironment env{*folder_->data};
    std::unique_ptr<QDialog> w(info->factory(env, nullptr));
    QCOMPARE(qobject_cast<CalculatorWindow*>(w.get())->descriptor().className, u"TDKrugFrm"_s);
}

QTEST_MAIN(TestDKrugForm)
#include "tst_dkrugform.moc"
