#include "widgets/calculator/BoltFieldHistoryDialog.h"

#include "store/HistoryStore.h"
#include "core/model/RowGridText.h"
#include "core/calculators/structures/MKFundCalc.h"
#include "store/BoltFieldHistoryStore.h"
#include "store/DataModule.h"
#include "store/DataTableModel.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/HelpViewer.h"
#include "core/common/Paths.h"
#include "widgets/common/FormProcedures.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
constexpr int helpContext = 37;

QTableView* makeGrid(QWidget* parent, const QString& name, DataTableModel* model) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}
} // namespace

BoltFieldHistoryDialog::BoltFieldHistoryDialog(DataModule& data, QWidget* parent)
    : QDialog(parent), data_(data), sets_(data[u"TableHistMK0"_s]), distances_(data[u"TableHistMK1"_s]) {
    setObjectName(u"THistFrmMK"_s);
    setWindowTitle(u"Загрузка заземляющего устройства."_s);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setHelpContext(this, helpContext);
    // Sets come only from the calculator's save: the table refuses an insert while this is shown.
    data_.histMKShown = [this] { return isVisible(); };

    auto* title = new QLabel(u"Заземляющие устройства"_s, this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    model_ = new DataTableModel(sets_, {u"Name"_s, u"R"_s}, this);
    model_->setEditable(u"Name"_s, true);
    model_->setTitle(u"Name"_s, u"Наименование"_s);
    model_->setTitle(u"R"_s, u"R, Ом"_s);
    grid_ = makeGrid(this, u"DBGrid1"_s, model_);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    grid_->setColumnWidth(0, 247);
    grid_->setMinimumWidth(340);

    auto* navigator = new QWidget(this);
    navigator->setObjectName(u"DBNavigator1"_s);
    auto* navLayout = new QHBoxLayout(navigator);
    navLayout->setContentsMargins(0, 0, 0, 0);
    navLayout->setSpacing(0);
    const struct {
        const char* name;
        QStyle::StandardPixmap icon;
        QString hint;
    } navs[] = {
        {"nbFirst", QStyle::SP_MediaSkipBackward, u"Первая запись"_s},
        {"nbPrior", QStyle::SP_MediaSeekBackward, u"Предыдущая запись"_s},
        {"nbNext", QStyle::SP_MediaSeekForward, u"Следующая запись"_s},
        {"nbLast", QStyle::SP_MediaSkipForward, u"Последняя запись"_s},
        {"nbDelete", QStyle::SP_TrashIcon, u"Удаление записи"_s},
        {"nbEdit", QStyle::SP_FileDialogDetailedView, u"Редактирование записи"_s},
        {"nbPost", QStyle::SP_DialogApplyButton, u"Сохранение записи"_s},
        {"nbCancel", QStyle::SP_DialogCancelButton, u"Отмена изменений"_s},
    };
    for (const auto& n : navs) {
        auto* b = new QToolButton(navigator);
        b->setObjectName(QString::fromLatin1(n.name));
        b->setIcon(style()->standardIcon(n.icon));
        b->setFocusPolicy(Qt::NoFocus);
        setHint(b, n.hint);
        navLayout->addWidget(b);
        navigator_ << b;
    }
    navLayout->addStretch(1);

    auto* group = new QGroupBox(u" Параметры "_s, this);
    group->setObjectName(u"GroupBox1"_s);
    auto* groupLayout = new QGridLayout(group);
    for (int k = 1; k <= fieldRows; ++k) {
        auto* label = new QLabel(group);
        label->setObjectName(u"Label%1"_s.arg(k));
        auto* edit = new QLineEdit(group);
        edit->setObjectName(u"DBEdit%1"_s.arg(k));
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setFixedWidth(60);
        QPalette pal = edit->palette();
        pal.setColor(QPalette::Base, pal.color(QPalette::Disabled, QPalette::Window));
        edit->setPalette(pal);
        groupLayout->addWidget(label, k - 1, 0);
        groupLayout->addWidget(edit, k - 1, 1);
        labels_ << label;
        edits_ << edit;
        fields_ << QString();
    }

    auto* distanceTitle = new QLabel(u"Расстояния до анкерных болтов"_s, this);
    distanceTitle->setFont(bold);
    auto* distanceModel = new DataTableModel(distances_, {u"Xi"_s, u"Yi"_s, u"Zi"_s}, this);
    distanceModel->setTitle(u"Xi"_s, u"Xi, м"_s);
    distanceModel->setTitle(u"Yi"_s, u"Yi, м"_s);
    distanceModel->setTitle(u"Zi"_s, u"Zi, м"_s);
    distanceGrid_ = makeGrid(this, u"DBGrid2"_s, distanceModel);
    distanceGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* notes = new QLabel(u"Xi - расстояние по горизонтали от 1-го анкерного болта до i-го.\n"
                             u"Yi - расстояние по вертикали от 1-го анкерного болта до i-го.\n"
                             u"Zi - полное расстояние от 1-го анкерного болта до i-го."_s,
                             this);

    btnOK_ = new QPushButton(u"ОК"_s, this);
    btnOK_->setObjectName(u"btnOK"_s);
    auto* cancel = new QPushButton(u"Отмена"_s, this);
    cancel->setObjectName(u"btnCancel"_s);
    auto* help = new QPushButton(u"Справка..."_s, this);
    help->setObjectName(u"btnHelp"_s);
    for (QPushButton* b : {btnOK_, cancel, help})
        b->setAutoDefault(false);

    auto* left = new QVBoxLayout;
    left->addWidget(title);
    left->addWidget(grid_, 1);
    left->addWidget(navigator);
    left->addWidget(distanceTitle);
    left->addWidget(distanceGrid_, 1);
    left->addWidget(notes);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(group, 0, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK_);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    resize(820, 520);

    connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelp(helpContext); });
    connect(navigator_[0], &QToolButton::clicked, this, [this] { sets_.first(); });
    connect(navigator_[1], &QToolButton::clicked, this, [this] { sets_.prior(); });
    connect(navigator_[2], &QToolButton::clicked, this, [this] { sets_.next(); });
    connect(navigator_[3], &QToolButton::clicked, this, [this] { sets_.last(); });
    // No confirmation: the set goes with its distances.
    connect(navigator_[4], &QToolButton::clicked, this, [this] { sets_.remove(); });
    connect(navigator_[5], &QToolButton::clicked, this, [this] { sets_.edit(); });
    connect(navigator_[6], &QToolButton::clicked, this, [this] { sets_.post(); });
    connect(navigator_[7], &QToolButton::clicked, this, [this] { sets_.cancel(); });
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && current.row() != sets_.recNo())
                    sets_.moveTo(current.row());
            });
    connect(&sets_, &DataTable::currentChanged, this, &BoltFieldHistoryDialog::showCurrentRow);
    connect(&sets_, &DataTable::rowsChanged, this, &BoltFieldHistoryDialog::showCurrentRow);
    connect(&sets_, &DataTable::stateChanged, this, &BoltFieldHistoryDialog::showCurrentRow);
}

BoltFieldHistoryDialog::~BoltFieldHistoryDialog() {
    data_.histMKShown = nullptr;
}

void BoltFieldHistoryDialog::setCaptions(const QList<HistoryCaption>& captions) {
    for (int k = 0; k < fieldRows; ++k) {
        const bool used = k < captions.size();
        labels_[k]->setText(used ? captions[k].caption : QString());
        fields_[k] = used ? captions[k].field : QString();
        labels_[k]->setVisible(used);
        edits_[k]->setVisible(used);
    }
    showCurrentRow();
}

QToolButton* BoltFieldHistoryDialog::navigatorButton(const QString& objectName) const {
    for (QToolButton* b : navigator_)
        if (b->objectName() == objectName)
            return b;
    return nullptr;
}

void BoltFieldHistoryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        showCurrentRow();
}

void BoltFieldHistoryDialog::showCurrentRow() {
    for (int k = 0; k < fieldRows; ++k)
        edits_[k]->setText(fields_[k].isEmpty() || !sets_.isOpen() ? QString() : sets_.text(fields_[k]));
    const int row = sets_.recNo();
    if (row >= 0 && grid_->currentIndex().row() != row)
        grid_->setCurrentIndex(model_->index(row, 0));
    const bool rows = sets_.isOpen() && sets_.recordCount() > 0;
    btnOK_->setEnabled(rows);
    const bool editing = sets_.isEditing();
    for (int i = 0; i < 6; ++i)
        navigator_[i]->setEnabled(rows && !editing);
    navigator_[6]->setEnabled(editing);
    navigator_[7]->setEnabled(editing);
}

namespace {

BoltFieldHistoryDialog& loader(DataModule& data, QWidget* owner) {
    static QPointer<BoltFieldHistoryDialog> dialog;
    static DataModule* of = nullptr;
    if (dialog && of != &data)
        delete dialog;
    if (!dialog) {
        dialog = new BoltFieldHistoryDialog(data, owner);
        of = &data;
    }
    return *dialog;
}

// Open both tables; a table left closed has been reported by name.
bool openTables(DataModule& data) {
    for (const QString& name : {u"TableHistMK0"_s, u"TableHistMK1"_s}) {
        DataTable& t = data[name];
        if (!t.isOpen() && !t.open(dataDir()))
            return false;
    }
    return true;
}

bool saveSet(DataModule& data, const HistoryLayout& layout, const QString& name, const InputTexts& inputs) {
    BoltFieldSet set;
    set.name = name;
    set.fields = layout.recordFromInputs(inputs);
    set.distances = parseGridRows(inputs.value(mkfund::gridName()), mkfund::distanceColumns);
    QString error;
    if (!saveBoltFieldSet(dataDir(), set, &error)) {
        dialogs().showMessage(error);
        return false;
    }
    // The loader's tables read their rows again.
    for (const QString& table : {u"TableHistMK0"_s, u"TableHistMK1"_s})
        if (DataTable* t = data.table(table); t && t->isOpen())
            t->refresh();
    return true;
}

std::optional<InputTexts> loadSet(DataModule& data, const HistoryLayout& layout, QWidget* owner) {
    if (!openTables(data))
        return std::nullopt;
    BoltFieldHistoryDialog& dialog = loader(data, owner);
    dialog.setCaptions(layout.captions);
    if (dialogs().execModal(&dialog) != QDialog::Accepted)
        return std::nullopt;
    DataTable& sets = dialog.sets();
    if (sets.isEditing() && !sets.post())
        sets.cancel();
    if (!sets.isOpen() || sets.isEmpty())
        return std::nullopt;
    InputTexts texts = layout.inputsFromRecord(currentHistoryTexts(sets, layout));
    GridRows rows;
    DataTable& distances = dialog.distances();
    for (distances.first(); !distances.eof(); distances.next())
        rows << QStringList{distances.text(u"Xi"_s), distances.text(u"Yi"_s), distances.text(u"Zi"_s)};
    texts.insert(mkfund::gridName(), gridRowsText(rows));
    return texts;
}

} // namespace

OwnHistory boltFieldHistory() {
    return OwnHistory{saveSet, loadSet};
}

} // namespace kz
