#include "widgets/calculator/HistoryLoadDialog.h"

#include "store/DataModule.h"
#include "store/DataTableModel.h"
#include "store/TableRules.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/common/HelpViewer.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

// Columns that cannot be edited look grey.
class ReadOnlyShade : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!(index.flags() & Qt::ItemIsEditable))
            option->backgroundBrush = option->palette.brush(QPalette::Disabled, QPalette::Window);
    }
};

// A soil, a construction or a size is text and needs the wide field; a number the narrow one.
bool isTextField(const DataTable& table, const QString& field) {
    const int at = table.def().fieldIndex(field);
    return at >= 0 && table.def().fields[at].type == FieldType::String;
}

QTableView* makeGrid(QWidget* parent, const QString& name, DataTableModel* model) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setModel(model);
    grid->setItemDelegate(new ReadOnlyShade(grid));
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QLabel* boldLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

} // namespace

DataTable& loaderTable(DataModule& data, const QString& name) {
    if (DataTable* own = data.windowTable(name))
        return *own;
    return data[name];
}

QString HistoryLoadDialog::manualInsertMessage() {
    return manualHistoryInsertMessage();
}

HistoryLoadDialog::HistoryLoadDialog(DataModule& data, const HistoryLoaderSetup& setup, QWidget* parent)
    : QDialog(parent), table_(loaderTable(data, setup.table)), windowTop_(setup.windowTop) {
    setObjectName(setup.objectName);
    setWindowTitle(u"Загрузка заземляющего устройства."_s);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const int helpContext = setup.helpContext;
    setHelpContext(this, helpContext);

    // Sets come only from the calculators' save.
    previousInsertHook_ = table_.beforeInsert;
    hooked_ = &table_;
    table_.beforeInsert = [this, previous = previousInsertHook_](DataTable& t) {
        if (isVisible()) {
            dialogs().showMessage(manualInsertMessage());
            return false;
        }
        return previous ? previous(t) : true;
    };

    auto* title = boldLabel(setup.title, this);
    title->setObjectName(u"Label12"_s);

    model_ = new DataTableModel(table_, {u"Name"_s, u"R"_s}, this);
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
        QString name;
        QStyle::StandardPixmap icon;
        QString hint;
    } navs[] = {
        {u"nbFirst"_s, QStyle::SP_MediaSkipBackward, u"Первая запись"_s},
        {u"nbPrior"_s, QStyle::SP_MediaSeekBackward, u"Предыдущая запись"_s},
        {u"nbNext"_s, QStyle::SP_MediaSeekForward, u"Следующая запись"_s},
        {u"nbLast"_s, QStyle::SP_MediaSkipForward, u"Последняя запись"_s},
        {u"nbDelete"_s, QStyle::SP_TrashIcon, u"Удаление записи"_s},
        {u"nbEdit"_s, QStyle::SP_FileDialogDetailedView, u"Редактирование записи"_s},
        {u"nbPost"_s, QStyle::SP_DialogApplyButton, u"Сохранение записи"_s},
        {u"nbCancel"_s, QStyle::SP_DialogCancelButton, u"Отмена изменений"_s},
    };
    for (const auto& n : navs) {
        auto* b = new QToolButton(navigator);
        b->setObjectName(n.name);
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
    for (int k = 1; k <= setup.rows; ++k) {
        auto* label = new QLabel(group);
        label->setObjectName(u"Label%1"_s.arg(k));
        auto* edit = new QLineEdit(group);
        edit->setObjectName(u"DBEdit%1"_s.arg(k));
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        QPalette pal = edit->palette();
        pal.setColor(QPalette::Base, pal.color(QPalette::Disabled, QPalette::Window));
        edit->setPalette(pal);
        label->hide();
        edit->hide();
        groupLayout->addWidget(label, k - 1, 0);
        groupLayout->addWidget(edit, k - 1, 1, Qt::AlignLeft);
        labels_ << label;
        edits_ << edit;
        boundFields_ << QString();
    }
    groupLayout->setRowStretch(setup.rows, 1);

    btnOK_ = new QPushButton(setup.okText, this);
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
    if (setup.detail) {
        // The chosen set's rows follow it through the tables' master-detail link.
        QStringList fields;
        for (const HistoryCaption& c : setup.detail->columns)
            fields << c.field;
        auto* detailModel = new DataTableModel(data[setup.detail->table], fields, this);
        for (const HistoryCaption& c : setup.detail->columns)
            detailModel->setTitle(c.field, c.caption);
        QTableView* detailGrid = makeGrid(this, u"DBGrid2"_s, detailModel);
        detailGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        left->addWidget(boldLabel(setup.detail->title, this));
        left->addWidget(detailGrid, 1);
        left->addWidget(new QLabel(setup.detail->notes, this));
    }
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(group);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK_);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    resize(setup.detail ? QSize(820, 520) : QSize(760, 420));

    connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [helpContext] { showHelp(helpContext); });
    connect(navigator_[0], &QToolButton::clicked, this, [this] { table_.first(); });
    connect(navigator_[1], &QToolButton::clicked, this, [this] { table_.prior(); });
    connect(navigator_[2], &QToolButton::clicked, this, [this] { table_.next(); });
    connect(navigator_[3], &QToolButton::clicked, this, [this] { table_.last(); });
    connect(navigator_[4], &QToolButton::clicked, this, [this, confirm = setup.confirmDeletion] {
        if (!confirm || confirmDeletion(table_.text(u"Name"_s)))
            table_.remove();
    });
    connect(navigator_[5], &QToolButton::clicked, this, [this] { table_.edit(); });
    connect(navigator_[6], &QToolButton::clicked, this, [this] { table_.post(); });
    connect(navigator_[7], &QToolButton::clicked, this, [this] { table_.cancel(); });

    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && current.row() != table_.recNo())
                    table_.moveTo(current.row());
            });
    connect(&table_, &DataTable::currentChanged, this, &HistoryLoadDialog::showCurrentRow);
    connect(&table_, &DataTable::rowsChanged, this, &HistoryLoadDialog::showCurrentRow);
    connect(&table_, &DataTable::stateChanged, this, &HistoryLoadDialog::showCurrentRow);
    showCurrentRow();
}

HistoryLoadDialog::~HistoryLoadDialog() {
    if (hooked_)
        hooked_->beforeInsert = previousInsertHook_;
}

QToolButton* HistoryLoadDialog::navigatorButton(const QString& objectName) const {
    for (QToolButton* b : navigator_)
        if (b->objectName() == objectName)
            return b;
    return nullptr;
}

void HistoryLoadDialog::activate() {
    const QStringList& list = fieldList_;
    for (int k = 0; k < labels_.size() && 2 * k + 1 < list.size(); ++k) {
        const QString field = list[2 * k + 1];
        labels_[k]->setText(list[2 * k]);
        labels_[k]->show();
        boundFields_[k] = field;
        // A caption without a field heads the group of fields under it.
        QFont font = labels_[k]->font();
        font.setBold(field.isEmpty());
        labels_[k]->setFont(font);
        if (field.isEmpty())
            continue;
        int width = 50;
        if (isTextField(table_, field)) {
            // Wide enough for the longest text the sets hold ("технологическая эстакада").
            width = 145;
            const int index = table_.def().fieldIndex(field);
            for (int row = 0; index >= 0 && table_.isOpen() && row < table_.recordCount(); ++row)
                width = std::max(width, edits_[k]->fontMetrics().horizontalAdvance(
                                            table_.valueAt(row, index).toString()) + 16);
            width = std::min(width, 320);
        }
        edits_[k]->setFixedWidth(width);
        edits_[k]->show();
    }
    showCurrentRow();
    if (table_.recNo() >= 0)
        grid_->setCurrentIndex(model_->index(table_.recNo(), 0));
    // The fields just shown grow the dialog: its size is settled before it is placed.
    QCoreApplication::sendPostedEvents(this, QEvent::LayoutRequest);
    placeWithinScreen(this, windowTop_);
}

void HistoryLoadDialog::deactivate() {
    fieldList_.clear();
    for (int k = 0; k < labels_.size(); ++k) {
        labels_[k]->hide();
        edits_[k]->hide();
        boundFields_[k].clear();
    }
}

void HistoryLoadDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        activate();
}

void HistoryLoadDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        deactivate();
}

void HistoryLoadDialog::showCurrentRow() {
    for (int k = 0; k < edits_.size(); ++k)
        edits_[k]->setText(boundFields_[k].isEmpty() || !table_.isOpen() ? QString()
                                                                         : table_.text(boundFields_[k]));
    const int row = table_.recNo();
    if (row >= 0 && grid_->currentIndex().row() != row)
        grid_->setCurrentIndex(
            model_->index(row, grid_->currentIndex().isValid() ? grid_->currentIndex().column() : 0));

    const bool rows = table_.isOpen() && table_.recordCount() > 0;
    btnOK_->setEnabled(rows);
    const bool editing = table_.isEditing();
    for (int i = 0; i < 6; ++i)
        navigator_[i]->setEnabled(rows && !editing);
    navigator_[6]->setEnabled(editing);
    navigator_[7]->setEnabled(editing);
}

HistoryLoadDialog& sharedHistoryLoader(DataModule& data, const HistoryLoaderSetup& setup, QWidget* owner) {
    static QMap<QString, QPointer<HistoryLoadDialog>> loaders;
    // Guarded, not a plain address: a new data module may be made where a destroyed one stood, and
    // the loaders must not outlive the tables they show.
    static QPointer<DataModule> of;
    if (of != &data) {
        for (const QPointer<HistoryLoadDialog>& l : std::as_const(loaders))
            delete l.data();
        loaders.clear();
        of = &data;
    }
    QPointer<HistoryLoadDialog>& loader = loaders[setup.objectName];
    if (!loader)
        loader = new HistoryLoadDialog(data, setup, owner);
    return *loader;
}

} // namespace kz
