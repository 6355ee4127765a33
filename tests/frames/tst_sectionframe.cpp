#include "FrameFixture.h"
#include "core/rules/SectionRules.h"
#include "core/session/FrameStates.h"
#include "store/KorGrRules.h"
#include "store/StoredFrameData.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/SectionFrame.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {
QStringList items(const QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}
const QString kVertical = u"вертикальный"_s;
const QString kHorizontal = u"горизонтальный"_s;

// Plays the calculator session's part for one frame: the user's choices go through the
// construction frame's rules (SectionState) over the tables, with the resistivity of a line edit,
// and the frame shows the state.
class SectionDriver {
public:
    SectionDriver(SectionFrame* frame, DataModule& data, QLineEdit* ro)
        : frame_(frame), data_(data, StoredFrameData::Reading::Live), ro_(ro) {
        QObject::connect(frame, &SectionFrame::edited, frame,
                         [this](const QString& field, const QString& text) {
                             QStringList said;
                             if (field == u"cmbSech"_s) {
                                 state_.construction = text;
                                 state_.chooseConstruction(data_, ro_->text(), kind_, &said);
                             } else {
                                 state_.size = text;
                                 state_.chooseSize();
                             }
                             show(said);
                         });
        QObject::connect(frame, &SectionFrame::modePressed, frame, [this](const QString& button) {
            setMode(int(QStringList{u"btnAllMat"_s, u"btnRecMat"_s, u"btnDopMat"_s}.indexOf(button)));
        });
    }
    void init(const QString& letterD, const QString& letterB, const QString& kind) {
        kind_ = kind;
        frame_->attach(letterD, letterB, kind);
        refresh();
    }
    // Another mode than the three keeps the one there is.
    void setMode(int mode) {
        if (mode >= AllSizes && mode <= PermittedSizes)
            state_.mode = mode;
        refresh();
    }
    void refresh() {
        QStringList said;
        state_.refresh(data_, ro_->text(), kind_, &said);
        show(said);
    }

private:
    void show(const QStringList& said) {
        for (const QString& message : said)
            dialogs().showMessage(message);
        frame_->showState(state_);
    }
    SectionFrame* frame_;
    StoredFrameData data_;
    QLineEdit* ro_;
    QString kind_;
    SectionState state_;
};
} // namespace

class TestSectionFrame : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void allModeShowsEverySteelSize();
    void controlsAndHints();
    void constructionChangesLabels_data();
    void constructionChangesLabels();
    void letterOfTheCalculator();
    void recommendedAndPermitted_data();
    void recommendedAndPermitted();
    void classBoundaries_data();
    void classBoundaries();
    void resistivityInNoClassEmptiesLists_data();
    void resistivityInNoClassEmptiesLists();
    void resistivityNotANumberKeepsLists();
    void sizeModeRoundTrip_data();
    void sizeModeRoundTrip();
    void twoFramesQueryEachTheirOwn();
    void locateCorrosionRow();
    void handsTheUsersChoicesOn();

private:
    void choose(QComboBox* list, const QString& text);

    std::unique_ptr<FrameTables> data_;
    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<QWidget> window_;
    SectionFrame* frame_ = nullptr;
    std::unique_ptr<SectionDriver> driver_;
    QLineEdit* ro_ = nullptr;
};

void TestSectionFrame::init() {
    data_ = std::make_unique<FrameTables>();
    QVERIFY(data_->ok());
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    window_ = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window_.get());
    ro_ = new QLineEdit(u"100"_s, window_.get());
    frame_ = new SectionFrame(window_.get());
    layout->addWidget(ro_);
    layout->addWidget(frame_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    driver_ = std::make_unique<SectionDriver>(frame_, data_->data(), ro_);
    driver_->init(u"D"_s, u"B"_s, kVertical);
}

void TestSectionFrame::cleanup() {
    driver_.reset();
    window_.reset();
    rec_.reset();
    data_.reset();
}

void TestSectionFrame::choose(QComboBox* list, const QString& text) {
    const int i = list->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    list->setCurrentIndex(i);
}

void TestSectionFrame::allModeShowsEverySteelSize() {
    QCOMPARE(frame_->GetSizeMode(), 0);
    QVERIFY(frame_->btnAllMat()->isChecked());
    QCOMPARE(items(frame_->cmbSech()), constructionNames());
    QCOMPARE(frame_->cmbSech()->currentText(), u"сталь круглая"_s);
    QCOMPARE(frame_->cmbDiam()->count(), data_->table("st_krug.db").recordCount());
    QCOMPARE(frame_->cmbDiam()->currentText(), u"0,016"_s);
    QCOMPARE(frame_->EditDiam0()->text(), u"0,016"_s);
    QCOMPARE(frame_->diameterText(), u"0,016"_s);

    choose(frame_->cmbSech(), u"сталь полосовая"_s);
    QCOMPARE(frame_->cmbDiam()->count(), data_->table("st_polos.db").recordCount());
    QCOMPARE(frame_->cmbDiam()->itemText(0), u"0,012x0,004"_s);
    choose(frame_->cmbSech(), u"сталь угловая"_s);
    QCOMPARE(frame_->cmbDiam()->itemText(0), u"0,04x0,04x0,004"_s);
    choose(frame_->cmbSech(), u"сталь трубчатая"_s);
    QCOMPARE(frame_->cmbDiam()->itemText(0), u"0,0335"_s);
    choose(frame_->cmbSech(), u"сталь квадратная"_s);
    QCOMPARE(frame_->cmbDiam()->count(), data_->table("st_kvad.db").recordCount());
    QCOMPARE(frame_->cmbDiam()->itemText(0), u"0,01"_s);
    QVERIFY(rec_->messages.isEmpty());
}

void TestSectionFrame::controlsAndHints() {
    QCOMPARE(frame_->cmbSech()->toolTip(), u"Конструкция заземлителя"_s);
    QCOMPARE(frame_->cmbDiam()->maxVisibleItems(), 20);
    QVERIFY(!frame_->cmbSech()->isEditable());
    QVERIFY(!frame_->cmbDiam()->isEditable());
    QCOMPARE(frame_->btnAllMat()->toolTip(), u"Все конструкции и размеры заземлителя"_s);
    QCOMPARE(frame_->btnRecMat()->toolTip(), u"Рекомендуемые конструкции и размеры заземлителя"_s);
    QCOMPARE(frame_->btnDopMat()->toolTip(), u"Допустимые конструкции и размеры заземлителя"_s);
    for (QWidget* w :
         {static_cast<QWidget*>(frame_->EditDiam0()), static_cast<QWidget*>(frame_->EditDiam())}) {
        QVERIFY(static_cast<QLineEdit*>(w)->isReadOnly());
        QCOMPARE(w->focusPolicy(), Qt::NoFocus);
    }
    for (QToolButton* b : {frame_->btnAllMat(), frame_->btnRecMat(), frame_->btnDopMat()})
        QCOMPARE(b->focusPolicy(), Qt::NoFocus);
    const auto* panel = frame_->findChild<QFrame*>(QStringLiteral("Panel1"));
    QVERIFY(panel);
    QCOMPARE(panel->statusTip(), u"Панель выбора конструкции заземлителя"_s);
}

void TestSectionFrame::constructionChangesLabels_data() {
    QTest::addColumn<QString>("construction");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("second");
    QTest::addColumn<QString>("diam0");
    QTest::addColumn<QString>("diam");
    QTest::addColumn<QString>("hint");
    QTest::newRow("strip") << u"сталь полосовая"_s << u"0,04x0,004"_s << u"B - ширина полосы, м:"_s << true
                           << u"0,04"_s << u"0,02"_s
                           << u"Размеры полосовой стали: ширина полосы х толщина полосы"_s;
    QTest::newRow("angle") << u"сталь угловая"_s << u"0,04x0,04x0,004"_s << u"B - ширина полки, м:"_s << true
                           << u"0,04"_s << u"0,038"_s
                           << u"Размеры угловой стали: ширина полки х ширина полки х толщина полки"_s;
    QTest::newRow("round") << u"сталь круглая"_s << u"0,016"_s << u"D - диаметр, м:"_s << false << u"0,016"_s
                           << QString() << u"Диаметр круглой стали"_s;
    QTest::newRow("tubular") << u"сталь трубчатая"_s << u"0,048"_s << u"D - диаметр, м:"_s << false
                             << u"0,048"_s << QString() << u"Внешний диаметр трубчатой стали"_s;
    QTest::newRow("square") << u"сталь квадратная"_s << u"0,012"_s << u"D - диаметр, м:"_s << false
                            << u"0,012"_s << QString() << u"Сторона квадратной стали"_s;
}

void TestSectionFrame::constructionChangesLabels() {
    QFETCH(QString, construction);
    QFETCH(QString, size);
    QFETCH(QString, label);
    QFETCH(bool, second);
    QFETCH(QString, diam0);
    QFETCH(QString, diam);
    QFETCH(QString, hint);
    choose(frame_->cmbSech(), u"сталь полосовая"_s); // the second row shown before
    choose(frame_->cmbSech(), construction);
    choose(frame_->cmbDiam(), size);
    QCOMPARE(frame_->lblD()->text(), label);
    QCOMPARE(frame_->lblRD()->isVisible(), second);
    QCOMPARE(frame_->EditDiam()->isVisible(), second);
    QCOMPARE(frame_->cmbDiam()->toolTip(), hint);
    QCOMPARE(frame_->EditDiam0()->text(), diam0);
    if (second) {
        QCOMPARE(frame_->lblRD()->text(), u"D - диаметр, м:"_s);
        QCOMPARE(frame_->EditDiam()->text(), diam);
        QCOMPARE(frame_->diameterText(), diam);
    } else {
        QCOMPARE(frame_->diameterText(), size);
    }
}

void TestSectionFrame::letterOfTheCalculator() {
    driver_->init(u"d"_s, u"B"_s, kHorizontal);
    QCOMPARE(frame_->lblD()->text(), u"d - диаметр, м:"_s);
    choose(frame_->cmbSech(), u"сталь полосовая"_s);
    QCOMPARE(frame_->lblD()->text(), u"B - ширина полосы, м:"_s);
    QCOMPARE(frame_->lblRD()->text(), u"d - диаметр, м:"_s);
    QCOMPARE(frame_->ElectrodeKind(), kHorizontal);
}

void TestSectionFrame::recommendedAndPermitted_data() {
    QTest::addColumn<QString>("ro");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("constructions");
    QTest::addColumn<QString>("construction");
    QTest::addColumn<QString>("firstSize");
    QTest::addColumn<QString>("diam0");
    QTest::addColumn<QString>("diam");
    QTest::newRow("high, vertical, recommended")
        << u"10"_s << kVertical << u"btnRecMat"_s
        << QStringList{u"сталь круглая"_s, u"сталь угловая"_s, u"сталь квадратная"_s} << u"сталь угловая"_s
        << u"0,05x0,05x0,006"_s << u"0,05"_s << u"0,048"_s;
    QTest::newRow("low, vertical, recommended")
        << u"100"_s << kVertical << u"btnRecMat"_s
        << QStringList{u"сталь круглая"_s, u"сталь трубчатая"_s, u"сталь угловая"_s, u"сталь квадратная"_s}
        << u"сталь круглая"_s << u"0,016"_s << u"0,016"_s << QString();
    QTest::newRow("low, vertical, permitted")
        << u"100"_s << kVertical << u"btnDopMat"_s
        << QStringList{u"сталь круглая"_s, u"сталь трубчатая"_s, u"сталь угловая"_s, u"сталь квадратная"_s}
        << u"сталь трубчатая"_s << u"0,0335"_s << u"0,0335"_s << QString();
    QTest::newRow("low, horizontal, recommended")
        << u"100"_s << kHorizontal << u"btnRecMat"_s
        << QStringList{u"сталь круглая"_s, u"сталь полосовая"_s, u"сталь квадратная"_s}
        << u"сталь полосовая"_s << u"0,025x0,004"_s << u"0,025"_s << u"0,012"_s;
    QTest::newRow("high, horizontal, permitted")
        << u"5"_s << kHorizontal << u"btnDopMat"_s
        << QStringList{u"сталь круглая"_s, u"сталь полосовая"_s, u"сталь квадратная"_s} << u"сталь круглая"_s
        << u"0,01"_s << u"0,01"_s << QString();
}

void TestSectionFrame::recommendedAndPermitted() {
    QFETCH(QString, ro);
    QFETCH(QString, kind);
    QFETCH(QString, mode);
    QFETCH(QStringList, constructions);
    QFETCH(QString, construction);
    QFETCH(QString, firstSize);
    QFETCH(QString, diam0);
    QFETCH(QString, diam);
    ro_->setText(ro);
    driver_->init(u"D"_s, u"B"_s, kind);
    QTest::mouseClick(frame_->findChild<QToolButton*>(mode), Qt::LeftButton);
    QCOMPARE(items(frame_->cmbSech()), constructions);
    QCOMPARE(frame_->cmbSech()->currentIndex(), 0);
    choose(frame_->cmbSech(), construction);
    QCOMPARE(frame_->cmbDiam()->itemText(0), firstSize);
    QCOMPARE(frame_->cmbDiam()->currentText(), firstSize);
    QCOMPARE(frame_->EditDiam0()->text(), diam0);
    if (!diam.isEmpty())
        QCOMPARE(frame_->EditDiam()->text(), diam);
    // The sizes come sorted by their text.
    QStringList sorted = items(frame_->cmbDiam());
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(items(frame_->cmbDiam()), sorted);
    QVERIFY(rec_->messages.isEmpty());

    QTest::mouseClick(frame_->btnAllMat(), Qt::LeftButton);
    QCOMPARE(items(frame_->cmbSech()), constructionNames());
    QCOMPARE(frame_->cmbDiam()->currentText(), u"0,016"_s);
}

void TestSectionFrame::classBoundaries_data() {
    QTest::addColumn<QString>("ro");
    QTest::addColumn<int>("constructions");
    QTest::addColumn<QString>("firstAngle");
    // A class holds its upper bound and not its lower one. Sizes sort by their text, so 0,045x...
    // comes before 0,04x... ('5' < 'x').
    QTest::newRow("20 is high") << u"20"_s << 3 << u"0,05x0,05x0,006"_s;
    QTest::newRow("20,00001 is medium") << u"20,00001"_s << 3 << u"0,045x0,045x0,005"_s;
    QTest::newRow("50 is medium") << u"50"_s << 3 << u"0,045x0,045x0,005"_s;
    QTest::newRow("50,1 is low") << u"50,1"_s << 4 << u"0,045x0,045x0,004"_s;
    QTest::newRow("10000000 is low") << u"10000000"_s << 4 << u"0,045x0,045x0,004"_s;
}

void TestSectionFrame::classBoundaries() {
    QFETCH(QString, ro);
    QFETCH(int, constructions);
    QFETCH(QString, firstAngle);
    ro_->setText(ro);
    driver_->setMode(RecommendedSizes);
    QCOMPARE(frame_->cmbSech()->count(), constructions);
    choose(frame_->cmbSech(), u"сталь угловая"_s);
    QCOMPARE(frame_->cmbDiam()->itemText(0), firstAngle);
}

void TestSectionFrame::resistivityInNoClassEmptiesLists_data() {
    QTest::addColumn<QString>("ro");
    QTest::newRow("zero") << u"0"_s;
    QTest::newRow("above every class") << u"20000000"_s;
}

void TestSectionFrame::resistivityInNoClassEmptiesLists() {
    QFETCH(QString, ro);
    choose(frame_->cmbSech(), u"сталь полосовая"_s);
    ro_->setText(ro);
    QTest::mouseClick(frame_->btnRecMat(), Qt::LeftButton);
    QCOMPARE(frame_->GetSizeMode(), 1);
    QCOMPARE(frame_->cmbSech()->count(), 0);
    QCOMPARE(frame_->cmbDiam()->count(), 0);
    QVERIFY(frame_->EditDiam0()->text().isEmpty());
    QVERIFY(frame_->diameterText().isEmpty());
    QCOMPARE(frame_->lblD()->text(), u"D - диаметр, м:"_s);
    QVERIFY(!frame_->EditDiam()->isVisible());
    QVERIFY(rec_->messages.isEmpty());
    // Nothing to find, nothing to fail.
    locateCorrosionRows(data_->data(), ro.toDouble(), kVertical, RecommendedSizes, QString(), QString());
}

void TestSectionFrame::resistivityNotANumberKeepsLists() {
    ro_->setText(u"abc"_s);
    QTest::mouseClick(frame_->btnDopMat(), Qt::LeftButton);
    QCOMPARE(rec_->messages,
             QStringList{u"\"abc\" - некорректное значение для удельного сопротивления грунта."_s});
    QCOMPARE(items(frame_->cmbSech()), constructionNames());
    QCOMPARE(frame_->EditDiam0()->text(), u"0,016"_s);
    rec_->messages.clear();
    ro_->clear();
    driver_->refresh();
    // No soil table, no resistivity: the message says which input is wanted.
    QCOMPARE(rec_->messages, QStringList{u"Введите значение удельного сопротивления грунта."_s});
    QCOMPARE(frame_->cmbSech()->count(), 5);
}

void TestSectionFrame::sizeModeRoundTrip_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("read");
    QTest::addColumn<int>("count");
    QTest::newRow("all") << 0 << 0 << 5;
    QTest::newRow("recommended") << 1 << 1 << 4;
    QTest::newRow("permitted") << 2 << 2 << 4;
    QTest::newRow("unknown keeps the mode") << 7 << 2 << 4;
    QTest::newRow("negative keeps the mode") << -1 << 2 << 4;
}

void TestSectionFrame::sizeModeRoundTrip() {
    QFETCH(int, mode);
    QFETCH(int, read);
    QFETCH(int, count);
    driver_->setMode(PermittedSizes);
    driver_->setMode(mode);
    QCOMPARE(frame_->GetSizeMode(), read);
    QCOMPARE(frame_->btnAllMat()->isChecked(), read == 0);
    QCOMPARE(frame_->btnRecMat()->isChecked(), read == 1);
    QCOMPARE(frame_->btnDopMat()->isChecked(), read == 2);
    QCOMPARE(frame_->cmbSech()->count(), count);
}

void TestSectionFrame::twoFramesQueryEachTheirOwn() {
    auto* ro2 = new QLineEdit(u"100"_s, window_.get());
    auto* second = new SectionFrame(window_.get());
    second->setObjectName(QStringLiteral("frmSech2"));
    window_->layout()->addWidget(ro2);
    window_->layout()->addWidget(second);
    ro_->setText(u"10"_s);
    driver_->init(u"D"_s, u"B"_s, kVertical);
    SectionDriver secondDriver(second, data_->data(), ro2);
    secondDriver.init(u"d"_s, u"B"_s, kHorizontal);
    driver_->setMode(RecommendedSizes);
    secondDriver.setMode(RecommendedSizes);
    QCOMPARE(items(frame_->cmbSech()),
             (QStringList{u"сталь круглая"_s, u"сталь угловая"_s, u"сталь квадратная"_s}));
    QCOMPARE(items(second->cmbSech()),
             (QStringList{u"сталь круглая"_s, u"сталь полосовая"_s, u"сталь квадратная"_s}));
    QCOMPARE(frame_->cmbDiam()->itemText(0), u"0,018"_s); // high corrosivity: thicker rods
    QCOMPARE(second->cmbDiam()->itemText(0), u"0,01"_s);
}

void TestSectionFrame::locateCorrosionRow() {
    DataTable& classes = data_->table("korgrunt0.db");
    DataTable& kinds = data_->table("korgrunt1.DB");
    DataTable& statuses = data_->table("korgrunt2.DB");
    DataTable& constructs = data_->table("korgrunt3.DB");
    DataTable& sizes = data_->table("korgrunt4.DB");
    locateCorrosionRows(data_->data(), 30, kVertical, PermittedSizes, u"сталь угловая"_s,
                        u"0,05x0,05x0,005"_s);
    QCOMPARE(classes.asString(QStringLiteral("Name")), u"средняя"_s);
    QCOMPARE(kinds.asString(QStringLiteral("Vid")), kVertical);
    QCOMPARE(statuses.asString(QStringLiteral("Status")), u"допускается"_s);
    QCOMPARE(constructs.asString(QStringLiteral("Construct")), u"сталь угловая"_s);
    QCOMPARE(sizes.asString(QStringLiteral("Razmer")), u"0,05x0,05x0,005"_s);
}

void TestSectionFrame::handsTheUsersChoicesOn() {
    QSignalSpy edited(frame_, &SectionFrame::edited);
    QSignalSpy mode(frame_, &SectionFrame::modePressed);
    // What the frame is shown says nothing.
    driver_->setMode(AllSizes);
    QCOMPARE(edited.count() + mode.count(), 0);
    choose(frame_->cmbSech(), u"сталь квадратная"_s);
    QCOMPARE(edited.count(), 1);
    QCOMPARE(edited.last(), (QVariantList{u"cmbSech"_s, u"сталь квадратная"_s}));
    choose(frame_->cmbDiam(), u"0,012"_s);
    QCOMPARE(edited.last(), (QVariantList{u"cmbDiam"_s, u"0,012"_s}));
    QTest::mouseClick(frame_->btnRecMat(), Qt::LeftButton);
    QCOMPARE(mode.count(), 1);
    QCOMPARE(mode.last(), QVariantList{u"btnRecMat"_s});
    QCOMPARE(edited.count(), 2);
}

QTEST_MAIN(TestSectionFrame)
#include "tst_sectionframe.moc"
