#include "CalcTestFolder.h"
#include "core/calculators/rods/BuriedRod.h"
#include "widgets/calculator/HistoryLoadDialog.h"
#include "store/HistoryStore.h"
#include "store/DataModule.h"
#include "widgets/common/DialogService.h"
#include "core/common/Paths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

QMap<QString, QString> record(const QString& soil, const QString& length) {
    return {{QStringLiteral("Grunt"), soil},
            {QStringLiteral("P"), QStringLiteral("100")},
            {QStringLiteral("KP"), QStringLiteral("1,5")},
            {QStringLiteral("Construct"), u"сталь круглая"_s},
            {QStringLiteral("Razmer"), QStringLiteral("0,016")},
            {QStringLiteral("T"), QStringLiteral("0,7")},
            {QStringLiteral("L"), length},
            {QStringLiteral("N"), QStringLiteral("0")},
            {QStringLiteral("R"), QStringLiteral("21,81")}};
}
} // namespace

class TestHistoryLoadDialog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void openingShowsTheCalculatorsCaptionsAndFields();
    void navigatorMovesAndTheFieldsFollow();
    void insertingByHandIsRefusedWhileVisible();
    void deletingTheLastSetDisablesOk();
    void noSetOfThisKindDisablesOk();
    void renamingInTheGrid();
    void closingEmptiesTheList();
    void aDataModuleMadeWhereAnotherStoodGetsLoadersOfItsOwn();
    void longTextsShowWhole();

private:
    void fill();
    QToolButton* nav(const char* name) { return loader_->navigatorButton(QString::fromLatin1(name)); }

    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<DataModule> data_;
    std::unique_ptr<HistoryLoadDialog> loader_;
    DataTable* hist_ = nullptr;
};

void TestHistoryLoadDialog::init() {
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    dir_ = std::make_unique<QTemporaryDir>();
    QDir().mkpath(dir_->filePath(QStringLiteral("Data")));
    const QString target = dir_->filePath(QStringLiteral("Data/hist1.db"));
    QVERIFY(QFile::copy(QStringLiteral(KELVOR_BIN_DIR "/Data/hist1.db"), target));
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    setApplicationFolder(dir_->path() + QLatin1Char('/'));
    data_ = std::make_unique<DataModule>();
    hist_ = data_->table(QStringLiteral("TableHist1"));
    hist_->setReporter(rec_.get());
    emptyHistory(*hist_);
    loader_ = std::make_unique<HistoryLoadDialog>(*data_);
}

void TestHistoryLoadDialog::cleanup() {
    loader_.reset();
    data_.reset();
    dir_.reset();
    rec_.reset();
}

void TestHistoryLoadDialog::fill() {
    HistoryLayout rod = buriedrod::descriptor().history;
    HistoryLayout ring = rod;
    ring.kindCode = 8;
    QVERIFY(
        saveHistoryRecord(*hist_, dataDir(), rod, u"Первый"_s, record(u"суглинок"_s, QStringLiteral("5"))));
    QVERIFY(saveHistoryRecord(*hist_, dataDir(), ring, u"Кольцо"_s, record(u"песок"_s, QStringLiteral("9"))));
    QVERIFY(saveHistoryRecord(*hist_, dataDir(), rod, u"Второй"_s, record(u"глина"_s, QStringLiteral("3"))));
    QVERIFY(openHistoryOfKind(*hist_, dataDir(), 4));
    loader_->setFieldList(buriedrod::descriptor().history.fieldList());
}

void TestHistoryLoadDialog::openingShowsTheCalculatorsCaptionsAndFields() {
    fill();
    loader_->show();
    QCOMPARE(loader_->windowTitle(), u"Загрузка заземляющего устройства."_s);
    QCOMPARE(loader_->DBGrid1()->model()->rowCount(), 2); // the ring's set is not shown
    QCOMPARE(loader_->DBGrid1()->model()->headerData(0, Qt::Horizontal).toString(), u"Наименование"_s);
    QCOMPARE(loader_->DBGrid1()->model()->headerData(1, Qt::Horizontal).toString(), u"R, Ом"_s);
    QCOMPARE(loader_->label(1)->text(), u"Тип грунта:"_s);
    QCOMPARE(loader_->label(6)->text(), u"Расстояние от поверхности земли до заземлителя, м:"_s);
    for (int k = 1; k <= 7; ++k) {
        QVERIFY(loader_->label(k)->isVisible());
        QVERIFY(loader_->dbEdit(k)->isVisible());
    }
    for (int k = 8; k <= HistoryLoadDialog::fieldRows; ++k) {
        QVERIFY(!loader_->label(k)->isVisible());
        QVERIFY(!loader_->dbEdit(k)->isVisible());
    }
    QCOMPARE(loader_->dbEdit(1)->width(), 145); // Grunt
    QCOMPARE(loader_->dbEdit(2)->width(), 50);  // P
    QCOMPARE(loader_->dbEdit(4)->width(), 145); // Construct
    QCOMPARE(loader_->dbEdit(5)->width(), 145); // Razmer
    QCOMPARE(loader_->dbEdit(1)->text(), u"суглинок"_s);
    QCOMPARE(loader_->dbEdit(3)->text(), QStringLiteral("1,5"));
    QCOMPARE(loader_->dbEdit(7)->text(), QStringLiteral("5"));
    QVERIFY(loader_->dbEdit(1)->isReadOnly());
    QVERIFY(loader_->btnOK()->isEnabled());
    QCOMPARE(loader_->btnOK()->text(), u"ОК"_s);
}

void TestHistoryLoadDialog::navigatorMovesAndTheFieldsFollow() {
    fill();
    loader_->show();
    QTest::mouseClick(nav("nbNext"), Qt::LeftButton);
    QCOMPARE(hist_->asString(QStringLiteral("Name")), u"Второй"_s);
    QCOMPARE(loader_->dbEdit(1)->text(), u"глина"_s);
    QCOMPARE(loader_->dbEdit(7)->text(), QStringLiteral("3"));
    QCOMPARE(loader_->DBGrid1()->currentIndex().row(), 1);
    QTest::mouseClick(nav("nbFirst"), Qt::LeftButton);
    QCOMPARE(loader_->dbEdit(1)->text(), u"суглинок"_s);
    // Choosing a row in the grid makes it the current one.
    loader_->DBGrid1()->setCurrentIndex(loader_->DBGrid1()->model()->index(1, 0));
    QCOMPARE(hist_->asString(QStringLiteral("Name")), u"Второй"_s);
}

void TestHistoryLoadDialog::insertingByHandIsRefusedWhileVisible() {
    fill();
    loader_->show();
    QVERIFY(!hist_->insert());
    QCOMPARE(rec_->messages,
             QStringList{u"Ошибка. Добавление набора параметров заземляющего устройства в ручном режиме запрещено."_s});
    QVERIFY(!hist_->isEditing());
    loader_->hide();
    QVERIFY(hist_->insert()); // the calculators' save is not hindered
    hist_->cancel();
    QCOMPARE(rec_->messages.size(), 1);
}

void TestHistoryLoadDialog::deletingTheLastSetDisablesOk() {
    fill();
    loader_->show();
    const QString name = hist_->text(QStringLiteral("Name"));
    QTest::mouseClick(nav("nbDelete"), Qt::LeftButton); // declined by default
    QCOMPARE(rec_->questions, QStringList{u"Удалить запись \""_s + name + u"\"?"_s});
    QCOMPARE(hist_->recordCount(), 2);
    rec_->answers << QMessageBox::Yes;
    QTest::mouseClick(nav("nbDelete"), Qt::LeftButton);
    QCOMPARE(hist_->recordCount(), 1);
    QVERIFY(loader_->btnOK()->isEnabled());
    QCOMPARE(loader_->dbEdit(1)->text(), u"глина"_s);
    rec_->answers << QMessageBox::Yes;
    QTest::mouseClick(nav("nbDelete"), Qt::LeftButton);
    QCOMPARE(hist_->recordCount(), 0);
    QVERIFY(!loader_->btnOK()->isEnabled());
    QCOMPARE(loader_->dbEdit(1)->text(), QString());
    // The other kind's set is still there.
    QVERIFY(openHistoryOfKind(*hist_, dataDir(), 8));
    QCOMPARE(hist_->recordCount(), 1);
}

void TestHistoryLoadDialog::noSetOfThisKindDisablesOk() {
    QVERIFY(openHistoryOfKind(*hist_, dataDir(), 4));
    loader_->setFieldList(buriedrod::descriptor().history.fieldList());
    loader_->show();
    QCOMPARE(loader_->DBGrid1()->model()->rowCount(), 0);
    QVERIFY(!loader_->btnOK()->isEnabled());
}

void TestHistoryLoadDialog::renamingInTheGrid() {
    fill();
    loader_->show();
    QApplication::setActiveWindow(loader_.get());
    QTableView* grid = loader_->DBGrid1();
    const QModelIndex name = grid->model()->index(1, 0);
    grid->setCurrentIndex(name);
    grid->edit(name);
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(qobject_cast<QLineEdit*>(editor));
    static_cast<QLineEdit*>(editor)->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Opora 7"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The grid commits the edit once the key has been handled.
    QTRY_COMPARE(hist_->asString(QStringLiteral("Name")), QStringLiteral("Opora 7"));
    QVERIFY(!hist_->isEditing());
    QCOMPARE(hist_->recordCount(), 2);
    // The result column cannot be edited.
    QVERIFY(!(grid->model()->flags(grid->model()->index(1, 1)) & Qt::ItemIsEditable));
}

void TestHistoryLoadDialog::closingEmptiesTheList() {
    fill();
    loader_->show();
    loader_->hide();
    QVERIFY(loader_->fieldList().isEmpty());
    for (int k = 1; k <= HistoryLoadDialog::fieldRows; ++k)
        QVERIFY(loader_->label(k)->isHidden());
}

// The loaders were kept while the data module's address stayed the same: a module made where a
// destroyed one had stood got loaders over the destroyed tables.
void TestHistoryLoadDialog::aDataModuleMadeWhereAnotherStoodGetsLoadersOfItsOwn() {
    alignas(DataModule) unsigned char storage[sizeof(DataModule)];
    auto* first = new (storage) DataModule;
    const QPointer<HistoryLoadDialog> old = &sharedHistoryLoader(*first, {}, nullptr);
    first->~DataModule();
    auto* second = new (storage) DataModule;
    const auto destroy = qScopeGuard([second] { second->~DataModule(); });
    HistoryLoadDialog& fresh = sharedHistoryLoader(*second, {}, nullptr);
    QVERIFY(old.isNull());
    delete &fresh;
}

void TestHistoryLoadDialog::longTextsShowWhole() {
    // The trestle keeps its type in the soil's field: the longest text is shown whole.
    const QString trestle = u"технологическая эстакада"_s;
    const HistoryLayout rod = buriedrod::descriptor().history;
    QVERIFY(saveHistoryRecord(*hist_, dataDir(), rod, u"Эстакада"_s, record(trestle, QStringLiteral("5"))));
    QVERIFY(openHistoryOfKind(*hist_, dataDir(), 4));
    loader_->setFieldList(rod.fieldList());
    loader_->show();
    QCOMPARE(loader_->dbEdit(1)->text(), trestle);
    QVERIFY(loader_->dbEdit(1)->width() > loader_->dbEdit(1)->fontMetrics().horizontalAdvance(trestle) + 8);
    QCOMPARE(loader_->dbEdit(2)->width(), 50);
}

QTEST_MAIN(TestHistoryLoadDialog)
#include "tst_historyloaddialog.moc"
