// The run dialog with named sets, opened from a calculator that declares them.
#include "../core/CalcTestFolder.h"
#include "widgets/calculator/CalculatorWindow.h"
#include "core/calculators/rods/BuriedRod.h"
#include "widgets/selection/SelectionSetsDialog.h"
#include "widgets/selection/StandardSelectionDialog.h"
#include "store/DataTable.h"
#include "store/SelectionSets.h"
#include "widgets/common/DialogService.h"
#include "core/common/Paths.h"
#include "widgets/reference/TableGrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace kz;

namespace {
const QString Length = u"Длина стержня, м"_s;
const QString Coefficient = u"Коэффициент поправки"_s;
const QString Resistivity = u"Удельное сопротивление грунта, Ом м"_s;

// The rod in the ground with the named sets switched on.
class RodWithStoredSets : public Calculator {
public:
    RodWithStoredSets() : Calculator(withSets()) {}
    static CalculatorDescriptor withSets() {
        CalculatorDescriptor d = buriedrod::descriptor();
        d.selection.storedSets = true;
        return d;
    }
    QMap<QString, QString> derive(const CalcInputs& in, const QString& changed) const override {
        return rod().derive(in, changed);
    }
    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        return rod().checkGeometry(in);
    }
    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override {
        return rod().compute(in, shown);
    }
    QStringList calcOrder(const CalcInputs& in) const override { return rod().calcOrder(in); }
    void deriveSelectionValues(QMap<QString, long double>& values) const override {
        rod().deriveSelectionValues(values);
    }

private:
    static const Calculator& rod() { return buriedrod::calculator(); }
};

void addRow(SelectionRunDialog& form, const QStringList& row) {
    const auto items = form.ListBox1()->findItems(row[0], Qt::MatchExactly);
    QVERIFY(!items.isEmpty());
    form.ListBox1()->setCurrentItem(items.first());
    form.addParameter();
    const int r = form.parameterGrid()->rowCount() - 1;
    for (int c = 1; c < 4; ++c)
        form.parameterGrid()->item(r, c)->setText(row[c]);
}

QStringList gridRow(SelectionRunDialog& form, int r) {
    QStringList row;
    for (int c = 0; c < 4; ++c)
        row << form.parameterGrid()->item(r, c)->text();
    return row;
}
} // namespace

class TestStandardSelection : public QObject {
    Q_OBJECT
private slots:
    void init() {
        rec_ = std::make_unique<ScopedRecordingDialogs>();
        folder_ = std::make_unique<CalcTestFolder>(*rec_);
        win_ = std::make_unique<CalculatorWindow>(calculator(), *folder_->data);
        win_->show();
        QVERIFY(QTest::qWaitForWindowExposed(win_.get()));
    }
    void cleanup() {
        win_.reset();
        folder_.reset();
        rec_.reset();
    }

    void dialogIsTheOneWithSets();
    void saveRefusals_data();
    void saveRefusals();
    void savedSetIsLoadedAndDeleted();

private:
    static const Calculator& calculator() {
        static const RodWithStoredSets c;
        return c;
    }
    // Opens the run dialog and lets body work in it; the loader is answered by loader.
    void inRunDialog(const std::function<void(StandardSelectionDialog&)>& body) {
        rec_->onModal = [this, body](QDialog* d) {
            if (d->objectName() == u"TPodborFm"_s)
                return loader_ ? loader_(*qobject_cast<SelectionSetsDialog*>(d)) : int(QDialog::Rejected);
            auto* form = qobject_cast<StandardSelectionDialog*>(d);
            if (form && d->objectName() == u"TParamFrm"_s)
                body(*form);
            ++runDialogs_;
            return int(QDialog::Rejected);
        };
        runDialogs_ = 0;
        win_->runSelection();
        QCOMPARE(runDialogs_, 1);
    }
    QList<SelectionSet> stored() const { return SelectionSets(dataDir()).all(); }

    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<CalcTestFolder> folder_;
    std::unique_ptr<CalculatorWindow> win_;
    std::function<int(SelectionSetsDialog&)> loader_;
    int runDialogs_ = 0;
};

void TestStandardSelection::dialogIsTheOneWithSets() {
    inRunDialog([](StandardSelectionDialog& form) {
        QVERIFY(form.findChild<QPushButton*>(u"btnSave"_s));
        QVERIFY(form.findChild<QPushButton*>(u"btnLoad"_s));
        QCOMPARE(form.btnSave()->text(), u"Сохранить..."_s);
        QCOMPARE(form.ListBox1()->count(), 3);
        addRow(form, {Length, u"1"_s, u"5"_s, u"1"_s});
        form.parameterGrid()->setCurrentCell(0, 1);
        QCOMPARE(form.lblAllowChar()->text(), u"0..9 и запятая"_s);
        QCOMPARE(form.lblDiapazon()->text(), u"не менее 0,5"_s);
    });
}

void TestStandardSelection::saveRefusals_data() {
    QTest::addColumn<QString>("required");
    QTest::addColumn<QStringList>("row");
    QTest::addColumn<QString>("message");
    const QStringList length{Length, u"1"_s, u"5"_s, u"1"_s};
    QTest::newRow("no required value")
        << QString() << length << u"Ошибка. Введите требуемое сопротивление контура заземления."_s;
    QTest::newRow("no parameter") << u"4"_s << QStringList()
                                  << u"Ошибка. Введите хотя бы один параметр подбора."_s;
    QTest::newRow("step 0") << u"4"_s << QStringList{Length, u"1"_s, u"5"_s, u"0"_s}
                            << u"Ошибка. Допускаются значения больше 0."_s;
    QTest::newRow("required value no number")
        << u"4,,"_s << length << u"Ошибка. \"4,,\" - недопустимое числовое значение."_s;
    QTest::newRow("name not given") << u"4"_s << length << QString();
}

void TestStandardSelection::saveRefusals() {
    QFETCH(QString, required);
    QFETCH(QStringList, row);
    QFETCH(QString, message);
    inRunDialog([&](StandardSelectionDialog& form) {
        if (!row.isEmpty())
            addRow(form, row);
        form.EditR()->setText(required);
        form.btnSave()->click();
    });
    QCOMPARE(rec_->messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(rec_->prompts.size(), message.isEmpty() ? 1 : 0);
    QVERIFY(stored().isEmpty());
}

void TestStandardSelection::savedSetIsLoadedAndDeleted() {
    rec_->inputs = {u"Подбор 1"_s, u"Подбор 2"_s};
    inRunDialog([&](StandardSelectionDialog& form) {
        addRow(form, {Length, u"1"_s, u"6"_s, u"1"_s});
        addRow(form, {Coefficient, u"2"_s, u"1"_s, u"0,1"_s});
        form.EditR()->setText(u"30"_s);
        form.btnSave()->click();
        QCOMPARE(rec_->prompts,
                 QStringList{u"Введите наименование подбора.|Наименование подбора:|Подбор 1"_s});

        // Emptied and loaded again: the grid, EditR and the list come back as saved.
        form.removeParameter();
        form.removeParameter();
        form.EditR()->setText(u"4"_s);
        loader_ = [](SelectionSetsDialog& sets) {
            [&] {
                QCOMPARE(sets.windowTitle(), u"Загрузка параметров подбора."_s);
                QVERIFY(sets.btnOK()->isEnabled());
                QCOMPARE(sets.DBGrid1()->model()->rowCount(), 1);
                QCOMPARE(sets.DBGrid2()->model()->rowCount(), 2);
            }();
            return int(QDialog::Accepted);
        };
        form.btnLoad()->click();
        QCOMPARE(form.EditR()->text(), u"30"_s);
        QCOMPARE(form.parameterGrid()->rowCount(), 2);
        QCOMPARE(gridRow(form, 0), (QStringList{Length, u"1"_s, u"6"_s, u"1"_s}));
        QCOMPARE(gridRow(form, 1), (QStringList{Coefficient, u"2"_s, u"1"_s, u"0,1"_s}));
        QCOMPARE(form.ListBox1()->count(), 1);
        QCOMPARE(form.ListBox1()->item(0)->text(), Resistivity);
        QVERIFY(form.btnOK()->isEnabled());

        // A second set; then both deleted in the loader, rows first, OK off with the last.
        form.removeParameter();
        form.EditR()->setText(u"10"_s);
        form.btnSave()->click();
        QCOMPARE(stored().size(), 2);
        loader_ = [this](SelectionSetsDialog& sets) {
            sets.show();
            [&] {
                QCOMPARE(sets.DBGrid1()->model()->rowCount(), 2);
                QVERIFY(!sets.sets().insert());
                QCOMPARE(rec_->messages, QStringList{u"Добавление записей запрещено."_s});
                // Answered "No" first: the set stays.
                rec_->answers = {QMessageBox::No, QMessageBox::Yes, QMessageBox::Yes};
                sets.navigatorButton(u"nbDelete"_s)->click();
                QCOMPARE(sets.DBGrid1()->model()->rowCount(), 2);
                QCOMPARE(rec_->questions.size(), 1);
                QVERIFY(rec_->questions[0].contains(u"Подбор 1"_s));
                sets.navigatorButton(u"nbDelete"_s)->click();
                QCOMPARE(sets.DBGrid1()->model()->rowCount(), 1);
                QCOMPARE(sets.sets().asString(u"Name"_s), u"Подбор 2"_s);
                QCOMPARE(sets.DBGrid2()->model()->rowCount(), 1);
                QVERIFY(sets.btnOK()->isEnabled());
                sets.navigatorButton(u"nbDelete"_s)->click();
                QVERIFY(!sets.btnOK()->isEnabled());
            }();
            sets.hide();
            return int(QDialog::Rejected);
        };
        form.btnLoad()->click();
        QCOMPARE(form.EditR()->text(), u"10"_s);
    });
    QVERIFY(stored().isEmpty());
    QCOMPARE(rec_->messages.size(), 1);
    // Nothing left over in the rows' file either.
    {
        DataTable rows(*findTableDef(u"podbor1.DB"_s));
        QVERIFY(rows.open(dataDir()));
        QCOMPARE(rows.recordCount(), 0);
    }
}

QTEST_MAIN(TestStandardSelection)
#include "tst_standardselection.moc"
