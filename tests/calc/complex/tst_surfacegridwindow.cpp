#include "../core/CalcWindowFixture.h"
#include "core/calculators/complex/SurfaceGrid.h"
#include "CalculatorWindowOf.h"
#include "core/model/CalcCommon.h"
#include "widgets/calculator/HistoryLoadDialog.h"
#include "store/HistoryStore.h"
#include "core/model/ReportModel.h"
#include "widgets/selection/SelectionChartDialog.h"
#include "widgets/selection/SelectionSettingsDialog.h"
#include "widgets/selection/SelectionRunDialog.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/InstallationFrame.h"
#include "widgets/common/SpinButton.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/SoilFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

using namespace kz;

// The surface grid window driven by object name, keystrokes and clicks.
class TestSurfaceGridWindow : public QObject, CalcWindowFixture<TSet1_Frm> {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstOpeningShowsTheDefaults();
    void countsUpdateTheGeometryAtOnce();
    void clearedWidthEmptiesTheGeometry();
    void gridTooSmallForTheShownAreaIsReported();
    void savedFieldsAndLoaderCaptions();
    void popupOnACountSelectsIt();
    void singleParameterSelectionWithData();
    void multiParameterSelectionNestsTheRows();
    void selectionSettingsOfTheFocusedInput();
    void reportOfTheWindow();

private:
    QSpinBox* spin(const char* name) { return find<QSpinBox>(name); }
};

void TestSurfaceGridWindow::init() {
    open();
}

void TestSurfaceGridWindow::cleanup() {
    close();
}

void TestSurfaceGridWindow::firstOpeningShowsTheDefaults() {
    QCOMPARE(win_->windowTitle(), u"Сетка из горизонтальных электродов на поверхности земли."_s);
    QVERIFY(!win_->frmSech1());
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("3"));
    QCOMPARE(edit("EditShir")->text(), QStringLiteral("2"));
    QCOMPARE(spin("SpinKolGor")->value(), 4);
    QCOMPARE(spin("SpinKolVert")->value(), 3);
    for (const char* name : {"SpinKolGor", "SpinKolVert"}) {
        QCOMPARE(spin(name)->minimum(), 1);
        QCOMPARE(spin(name)->maximum(), 100);
    }
    // The derived geometry is shown on opening, before any calculation.
    QCOMPARE(edit("EditS")->text(), QStringLiteral("72"));
    QCOMPARE(edit("EditL")->text(), QStringLiteral("78"));
    QVERIFY(edit("EditS")->isReadOnly());
    QVERIFY(edit("EditL")->isReadOnly());
    QCOMPARE(find<QLabel>("lblEditShir")->text(), u"В - ширина ячейки, м:"_s);
    QCOMPARE(find<QLabel>("lblSpinKolGor")->text(), u"Nг - количество ячеек по горизонтали, шт.:"_s);
    QCOMPARE(find<QLabel>("lblEditL")->text(), u"L - длина горизонтальных электродов сетки, м:"_s);
    const QStringList steps = {QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("0,1")};
    const char* lengthPairs[] = {"btnL10", "btnL1", "btnL01"};
    const char* widthPairs[] = {"SpinButton1", "SpinButton2", "SpinButton3"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(find<SpinButton>(lengthPairs[i])->associate(), edit("EditDlina"));
        QCOMPARE(find<SpinButton>(widthPairs[i])->associate(), edit("EditShir"));
        QCOMPARE(find<SpinButton>(widthPairs[i])->upButton()->toolTip(),
                 u"Изменение значения параметра на "_s + steps[i]);
    }
    // A description in place of the formula's conditions.
    QVERIFY(!win_->findChild<QGroupBox*>(QStringLiteral("GroupBox1")));
    QCOMPARE(find<QLabel>("lblDescription")->text(), u"Справка."_s);
    QCOMPARE(find<QPlainTextEdit>("Memo1")->toPlainText(),
             u"Сложный заземлитель в виде \nсетки из горизонтальных электродов \n(без вертикальных "
             u"электродов) на "
             u"\nповерхности земли."_s);
    QVERIFY(find<QPlainTextEdit>("Memo1")->isReadOnly());
    QCOMPARE(find<QLabel>("Label5")->text(), u"Расчетная формула:   R = 0,444*p / Корень(S) + р/L, Ом"_s);
    for (const char* b : {"btnMaterial", "btnKorGrunt", "btnLinkParam", "btnKI", "btnMemo"})
        QVERIFY2(!tool(b)->isEnabled(), b);
    for (const char* b : {"btnSave", "btnScore", "btnPodbor", "btnCopy"})
        QVERIFY2(tool(b)->isEnabled(), b);
}

void TestSurfaceGridWindow::countsUpdateTheGeometryAtOnce() {
    score();
    QCOMPARE(edit("EditVS1")->text(), u"6,51"_s);
    // Nг = 5: S = 90, L = 3·5·4 + 2·3·6 = 96; automatic calculation off forgets the result.
    spin("SpinKolGor")->stepUp();
    QCOMPARE(edit("EditS")->text(), QStringLiteral("90"));
    QCOMPARE(edit("EditL")->text(), QStringLiteral("96"));
    QCOMPARE(edit("EditVS1")->text(), QString());
    autoOn();
    // 0,444·100/√90 + 100/96 = 4,68021 + 1,04167 = 5,72188
    QCOMPARE(edit("EditVS1")->text(), u"5,72"_s);
    const int before = win_->calculationCount();
    spin("SpinKolVert")->stepDown();
    QCOMPARE(win_->calculationCount(), before + 1);
    // Nв = 2: S = 60, L = 3·5·3 + 2·2·6 = 69; 44,4/√60 + 100/69 = 5,73202 + 1,44928 = 7,1813
    QCOMPARE(edit("EditS")->text(), QStringLiteral("60"));
    QCOMPARE(edit("EditL")->text(), QStringLiteral("69"));
    QCOMPARE(edit("EditVS1")->text(), u"7,18"_s);
}

void TestSurfaceGridWindow::clearedWidthEmptiesTheGeometry() {
    score();
    type(edit("EditShir"), QString());
    QCOMPARE(edit("EditS")->text(), QString());
    QCOMPARE(edit("EditL")->text(), QString());
    QCOMPARE(edit("EditVS1")->text(), QString());
    for (const char* b : {"btnSave", "btnScore", "btnPodbor", "btnCopy", "btnReport"})
        QVERIFY2(!tool(b)->isEnabled(), b);
    QVERIFY(rec_->messages.isEmpty());
    type(edit("EditShir"), QStringLiteral("2"));
    autoOn();
    rec_->messages.clear();
    type(edit("EditShir"), QString());
    QCOMPARE(win_->messageLine()->text(), u"Введите значение ширины ячейки."_s);
    QVERIFY(rec_->messages.isEmpty());
    QCOMPARE(edit("EditS")->text(), QString());
}

void TestSurfaceGridWindow::gridTooSmallForTheShownAreaIsReported() {
    // 0,05·0,05 = 0,0025 shows as S = 0: the formula would divide by zero.
    spin("SpinKolGor")->setValue(1);
    spin("SpinKolVert")->setValue(1);
    type(edit("EditDlina"), QStringLiteral("0,05"));
    type(edit("EditShir"), QStringLiteral("0,05"));
    QCOMPARE(edit("EditS")->text(), QStringLiteral("0"));
    QCOMPARE(edit("EditL")->text(), QStringLiteral("0,2"));
    score();
    QCOMPARE(rec_->messages, QStringList{resultOutOfRangeMessage()});
    QCOMPARE(edit("EditVS1")->text(), QString());
    QCOMPARE(edit("EditRaschet")->text(), QString());
}

void TestSurfaceGridWindow::savedFieldsAndLoaderCaptions() {
    type(edit("EditRo0"), QStringLiteral("120"));
    type(edit("EditDlina"), QStringLiteral("4,5"));
    type(edit("EditShir"), QStringLiteral("2,5"));
    spin("SpinKolGor")->setValue(7);
    spin("SpinKolVert")->setValue(5);
    score();
    const QString result = edit("EditVS1")->text();
    QVERIFY(!result.isEmpty());
    rec_->inputs << u"Сетка ОРУ"_s;
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    QCOMPARE(rec_->prompts, QStringList{u"Введите наименование заземляющего устройства.|"
                                        u"Наименование заземляющего устройства:|"
                                        u"Сетка из горизонтальных электродов 1."_s});
    DataTable& hist = (*folder_->data)[QStringLiteral("TableHist1")];
    QVERIFY(openHistoryOfKind(hist, dataDir(), 20));
    QCOMPARE(hist.recordCount(), 1);
    QCOMPARE(hist.text(QStringLiteral("A")), QStringLiteral("4,5"));
    QCOMPARE(hist.text(QStringLiteral("B")), QStringLiteral("2,5"));
    QCOMPARE(hist.text(QStringLiteral("Gor")), QStringLiteral("7"));
    QCOMPARE(hist.text(QStringLiteral("Vert")), QStringLiteral("5"));
    QCOMPARE(hist.text(QStringLiteral("R")), result);

    QStringList captions;
    rec_->onModal = [&](QDialog* dialog) {
        auto* loader = qobject_cast<HistoryLoadDialog*>(dialog);
        if (!loader)
            return int(QDialog::Rejected);
        loader->show();
        for (int k = 1; k <= 7; ++k)
            captions << loader->label(k)->text();
        loader->hide();
        return int(QDialog::Accepted);
    };
    QTest::mouseClick(tool("btnLoad"), Qt::LeftButton);
    QCOMPARE(captions, QStringList({u"Тип грунта:"_s, u"Удельное сопротивление грунта, Ом м:"_s,
                                    u"Коэффициент поправки:"_s, u"Длина ячейки, м:"_s, u"Ширина ячейки, м:"_s,
                                    u"Количество ячеек по горизонтали, шт.:"_s,
                                    u"Количество ячеек по вертикали, шт.:"_s}));
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
}

void TestSurfaceGridWindow::popupOnACountSelectsIt() {
    // Stored for Nг: 1 .. 5 step 1. A = 3, B = 2, Nв = 3, p = 100, Rдоп = 8:
    // Nг = 1: 14,63; 2: 9,78; 3: S = 54, L = 60, 44,4/√54 + 100/60 = 6,04204 + 1,66667 = 7,70871.
    win_->frmEU1()->EditRmax()->setText(QStringLiteral("8"));
    QSpinBox* count = spin("SpinKolGor");
    auto* inner = count->findChild<QLineEdit*>();
    QVERIFY(inner);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(4, 4), inner->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(inner, &menu);
    QVERIFY(win_->PopupMenu1()->isVisible());
    win_->PopupMenu1()->hide();
    win_->selectParameterAtPopup();
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
    QCOMPARE(count->value(), 3);
    QCOMPARE(edit("EditS")->text(), QStringLiteral("54"));
    QCOMPARE(edit("EditL")->text(), QStringLiteral("60"));
    QCOMPARE(edit("EditVS1")->text(), u"7,71"_s);
    QCOMPARE(edit("EditRaschet")->text(), u"R = 0,444*100 / Корень(54) + 100 /60 = 7,71 Ом"_s);
    // Rдоп = 4 is out of reach (Nг = 5 gives 5,72): the last count stays and the run says so.
    win_->frmEU1()->EditRmax()->setText(QStringLiteral("4"));
    win_->selectParameterAtPopup();
    QCOMPARE(rec_->messages,
             QStringList{u"Подбор параметра \"Количество ячеек по горизонтали, шт.\" неудачен."_s});
    QCOMPARE(count->value(), 5);
    QCOMPARE(edit("EditVS1")->text(), u"5,72"_s);
}

void TestSurfaceGridWindow::singleParameterSelectionWithData() {
    // A over 1 .. 5 with B = 2, Nг = 4, Nв = 3, Rдоп = 5,5: 11,24; 8,02; 6,51; 5,6; 4,96.
    win_->frmEU1()->EditRmax()->setText(QStringLiteral("5,5"));
    QStringList table;
    QString itog;
    rec_->onModal = [&](QDialog* dialog) {
        auto* chart = qobject_cast<SelectionChartDialog*>(dialog);
        if (!chart)
            return int(QDialog::Rejected);
        for (int r = 0; r < chart->dataGrid()->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < chart->dataGrid()->columnCount(); ++c)
                cells << (chart->dataGrid()->item(r, c) ? chart->dataGrid()->item(r, c)->text()
                                                           : QString());
            table << cells.join(QLatin1Char('/'));
        }
        itog = chart->lblItog()->text();
        return int(QDialog::Accepted);
    };
    win_->selectParameter(u"Длина ячейки, м"_s, true);
    QCOMPARE(table,
             QStringList({u"A, м/R, Ом"_s, u"1/11,24"_s, u"2/8,02"_s, u"3/6,51"_s, u"4/5,6"_s, u"5/4,96"_s}));
    QCOMPARE(itog, u"подбор параметра успешен."_s);
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("5"));
    QCOMPARE(edit("EditS")->text(), QStringLiteral("120"));
    QCOMPARE(edit("EditVS1")->text(), u"4,96"_s);
}

void TestSurfaceGridWindow::multiParameterSelectionNestsTheRows() {
    // Nв outer, A inner, both 1 .. 5, Rтреб = 5. Nв = 1 and 2 reach 9,02 and 6,21 at best;
    // Nв = 3 with A = 5: S = 120, L = 110, 44,4/√120 + 100/110 = 4,05316 + 0,90909 = 4,96225.
    rec_->onModal = [&](QDialog* dialog) {
        auto* form = qobject_cast<SelectionRunDialog*>(dialog);
        if (!form)
            return int(QDialog::Rejected);
        for (const QString& name : {u"Количество ячеек по вертикали, шт."_s, u"Длина ячейки, м"_s}) {
            const auto items = form->ListBox1()->findItems(name, Qt::MatchExactly);
            if (items.isEmpty())
                return int(QDialog::Rejected);
            form->ListBox1()->setCurrentItem(items.first());
            form->addParameter();
        }
        form->EditR()->setText(QStringLiteral("5"));
        return int(QDialog::Accepted);
    };
    QTest::mouseClick(tool("btnPodbor"), Qt::LeftButton);
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
    QCOMPARE(spin("SpinKolVert")->value(), 3);
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("5"));
    QCOMPARE(edit("EditS")->text(), QStringLiteral("120"));
    QCOMPARE(edit("EditL")->text(), QStringLiteral("110"));
    QCOMPARE(edit("EditVS1")->text(), u"4,96"_s);
}

void TestSurfaceGridWindow::selectionSettingsOfTheFocusedInput() {
    SettingsHandOver seen;
    answerSettingsDialog(seen);
    const int& kind = seen.kind;
    const QString& name = seen.name;
    const QString& located = seen.located;
    spin("SpinKolVert")->setFocus();
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    QCOMPARE(kind, 3);
    QCOMPARE(name, u"Количество ячеек по вертикали, шт."_s);
    QCOMPARE(located, name);
    edit("EditShir")->setFocus();
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    QCOMPARE(kind, 2);
    QCOMPARE(located, u"Ширина ячейки, м"_s);
}

void TestSurfaceGridWindow::reportOfTheWindow() {
    win_->frmEU1()->EditRmax()->setText(QStringLiteral("4"));
    score();
    RecordingDialogs messages;
    ReportBuilder w(messages);
    ReportSource source = win_->reportSource();
    source.picture = false;
    surfacegrid::report(w, source);
    QStringList texts;
    QList<ReportParagraph::Alignment> alignments;
    for (const ReportParagraph& p : w.paragraphs()) {
        texts << p.text();
        alignments << p.alignment;
    }
    QCOMPARE(texts.first(),
             u"Сложный заземлитель в виде сетки из горизонтальных электродов (без вертикальных "
             u"электродов) на поверхности земли."_s);
    QVERIFY2(
        texts.contains(u"Заземляющее устройство представляет собой сетку, состоящую из ячеек длиной А = 3 м "
                       u"и шириной В = 2 м. Количество ячеек по горизонтали Nг = 4 шт.; количество ячеек по "
                       u"вертикали Nв = 3 шт."_s),
        qPrintable(texts.join(QLatin1Char('\n'))));
    // The superscript runs begin with a blank.
    const int area = int(texts.indexOf(u"S = A * B * Nг * Nв, м 2;"_s));
    QVERIFY2(area > 0, qPrintable(texts.join(QLatin1Char('\n'))));
    QCOMPARE(texts[area - 1], u"Площадь сетки:"_s);
    QCOMPARE(texts[area + 1], u"S = 3 * 2 * 4 * 3 = 72 м 2."_s);
    QCOMPARE(alignments[area], ReportParagraph::Alignment::Center);
    QCOMPARE(alignments[area - 1], ReportParagraph::Alignment::Left);
    QCOMPARE(texts[area + 2], u"Длина горизонтальных электродов:"_s);
    QCOMPARE(texts[area + 3], u"L = A * Nг * (Nв + 1) + В * Nв * (Nг + 1), м;"_s);
    QCOMPARE(texts[area + 4], u"L = 3 * 4 * (3 + 1) + 2 * 3 * (4 + 1) = 78 м."_s);
    QCOMPARE(texts[area + 5], u"Сопротивление растеканию заземлителя:"_s);
    QCOMPARE(texts[area + 6], u"R = 0,444 * r / (S) 1/2 + r / L, Ом;"_s);
    QCOMPARE(texts[area + 7], u"R = 0,444 * 100 / (72) 1/2 + 100 / 78 = 6,51 Ом."_s);
    QCOMPARE(alignments[area + 7], ReportParagraph::Alignment::Center);
    // 6,51 > 4
    QCOMPARE(texts.last(),
             u"Так как R > Rдоп., то заземлитель нельзя использовать в качестве заземляющего устройства."_s);
    QCOMPARE(alignments.last(), ReportParagraph::Alignment::Left);
    QCOMPARE(w.progressCount(), 7);
    QVERIFY(messages.messages.isEmpty());
}

QTEST_MAIN(TestSurfaceGridWindow)
#include "tst_surfacegridwindow.moc"
