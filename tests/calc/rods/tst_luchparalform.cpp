#include "../core/CalcWindowFixture.h"
#include "CalculatorWindowOf.h"
#include "widgets/calculator/HistoryLoadDialog.h"
#include "store/DataModule.h"
#include "store/DataTable.h"
#include "widgets/frames/InstallationFrame.h"
#include "widgets/common/HelpViewer.h"
#include "core/common/Paths.h"
#include "widgets/common/SpinButton.h"
#include "widgets/reference/TableGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

using namespace kz;
using namespace Qt::StringLiterals;

namespace {
QStringList tabTexts(QTabWidget* tabs) {
    QStringList out;
    for (int i = 0; tabs && i < tabs->count(); ++i)
        out << tabs->tabText(i);
    return out;
}

QStringList items(QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}
} // namespace

// The radial electrode driven as a user drives it: the type chosen by picture, the length kept in
// the type's range, copy and paste of the type, the coefficient grid filtered and edited.
class TestLuchForm : public QObject, CalcWindowFixture<TLuchForm> {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void firstOpening();
    void pictureChoiceKeepsTheLengthInRange();
    void lengthStepsStopAt40ForBoundedTypes();
    void pasteBringsTheTypeBackUnclamped();
    void historyKeepsTheType();
    void singleRunOverTheLengthMovesTheDepth();
    void editedCoefficientIsUsedAtOnce();

private:
    QString label(const char* name) { return find<QLabel>(name)->text(); }
    void pick(int type) {
        QTest::mouseClick(find<QLabel>(qPrintable(u"Image"_s + QString::number(type))), Qt::LeftButton);
    }
    DataTable& kiluch() { return (*folder_->data)[u"LuchTable"_s]; }
};

void TestLuchForm::firstOpening() {
    QCOMPARE(win_->windowTitle(), u"Лучевой заземлитель в земле."_s);
    QCOMPARE(helpContextOf(win_.get()), 41);
    QCOMPARE(tabTexts(win_->PageControl1()), (QStringList{u"Тип"_s, u"Коэффициенты использования"_s}));
    for (int i = 1; i <= 7; ++i)
        QVERIFY(!find<QLabel>(qPrintable(u"Image"_s + QString::number(i)))->pixmap().isNull());
    QCOMPARE(label("lblTip"), u"1"_s);
    QCOMPARE(edit("EditN")->text(), u"2"_s);
    QCOMPARE(label("lblL"), QString());
    QCOMPARE(label("lblRangeL"), u"( l > 2,8 )"_s);
    QCOMPARE(label("lblRangeT"), u"( T < 2,5 )"_s);
    QVERIFY(find<QCheckBox>("chkFilter")->isChecked());
    QCOMPARE(kiluch().recordCount(), 3);
    QCOMPARE(win_->coefficientGrid(u"LuchTable"_s)->pickList(u"Dlina"_s),
             (QStringList{u"10"_s, u"20"_s, u"40"_s}));
    QVERIFY(rec_->messages.isEmpty());

    score();
    QCOMPARE(edit("EditKI")->text(), u"0,86"_s);
    // ln(100 / 0,0112) · 100 / (20π) / 2 / 0,86 = 8,4176...
    QCOMPARE(win_->EditVS1()->text(), u"8,42"_s);
    QCOMPARE(win_->EditRaschet()->text(),
             u"R = [100 / (2*3,14*10) * Ln(10*10/ (0,7*0,016))] / [2 * 0,86] = 8,42 Ом"_s);
}

void TestLuchForm::pictureChoiceKeepsTheLengthInRange() {
    type(edit("EditDlina"), u"5"_s);
    pick(4);
    QCOMPARE(label("lblTip"), u"4"_s);
    QCOMPARE(edit("EditDlina")->text(), u"10"_s);
    QCOMPARE(edit("EditN")->text(), u"6"_s);
    QCOMPARE(label("lblL"), u"(10 .. 40)"_s);
    QCOMPARE(label("lblRangeT"), u"( T < 2,5 )"_s);
    QCOMPARE(kiluch().recordCount(), 3);
    QCOMPARE(kiluch().value(u"N"_s).toInt(), 4);
    // Without the filter the grid shows every type.
    find<QCheckBox>("chkFilter")->click();
    QCOMPARE(kiluch().recordCount(), 21);
    find<QCheckBox>("chkFilter")->click();

    type(edit("EditDlina"), u"45"_s);
    pick(3);
    QCOMPARE(edit("EditDlina")->text(), u"40"_s);
    pick(1);
    QCOMPARE(edit("EditDlina")->text(), u"40"_s);
    QCOMPARE(label("lblL"), QString());
    QCOMPARE(edit("EditN")->text(), u"2"_s);
}

void TestLuchForm::lengthStepsStopAt40ForBoundedTypes() {
    pick(3);
    type(edit("EditDlina"), u"40"_s);
    emit win_->stepButton(u"btnL1"_s)->upClicked();
    QCOMPARE(edit("EditDlina")->text(), u"40"_s);
    type(edit("EditDlina"), u"15"_s);
    emit win_->stepButton(u"btnL10"_s)->downClicked();
    QCOMPARE(edit("EditDlina")->text(), u"15"_s);
    emit win_->stepButton(u"btnL1"_s)->downClicked();
    QCOMPARE(edit("EditDlina")->text(), u"14"_s);
    pick(1);
    type(edit("EditDlina"), u"40"_s);
    emit win_->stepButton(u"btnL1"_s)->upClicked();
    QCOMPARE(edit("EditDlina")->text(), u"41"_s);
}

void TestLuchForm::pasteBringsTheTypeBackUnclamped() {
    type(edit("EditDlina"), u"30"_s);
    QTest::mouseClick(tool("btnCopy"), Qt::LeftButton);
    QCOMPARE(win_->copyBuffer().texts().value(u"Tip"_s), u"1"_s);
    pick(5);
    type(edit("EditDlina"), u"12"_s);
    QTest::mouseClick(tool("btnPaste"), Qt::LeftButton);
    QCOMPARE(label("lblTip"), u"1"_s);
    QCOMPARE(edit("EditN")->text(), u"2"_s);
    QCOMPARE(edit("EditDlina")->text(), u"30"_s);
    QCOMPARE(kiluch().value(u"N"_s).toInt(), 1);
    QCOMPARE(edit("EditKI")->text(), u"0,89"_s); // 0,88 + 0,01·(30 − 20)/20, to hundredths
    QVERIFY(!win_->EditVS1()->text().isEmpty());
    QVERIFY(rec_->messages.isEmpty());

    // A stored type set by the program leaves a length outside its range for the check to tell.
    win_->applyInputs({{u"Tip"_s, u"4"_s}, {u"EditDlina"_s, u"5"_s}});
    QCOMPARE(edit("EditDlina")->text(), u"5"_s);
    QCOMPARE(rec_->messages.value(0), luch::lengthRangeMessage());
}

void TestLuchForm::historyKeepsTheType() {
    pick(4);
    type(edit("EditDlina"), u"20"_s);
    score();
    // ln(400 / 0,0112) · 100 / (40π) / 6 / 0,57 = 2,4392...
    QCOMPARE(win_->EditVS1()->text(), u"2,44"_s);
    rec_->inputs << std::optional<QString>(u"Лучи у подстанции"_s);
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    QCOMPARE(rec_->prompts.value(0).section(u'|', 2), u"Лучевой заземлитель в земле 1."_s);
    DataTable& hist = (*folder_->data)[u"TableHist1"_s];
    hist.setFiltered(false);
    QVERIFY(hist.open(dataDir()));
    hist.refresh();
    QVERIFY(hist.locate(u"Name"_s, u"Лучи у подстанции"_s));
    QCOMPARE(hist.asInteger(u"KodTip"_s), 32);
    QCOMPARE(hist.text(u"Schema"_s), u"4"_s);
    QCOMPARE(hist.text(u"L"_s), u"20"_s);

    pick(1);
    type(edit("EditDlina"), u"35"_s);
    QStringList captions;
    rec_->onModal = [&](QDialog* dialog) {
        auto* loader = qobject_cast<HistoryLoadDialog*>(dialog);
        if (!loader)
            return int(QDialog::Rejected);
        loader->show();
        for (int k = 1; k <= 8; ++k)
            captions << loader->label(k)->text();
        loader->table().locate(u"Name"_s, u"Лучи у подстанции"_s);
        loader->hide();
        return int(QDialog::Accepted);
    };
    QTest::mouseClick(tool("btnLoad"), Qt::LeftButton);
    QCOMPARE(captions.last(), u"Номер схемы:"_s);
    QCOMPARE(label("lblTip"), u"4"_s);
    QCOMPARE(edit("EditN")->text(), u"6"_s);
    QCOMPARE(win_->EditVS1()->text(), u"2,44"_s);
    // The window keeps the loaded type when it is opened again.
    win_->hide();
    win_->show();
    QCOMPARE(label("lblTip"), u"4"_s);
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(u'\n')));
}

void TestLuchForm::singleRunOverTheLengthMovesTheDepth() {
    edit("EditGlub")->setText(u"3"_s); // written, not typed: nothing linked yet
    tool("btnLinkParam")->setChecked(true);
    win_->frmEU1()->EditRmax()->setText(u"5"_s);
    win_->SelectParameter(u"Длина луча, м"_s, false);
    // At l = 10 the depth becomes 10/4 − 0,1; from 17 m (k 0,87) R = 4,80 <= 5.
    QCOMPARE(edit("EditDlina")->text(), u"17"_s);
    QCOMPARE(edit("EditGlub")->text(), u"2,4"_s);
    QCOMPARE(edit("EditKI")->text(), u"0,87"_s);
    QCOMPARE(win_->EditVS1()->text(), u"4,8"_s);
    QCOMPARE(label("lblRangeL"), u"( l > 9,6 )"_s);
}

void TestLuchForm::editedCoefficientIsUsedAtOnce() {
    autoOn();
    QCOMPARE(edit("EditKI")->text(), u"0,86"_s);
    DataTable& t = kiluch();
    QVERIFY(t.locate(u"Dlina"_s, 10));
    QVERIFY(t.edit());
    QVERIFY(t.setValue(u"KI"_s, 0.5));
    QVERIFY(t.post());
    QTRY_COMPARE(edit("EditKI")->text(), u"0,5"_s);
    // ln(100 / 0,0112) · 100 / (20π) / 2 / 0,5 = 14,4783...
    QCOMPARE(win_->EditVS1()->text(), u"14,48"_s);
}

// The parallel strips: the width list and its diameter, the conditions' tab, the step bounds,
// a count between the table's interpolated.
class TestParalForm : public QObject, CalcWindowFixture<TParalFm> {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void firstOpening();
    void widthSetsTheDiameter();
    void reopeningChoosesTheFirstWidth();
    void stepButtonsKeepTheRanges();
    void countBetweenTableValuesInterpolates();
    void singleRunOverTheCount();
    void noWidthInRangeSaysSo();
};

void TestParalForm::firstOpening() {
    QCOMPARE(win_->windowTitle(), u"Параллельно уложенные горизонтальные полосовые электроды."_s);
    QCOMPARE(helpContextOf(win_.get()), 42);
    QCOMPARE(tabTexts(win_->PageControl1()), (QStringList{u"Условия"_s, u"Коэффициенты использования"_s}));
    QCOMPARE(win_->findChild<QGroupBox*>(u"GroupBox1"_s)->findChildren<QLabel*>().size(), 7);
    QCOMPARE(items(win_->cmbDiam()), (QStringList{u"0,02"_s, u"0,025"_s, u"0,03"_s, u"0,04"_s}));
    QCOMPARE(win_->cmbDiam()->currentText(), u"0,02"_s);
    QCOMPARE(edit("EditDiam")->text(), u"0,01"_s);
    QCOMPARE(win_->geometrySpin(u"SpinKol"_s)->value(), 2);
    TableGrid* grid = win_->coefficientGrid(u"KippTable"_s);
    QCOMPARE(grid->pickList(u"Ras"_s), (QStringList{u"1"_s, u"2,5"_s, u"5"_s, u"10"_s, u"15"_s}));
    QVERIFY(!win_->Image1()->pixmap().isNull());
    QVERIFY(!tool("btnLinkParam")->isEnabled());
    QVERIFY(!tool("btnKorGrunt")->isEnabled());
    QVERIFY(rec_->messages.isEmpty());

    score();
    QCOMPARE(edit("EditKI")->text(), u"0,68"_s);
    // ln(225 / 0,007) · 100 / (30π) / 2 / 0,68 = 8,0965...
    QCOMPARE(win_->EditVS1()->text(), u"8,1"_s);
    QCOMPARE(win_->EditRaschet()->text(),
             u"R = [100 / (2*3,14*15) * Ln(15*15/ (0,7*0,01))] / (2*0,68) = 8,1 Ом"_s);
}

void TestParalForm::widthSetsTheDiameter() {
    choose(win_->cmbDiam(), u"0,04"_s);
    QCOMPARE(edit("EditDiam")->text(), u"0,02"_s);
    choose(win_->cmbDiam(), u"0,025"_s);
    QCOMPARE(edit("EditDiam")->text(), u"0,012"_s); // 0,0125 to thousandths, ties to even
}

void TestParalForm::reopeningChoosesTheFirstWidth() {
    choose(win_->cmbDiam(), u"0,04"_s);
    type(edit("EditDlina"), u"50"_s);
    win_->hide();
    win_->show();
    QCOMPARE(win_->cmbDiam()->currentText(), u"0,02"_s);
    QCOMPARE(edit("EditDiam")->text(), u"0,01"_s);
    QCOMPARE(edit("EditDlina")->text(), u"50"_s);
}

void TestParalForm::stepButtonsKeepTheRanges() {
    type(edit("EditDlina"), u"195"_s);
    emit win_->stepButton(u"btnL10"_s)->upClicked();
    QCOMPARE(edit("EditDlina")->text(), u"195"_s);
    emit win_->stepButton(u"btnL1"_s)->upClicked();
    QCOMPARE(edit("EditDlina")->text(), u"196"_s);
    type(edit("EditGlub"), u"0,35"_s);
    emit win_->stepButton(u"btnT01"_s)->downClicked();
    QCOMPARE(edit("EditGlub")->text(), u"0,35"_s);
    emit win_->stepButton(u"btnT001"_s)->downClicked();
    QCOMPARE(edit("EditGlub")->text(), u"0,34"_s);
    type(edit("EditRas"), u"14,5"_s);
    emit win_->stepButton(u"btnS1"_s)->upClicked();
    QCOMPARE(edit("EditRas")->text(), u"14,5"_s);
}

void TestParalForm::countBetweenTableValuesInterpolates() {
    win_->geometrySpin(u"SpinKol"_s)->setValue(3);
    score();
    // Rows (15, 2, 1) 0,68 and (15, 5, 1) 0,4: 0,68 − 0,28/3, to hundredths.
    QCOMPARE(edit("EditKI")->text(), u"0,59"_s);
}

void TestParalForm::singleRunOverTheCount() {
    win_->frmEU1()->EditRmax()->setText(u"6"_s);
    win_->SelectParameter(u"Количество полос, шт."_s, false);
    // N = 3: k 0,59, R 6,22; N = 4: k 0,49, R 5,62.
    QCOMPARE(win_->geometrySpin(u"SpinKol"_s)->value(), 4);
    QCOMPARE(edit("EditKI")->text(), u"0,49"_s);
    QCOMPARE(win_->EditVS1()->text(), u"5,62"_s);
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(u'\n')));
}

void TestParalForm::noWidthInRangeSaysSo() {
    DataTable& polos = (*folder_->data)[u"TablePolos"_s];
    for (polos.first(); !polos.eof();) {
        const double b = polos.value(u"Shir"_s).toDouble();
        if (b >= 0.02 - 1e-9 && b <= 0.04 + 1e-9)
            QVERIFY(polos.remove());
        else
            polos.next();
    }
    autoOn();
    rec_->messages.clear();
    win_->hide();
    win_->show();
    QCOMPARE(win_->cmbDiam()->count(), 0);
    QCOMPARE(edit("EditDiam")->text(), QString());
    QVERIFY(win_->EditVS1()->text().isEmpty());
    QVERIFY(!tool("btnScore")->isEnabled());
    QCOMPARE(rec_->messages, QStringList{paral::missingWidthMessage()});
    QCOMPARE(win_->messageLine()->text(), paral::missingWidthMessage());
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestLuchForm luchForm;
    TestParalForm paralForm;
    int failed = QTest::qExec(&luchForm, argc, argv);
    failed += QTest::qExec(&paralForm, argc, argv);
    return failed;
}

#include "tst_luchparalform.moc"
