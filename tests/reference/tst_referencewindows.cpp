#include "../calc/core/CalcTestFolder.h"
#include "CalculatorWindowOf.h"
#include "store/DataTableModel.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/HelpViewer.h"
#include "core/common/NumberText.h"
#include "widgets/frames/SectionFrame.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/SoilFrame.h"
#include "widgets/reference/FieldEdit.h"
#include "widgets/reference/SeasonalCoefficientDialog.h"
#include "widgets/reference/RadioGroup.h"
#include "widgets/reference/ClimateRegionDialog.h"
#include "widgets/reference/ReferenceWindows.h"
#include "widgets/reference/ResistivityStepDialog.h"
#include "widgets/reference/SteelTableDialog.h"
#include "widgets/reference/TableGrid.h"
#include "widgets/reference/SoilTableDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {
// On the left edge: a radio item takes clicks on its circle and text only, not on the whole row.
void click(QWidget* w) {
    QVERIFY(w);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(std::min(8, w->width() / 2), w->height() / 2));
}
} // namespace

class TestReferenceWindows : public QObject {
    Q_OBJECT
    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<CalcTestFolder> folder_;
    std::unique_ptr<ReferenceWindows> refs_;

    SeasonalCoefficientDialog& popr() { return refs_->correction(); }
    DataTable& table(const char* name) { return (*folder_->data)[QLatin1String(name)]; }

private slots:
    void init() {
        rec_ = std::make_unique<ScopedRecordingDialogs>();
        folder_ = std::make_unique<CalcTestFolder>(*rec_);
        refs_ = std::make_unique<ReferenceWindows>(*folder_->data);
    }
    void cleanup() {
        refs_.reset();
        folder_.reset();
        rec_.reset();
    }

    void captionsAndHelp_data() {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("help");
        QTest::newRow("coefficient") << 0 << u"Выбор коэффициента поправки к р."_s << 10;
        QTest::newRow("regions") << 1 << u"Климатические районы."_s << 6;
        QTest::newRow("soils") << 2 << u"Грунты."_s << 7;
        QTest::newRow("steels") << 3 << u"Материалы заземлителей."_s << 8;
        QTest::newRow("steps") << 4 << u"Настройка шагов изменения удельного сопротивления грунта."_s << 57;
    }
    void captionsAndHelp() {
        QFETCH(int, dialog);
        QFETCH(QString, caption);
        QFETCH(int, help);
        QDialog* dialogs[] = {&refs_->correction(), &refs_->climateRegions(), &refs_->soils(),
                              &refs_->steels(), &refs_->resistivitySteps()};
        QCOMPARE(dialogs[dialog]->windowTitle(), caption);
        QCOMPARE(helpContextOf(dialogs[dialog]), help);
    }

    void coefficientDialogOpensOnRegionThree() {
        popr().activate();
        QCOMPARE(popr().ComboRaion()->count(), 4);
        QCOMPARE(popr().ComboRaion()->currentText(), QStringLiteral("III"));
        QCOMPARE(popr().rdgKrit()->itemIndex(), 0);
        QCOMPARE(popr().rdgVid()->itemIndex(), 0);
        QCOMPARE(popr().rdgDlina()->itemIndex(), 0);
        QCOMPARE(popr().rdgDlina()->item(0)->text(), u"3 метра"_s);
        QCOMPARE(popr().rdgVlaga()->itemIndex(), 1);
        QVERIFY(!popr().SpinTemp()->isEnabled());
        QCOMPARE(popr().SpinTemp()->value(), 20);
        QCOMPARE(popr().EditPKV()->text(), QStringLiteral("1,3")); // V3s of region III
    }

    // Expected values are the raion.db rows of the shipped data.
    void choosingKindLengthMoisture_data() {
        QTest::addColumn<QString>("region");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("moisture");
        QTest::addColumn<QString>("coefficient");
        QTest::newRow("III V5s") << "III" << 0 << 1 << 1 << "1,2";
        QTest::newRow("III V3p") << "III" << 0 << 0 << 0 << "1,5";
        QTest::newRow("III G10m") << "III" << 1 << 0 << 2 << "2";
        QTest::newRow("I G50p") << "I" << 1 << 1 << 0 << "7,2";
        QTest::newRow("IV G50m") << "IV" << 1 << 1 << 2 << "1,12";
        QTest::newRow("II V3s") << "II" << 0 << 0 << 1 << "1,5";
    }
    void choosingKindLengthMoisture() {
        QFETCH(QString, region);
        QFETCH(int, kind);
        QFETCH(int, length);
        QFETCH(int, moisture);
        QFETCH(QString, coefficient);
        popr().activate();
        popr().show();
        popr().ComboRaion()->setCurrentIndex(popr().ComboRaion()->findText(region));
        click(popr().rdgDlina()->item(length));
        click(popr().rdgVlaga()->item(moisture));
        click(popr().rdgVid()->item(kind));
        QCOMPARE(popr().EditPKV()->text(), coefficient);
    }

    void horizontalKeepsTheSecondLength() {
        popr().activate();
        popr().show();
        click(popr().rdgDlina()->item(1));
        QCOMPARE(popr().EditPKV()->text(), QStringLiteral("1,2")); // V5s
        click(popr().rdgVid()->item(1));
        QCOMPARE(popr().rdgDlina()->item(0)->text(), u"10 метров"_s);
        QCOMPARE(popr().rdgDlina()->item(1)->text(), u"50 метров"_s);
        QCOMPARE(popr().rdgDlina()->itemIndex(), 1);
        QCOMPARE(popr().EditPKV()->text(), QStringLiteral("2")); // G50s
        click(popr().rdgVid()->item(0));
        QCOMPARE(popr().rdgDlina()->item(1)->text(), u"5 метров"_s);
    }

    void temperatureCriterion() {
        popr().activate();
        popr().show();
        popr().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&popr()));
        click(popr().rdgKrit()->item(1));
        QVERIFY(popr().SpinTemp()->isEnabled());
        QVERIFY(!popr().ComboRaion()->isEnabled());
        QVERIFY(!popr().rdgVid()->isEnabled());
        QVERIFY(!popr().rdgVlaga()->isEnabled());
        QVERIFY(!popr().rdgDlina()->isEnabled());
        QCOMPARE(popr().EditPKV()->text(), QStringLiteral("1,00"));
        popr().SpinTemp()->setFocus();
        popr().SpinTemp()->selectAll();
        QTest::keyClicks(popr().SpinTemp(), QStringLiteral("0"));
        QCOMPARE(popr().SpinTemp()->value(), 0);
        QCOMPARE(popr().EditPKV()->text(), QStringLiteral("1,55"));
        popr().SpinTemp()->selectAll();
        QTest::keyClicks(popr().SpinTemp(), QStringLiteral("40"));
        QCOMPARE(popr().EditPKV()->text(), QStringLiteral("0,64"));
        // A minus sign is not typed: negative temperatures come from the arrows.
        QTest::keyClicks(popr().SpinTemp(), QStringLiteral("-"));
        QCOMPARE(rec_->beeps, 1);
        QCOMPARE(popr().SpinTemp()->value(), 40);
        click(popr().rdgKrit()->item(0));
        QVERIFY(!popr().SpinTemp()->isEnabled());
        QCOMPARE(popr().EditPKV()->text(), QStringLiteral("1,3"));
    }

    void missingRegionLeavesOne() {
        table("TableRaion").locate(QStringLiteral("Raion"), QStringLiteral("III"));
        QVERIFY(table("TableRaion").remove());
        popr().activate();
        QCOMPARE(popr().ComboRaion()->currentIndex(), -1);
        QCOMPARE(popr().EditPKV()->text(), QStringLiteral("1"));
    }

    void okWritesTheCoefficientIntoTheRodWindow() {
        TDVertFm win(*folder_->data);
        win.activate();
        SoilFrame* soil = win.pFrame();
        QVERIFY(soil->SpeedButton2()->isEnabled());
        const QString p0 = soil->EditRo0()->text();
        rec_->onModal = [](QDialog* d) {
            auto* form = qobject_cast<SeasonalCoefficientDialog*>(d);
            if (!form)
                return int(QDialog::Rejected);
            click(form->findChild<QRadioButton*>(QStringLiteral("rdgVlaga2")));
            click(form->findChild<QPushButton*>(QStringLiteral("Button1")));
            return form->result();
        };
        click(soil->SpeedButton2());
        QCOMPARE(rec_->modalWindows.size(), 1);
        QCOMPARE(soil->EditPKV()->text(), QStringLiteral("1,2")); // V3m of region III
        double ro0 = 0;
        QVERIFY(tryParseNumber(p0, ro0));
        double ro = 0;
        QVERIFY(tryParseNumber(soil->EditRo()->text(), ro));
        QCOMPARE(ro, ro0 * 1.2);
    }

    void cancelLeavesTheCoefficient() {
        TDVertFm win(*folder_->data);
        win.activate();
        SoilFrame* soil = win.pFrame();
        rec_->onModal = [](QDialog* d) {
            click(d->findChild<QRadioButton*>(QStringLiteral("rdgVlaga0")));
            click(d->findChild<QPushButton*>(QStringLiteral("Button2")));
            return d->result();
        };
        click(soil->SpeedButton2());
        QCOMPARE(soil->EditPKV()->text(), QStringLiteral("1"));
    }

    void editedSoilShowsAfterTheDialog() {
        TDVertFm win(*folder_->data);
        win.activate();
        SoilFrame* soil = win.pFrame();
        QCOMPARE(soil->ComboGrunt()->currentText(), u"суглинок"_s);
        QVERIFY(win.ButtonFrame1()->btnGrunt()->isEnabled());
        bool typed = false;
        rec_->onModal = [&typed](QDialog* d) {
            auto* form = qobject_cast<SoilTableDialog*>(d);
            if (!form)
                return int(QDialog::Rejected);
            TableGrid* grid = form->findChild<TableGrid*>(QStringLiteral("DBGrid1"));
            const int row = grid->dataModel()->table().recordCount();
            for (int r = 0; r < row; ++r)
                if (grid->model()->index(r, 0).data().toString() == u"суглинок"_s) {
                    // Typed in the grid's "Максимум" cell.
                    typed = grid->model()->setData(grid->model()->index(r, 2), QStringLiteral("250"));
                    break;
                }
            click(form->closeButton());
            return form->result();
        };
        click(win.ButtonFrame1()->btnGrunt());
        QCOMPARE(rec_->modalWindows.size(), 1);
        QVERIFY(typed);
        QVERIFY(soil->lblRMinMax()->text().endsWith(QStringLiteral(" - 250)")));
        QCOMPARE(soil->RoMax(), 250.0);
        QCOMPARE(soil->ComboGrunt()->currentText(), u"суглинок"_s);
    }

    void steelsOpenOnTheSizeInUse() {
        TDVertFm win(*folder_->data);
        win.activate();
        QVERIFY(win.ButtonFrame1()->btnMaterial()->isEnabled());
        const QString construction = win.frmSech1()->cmbSech()->currentText();
        const QString size = win.frmSech1()->cmbDiam()->currentText();
        int item = -2;
        double diam = 0;
        rec_->onModal = [&](QDialog* d) {
            auto* form = qobject_cast<SteelTableDialog*>(d);
            item = form->rgMaterial()->itemIndex();
            diam = form->grid()->dataModel()->table().asFloat(QStringLiteral("Diam"));
            return int(QDialog::Accepted);
        };
        click(win.ButtonFrame1()->btnMaterial());
        QCOMPARE(construction, u"сталь круглая"_s);
        QCOMPARE(item, 0);
        double expected = 0;
        QVERIFY(tryParseNumber(size, expected));
        QCOMPARE(diam, expected);
        QCOMPARE(win.frmSech1()->cmbDiam()->currentText(), size);
    }

    void angleSteelLocatesWidthAndThickness() {
        SteelTableDialog& form = refs_->steels();
        form.LocateSteelRow(u"сталь угловая"_s, QStringLiteral("0,05x0,05x0,005"));
        QCOMPARE(form.rgMaterial()->itemIndex(), 3);
        DataTable& t = form.grid()->dataModel()->table();
        QCOMPARE(t.fileName(), QStringLiteral("st_uglov.db"));
        QCOMPARE(t.asFloat(QStringLiteral("Shir")), 0.05);
        QCOMPARE(t.asFloat(QStringLiteral("Tol")), 0.005);
        const int at = t.recNo();
        form.LocateSteelRow(u"сталь угловая"_s, QStringLiteral("0,05x0,05x0,0051"));
        QCOMPARE(t.recNo(), at);
        click(form.rgMaterial()->item(2));
        QCOMPARE(form.grid()->dataModel()->table().fileName(), QStringLiteral("st_polos.db"));
        QCOMPARE(form.grid()->model()->headerData(0, Qt::Horizontal).toString(), u"Ширина полосы, м"_s);
    }

    void soilAndStepGridsTitles_data() {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("soils") << 0 << QStringList{u"Грунт"_s, u"Минимум"_s, u"Максимум"_s, u"Принятое"_s};
        QTest::newRow("steps") << 1
                               << QStringList{u"Минимум"_s, u"Максимум"_s, u"Шаг 1"_s, u"Шаг 2"_s,
                                              u"Шаг 3"_s};
    }
    void soilAndStepGridsTitles() {
        QFETCH(int, dialog);
        QFETCH(QStringList, titles);
        QDialog* d = dialog == 0 ? static_cast<QDialog*>(&refs_->soils()) : &refs_->resistivitySteps();
        auto* grid = d->findChild<TableGrid*>(QStringLiteral("DBGrid1"));
        QStringList shown;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            shown << grid->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(shown, titles);
    }

    void stepSettingsFromTheSoilFrame() {
        TDVertFm win(*folder_->data);
        win.activate();
        QVERIFY(win.pFrame()->btnParamShag()->isEnabled());
        click(win.pFrame()->btnParamShag());
        QCOMPARE(rec_->modalWindows.size(), 1);
        QCOMPARE(rec_->modalWindows.first()->objectName(), QStringLiteral("TRoIncFrm"));
    }

    void climateRegionsRecordByRecord() {
        TDVertFm win(*folder_->data);
        win.activate();
        QVERIFY(win.ButtonFrame1()->btnKP()->isEnabled());
        QStringList seen;
        rec_->onModal = [&](QDialog* d) {
            auto* form = qobject_cast<ClimateRegionDialog*>(d);
            form->show();
            form->activateWindow();
            if (!QTest::qWaitForWindowActive(form))
                return int(QDialog::Rejected);
            auto* raion = form->findChild<QLineEdit*>(QStringLiteral("Raion"));
            auto* g50m = form->findChild<QLineEdit*>(QStringLiteral("G50m"));
            seen << raion->text();
            click(form->findChild<QToolButton*>(QStringLiteral("nbLast")));
            seen << raion->text() << g50m->text();
            // Emptied and posted: refused, the record stays for correction.
            g50m->setFocus();
            QTest::keyClick(g50m, Qt::Key_End);
            for (int i = 0; i < 4; ++i)
                QTest::keyClick(g50m, Qt::Key_Backspace);
            seen << g50m->text();
            click(form->findChild<QToolButton*>(QStringLiteral("nbPost")));
            seen << QString::number(rec_->messages.size());
            QTest::keyClicks(g50m, QStringLiteral("1,5"));
            click(form->findChild<QToolButton*>(QStringLiteral("nbPost")));
            return int(QDialog::Rejected);
        };
        click(win.ButtonFrame1()->btnKP());
        QCOMPARE(seen, (QStringList{QStringLiteral("I"), QStringLiteral("IV"), QStringLiteral("1,12"),
                                    QString(), QStringLiteral("1")}));
        DataTable& raion = table("TableRaion");
        QCOMPARE(raion.state(), DataTable::State::Browse);
        QCOMPARE(raion.asString(QStringLiteral("Raion")), QStringLiteral("IV"));
        QCOMPARE(raion.asFloat(QStringLiteral("G50m")), 1.5);
    }
};

QTEST_MAIN(TestReferenceWindows)
#include "tst_referencewindows.moc"
