#include "../calc/core/CalcTestFolder.h"
#include "core/rules/PekvRules.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/SoilFrame.h"
#include "widgets/reference/EquivalentResistivityDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

class TestEquivalentResistivityDialog : public QObject {
    Q_OBJECT
private slots:
    void formulas_data();
    void formulas();
    void coefficientsFollowTheLayerOrder();
    void thicknessOrSizeOfZeroGivesNothing();

    void init();
    void cleanup();
    void okNeedsFilledInRangeAndDifferentLayers();
    void confirmedDialogWritesTheResistivityAndRemembersTheLayers();
    void anotherCalculatorStartsWithCoefficientsOfOne();
    void cancelChangesNothing();
    void confirmedLayersOpenAgainWhileTheirSoilIsListed();
    void zeroThicknessIsRefusedAndTheLayersKept();
    void aDataModuleMadeWhereAnotherStoodGetsADialogOfItsOwn();

private:
    // Fills the dialog: upper soil, p0; lower soil, p0; H.
    void fill(EquivalentResistivityDialog& f, const QString& upper, const QString& p1, const QString& lower,
              const QString& p2, const QString& h);

    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<CalcTestFolder> folder_;
};

void TestEquivalentResistivityDialog::formulas_data() {
    QTest::addColumn<bool>("area");
    QTest::addColumn<double>("rho1");
    QTest::addColumn<double>("rho2");
    QTest::addColumn<double>("h");
    QTest::addColumn<double>("size");
    QTest::addColumn<QString>("shown");
    // 300·(1 − e^−0,72) + 100·(1 − e^−0,5) = 153,97 + 39,35.
    QTest::newRow("area, upper higher") << true << 300.0 << 100.0 << 2.0 << 100.0 << u"193,32"_s;
    // 100·(1 − e^−22) + 300·(1 − e^−0,015) = 100,00 + 4,47.
    QTest::newRow("area, upper lower") << true << 100.0 << 300.0 << 2.0 << 100.0 << u"104,47"_s;
    // 50·(1 − e^−1,05) + 200·(1 − e^−1/3) with l = 1000 m.
    QTest::newRow("length, upper lower") << false << 50.0 << 200.0 << 3.0 << 1.0 << u"89,20"_s;
}

void TestEquivalentResistivityDialog::formulas() {
    QFETCH(bool, area);
    QFETCH(double, rho1);
    QFETCH(double, rho2);
    QFETCH(double, h);
    QFETCH(double, size);
    const auto r =
        pekv::equivalentResistivity(area ? pekv::Form::Area : pekv::Form::Length, rho1, rho2, h, size);
    QVERIFY(r);
    QTEST(pekv::equivalentResistivityText(*r), "shown");
}

void TestEquivalentResistivityDialog::coefficientsFollowTheLayerOrder() {
    QCOMPARE(double(pekv::coefficients(pekv::Form::Area, 300, 100).alpha), 3.6);
    QCOMPARE(double(pekv::coefficients(pekv::Form::Area, 100, 300).beta), 0.003);
    QCOMPARE(double(pekv::coefficients(pekv::Form::Length, 300, 100).beta), 0.057);
    QCOMPARE(double(pekv::coefficients(pekv::Form::Length, 100, 300).alpha), 350.0);
    QVERIFY(pekv::layersDifferEnough(200, 100));
    QVERIFY(pekv::layersDifferEnough(100, 200));
    QVERIFY(!pekv::layersDifferEnough(100, 150));
    QVERIFY(!pekv::layersDifferEnough(0, 150));
}

void TestEquivalentResistivityDialog::thicknessOrSizeOfZeroGivesNothing() {
    QVERIFY(!pekv::equivalentResistivity(pekv::Form::Area, 300, 100, 0, 100));
    QVERIFY(!pekv::equivalentResistivity(pekv::Form::Area, 300, 100, 2, 0));
    QVERIFY(!pekv::equivalentResistivity(pekv::Form::Length, 300, 100, -1, 1));
}

void TestEquivalentResistivityDialog::init() {
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    folder_ = std::make_unique<CalcTestFolder>(*rec_);
}

void TestEquivalentResistivityDialog::cleanup() {
    folder_.reset();
    rec_.reset();
}

void TestEquivalentResistivityDialog::fill(EquivalentResistivityDialog& f, const QString& upper,
                                           const QString& p1, const QString& lower, const QString& p2,
                                           const QString& h) {
    f.pFrame1()->ComboGrunt()->setCurrentIndex(f.pFrame1()->ComboGrunt()->findText(upper));
    f.pFrame1()->EditRo0()->setText(p1);
    f.pFrame2()->ComboGrunt()->setCurrentIndex(f.pFrame2()->ComboGrunt()->findText(lower));
    f.pFrame2()->EditRo0()->setText(p2);
    f.EditH()->setText(h);
}

void TestEquivalentResistivityDialog::okNeedsFilledInRangeAndDifferentLayers() {
    EquivalentResistivityDialog& f = sharedEquivalentResistivityDialog(*folder_->data, nullptr);
    f.setHandOver(std::nullopt);
    f.activate();
    QCOMPARE(f.windowTitle(), u"Эквивалентное удельное сопротивление грунта."_s);
    QCOMPARE(f.PageControl1()->tabText(0), u"Верхний слой грунта"_s);
    QCOMPARE(f.findChild<QPushButton*>(QStringLiteral("btnOK"))->text(), u"ОК"_s);
    f.show();
    auto ok = [&] { QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton); };

    fill(f, u"супесь"_s, u"300"_s, u"суглинок"_s, QString(), u"2"_s);
    ok();
    QCOMPARE(rec_->messages.takeFirst(), u"Ошибка. Заполнение всех параметров обязательно."_s);
    QVERIFY(f.isVisible());

    // Upper layer outside супесь's 150 … 400.
    fill(f, u"супесь"_s, u"500"_s, u"суглинок"_s, u"100"_s, u"2"_s);
    ok();
    QCOMPARE(rec_->messages.takeFirst(),
             u"Ошибка. Допустимые значения удельного сопротивления грунта: 150 .. 400."_s);
    QCOMPARE(f.PageControl1()->currentIndex(), 0);
    // Lower layer outside суглинок's 40 … 150.
    fill(f, u"супесь"_s, u"300"_s, u"суглинок"_s, u"160"_s, u"2"_s);
    ok();
    QCOMPARE(rec_->messages.takeFirst(),
             u"Ошибка. Допустимые значения удельного сопротивления грунта: 40 .. 150."_s);
    QCOMPARE(f.PageControl1()->currentIndex(), 1);

    // 150 and 100: a factor of 1,5 only.
    fill(f, u"супесь"_s, u"150"_s, u"суглинок"_s, u"100"_s, u"2"_s);
    ok();
    QCOMPARE(rec_->messages.takeFirst(), pekv::layersMessage());
    QVERIFY(f.isVisible());

    fill(f, u"супесь"_s, u"300"_s, u"суглинок"_s, u"100"_s, u"2"_s);
    ok();
    QVERIFY(rec_->messages.isEmpty());
    QVERIFY(!f.isVisible());
    QCOMPARE(f.result(), int(QDialog::Accepted));
}

void TestEquivalentResistivityDialog::confirmedDialogWritesTheResistivityAndRemembersTheLayers() {
    EquivalentResistivityLink link(*folder_->data, pekv::Form::Area);
    rec_->onModal = [this](QDialog* d) {
        auto* f = qobject_cast<EquivalentResistivityDialog*>(d);
        fill(*f, u"супесь"_s, u"300"_s, u"суглинок"_s, u"100"_s, u"2"_s);
        f->pFrame2()->EditPKV()->setText(u"1"_s);
        return int(QDialog::Accepted);
    };
    QVERIFY(link.run(nullptr, [] { return std::optional<long double>(100); }));
    QCOMPARE(link.lastResistivity(), u"193,32"_s);
    QCOMPARE(link.saved(),
             (QStringList{u"супесь"_s, u"300"_s, u"1"_s, u"суглинок"_s, u"100"_s, u"1"_s, u"2"_s}));

    // Reopened from the same calculator: the layers as they were confirmed.
    QStringList shown;
    rec_->onModal = [&shown](QDialog* d) {
        shown = qobject_cast<EquivalentResistivityDialog*>(d)->currentTexts();
        return int(QDialog::Rejected);
    };
    QVERIFY(!link.run(nullptr, [] { return std::optional<long double>(100); }));
    QCOMPARE(shown, link.saved());
}

// The shared dialog was kept while the data module's address stayed the same, so a module made where
// a destroyed one had stood got a dialog whose frames read the destroyed tables: now and then the
// soil lists came out empty (saved() empty at index 0).
void TestEquivalentResistivityDialog::aDataModuleMadeWhereAnotherStoodGetsADialogOfItsOwn() {
    alignas(DataModule) unsigned char storage[sizeof(DataModule)];
    auto* first = new (storage) DataModule;
    first->openAll(*rec_);
    const QPointer<EquivalentResistivityDialog> old = &sharedEquivalentResistivityDialog(*first, nullptr);
    first->~DataModule();
    auto* second = new (storage) DataModule;
    const auto destroy = qScopeGuard([second] { second->~DataModule(); });
    second->openAll(*rec_);
    EquivalentResistivityDialog& form = sharedEquivalentResistivityDialog(*second, nullptr);
    QVERIFY(old.isNull());
    form.setHandOver(std::nullopt);
    form.activate();
    QVERIFY(form.pFrame1()->ComboGrunt()->findText(u"супесь"_s) >= 0);
    delete &form;
}

void TestEquivalentResistivityDialog::anotherCalculatorStartsWithCoefficientsOfOne() {
    EquivalentResistivityLink first(*folder_->data, pekv::Form::Area);
    EquivalentResistivityLink second(*folder_->data, pekv::Form::Length);
    rec_->onModal = [this](QDialog* d) {
        auto* f = qobject_cast<EquivalentResistivityDialog*>(d);
        fill(*f, u"супесь"_s, u"300"_s, u"суглинок"_s, u"100"_s, u"2"_s);
        f->pFrame1()->EditPKV()->setText(u"1,5"_s);
        return int(QDialog::Accepted);
    };
    QVERIFY(first.run(nullptr, [] { return std::optional<long double>(100); }));
    QStringList shown;
    rec_->onModal = [&shown](QDialog* d) {
        shown = qobject_cast<EquivalentResistivityDialog*>(d)->currentTexts();
        return int(QDialog::Rejected);
    };
    second.run(nullptr, [] { return std::optional<long double>(1); });
    QCOMPARE(shown.value(2), u"1"_s);
    QCOMPARE(shown.value(5), u"1"_s);
    QVERIFY(second.saved().isEmpty());
}

void TestEquivalentResistivityDialog::cancelChangesNothing() {
    EquivalentResistivityLink link(*folder_->data, pekv::Form::Area);
    rec_->onModal = [](QDialog*) { return int(QDialog::Rejected); };
    QVERIFY(!link.run(nullptr, [] { return std::optional<long double>(100); }));
    QVERIFY(link.lastResistivity().isEmpty());
    QVERIFY(link.lastLayers().isEmpty());
    QVERIFY(link.saved().isEmpty());
    QVERIFY(rec_->messages.isEmpty());
}

void TestEquivalentResistivityDialog::confirmedLayersOpenAgainWhileTheirSoilIsListed() {
    EquivalentResistivityDialog& f = sharedEquivalentResistivityDialog(*folder_->data, nullptr);
    f.setHandOver(std::nullopt);
    f.activate();
    f.show();
    fill(f, u"супесь"_s, u"300"_s, u"суглинок"_s, u"60"_s, u"2"_s);
    f.pFrame2()->EditPKV()->setText(u"1,5"_s);
    QCOMPARE(f.pFrame2()->EditRo()->text(), u"90"_s);
    QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
    QVERIFY(rec_->messages.isEmpty());

    // Changed, then cancelled: the confirmed soils and p0 come back; a first use's Kп are 1.
    fill(f, u"песок"_s, u"700"_s, u"песок"_s, u"800"_s, u"2"_s);
    f.reject();
    f.activate();
    QCOMPARE(f.currentTexts(),
             (QStringList{u"супесь"_s, u"300"_s, u"1"_s, u"суглинок"_s, u"60"_s, u"1"_s, u"2"_s}));
    QCOMPARE(f.pFrame1()->lblRMinMax()->text(), u"(150 - 400)"_s);
    QCOMPARE(f.pFrame2()->EditRo()->text(), u"60"_s);

    // A confirmed soil since removed from the dictionary gives way to loam with its own p0.
    DataTable& soils = (*folder_->data)[u"P_udel.DB"_s];
    QVERIFY(soils.locate(u"Grunt"_s, u"супесь"_s) && soils.remove());
    f.activate();
    QCOMPARE(f.pFrame1()->ComboGrunt()->findText(u"супесь"_s), -1);
    QCOMPARE(f.currentTexts().mid(0, 3), (QStringList{u"суглинок"_s, u"100"_s, u"1"_s}));
    QCOMPARE(f.pFrame1()->EditRo()->text(), u"100"_s);
    QCOMPARE(f.pFrame2()->EditRo0()->text(), u"60"_s);
    f.reject();
}

void TestEquivalentResistivityDialog::zeroThicknessIsRefusedAndTheLayersKept() {
    EquivalentResistivityLink link(*folder_->data, pekv::Form::Area);
    rec_->onModal = [this](QDialog* d) {
        fill(*qobject_cast<EquivalentResistivityDialog*>(d), u"супесь"_s, u"300"_s, u"суглинок"_s, u"100"_s,
             u"0"_s);
        return int(QDialog::Accepted);
    };
    QVERIFY(!link.run(nullptr, [] { return std::optional<long double>(100); }));
    QCOMPARE(rec_->messages, QStringList{pekv::thicknessMessage()});
    QCOMPARE(link.lastResistivity(), QString());
    QCOMPARE(link.lastLayers().value(0), u"300"_s);
    QCOMPARE(link.saved().value(6), u"0"_s);
}

QTEST_MAIN(TestEquivalentResistivityDialog)
#include "tst_equivalentresistivitydialog.moc"
