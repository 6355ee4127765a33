#include "widgets/calculator/HistoryLoadDialog.h"

#include "store/DataModule.h"
#include "store/DataTableModel.h"
#include "store/TableRules.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/common/FormProcedures.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
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

constexpr int helpContext = 35;

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

bool isTextField(const QString& field) {
    static const QStringList texts = {QStringLiteral("Grunt"), QStringLiteral("Construct"),
                                      QStringLiteral("Construct1"), QStringLiteral("Razmer")};
    return texts.contains(field);
}
} // namespace

QString HistoryLoadDialog::manualInsertMessage() {
    return manualHistoryInsertMessage();
}

HistoryLoadDialog::HistoryLoadDialog(DataModule& data, QWidget* parent)
    : HistoryLoadDialog(data, QStringLiteral("TableHist1"), QStringLiteral("THistFrm1"), fieldRows, parent) {}

StandardHistoryDialog::StandardHistoryDialog(DataModule& data, QWidget* parent)
    : HistoryLoadDialog(data, QStringLiteral("TableHistory"), QStringLiteral("THistForm"), rows, parent) {}

HistoryLoadDialog::HistoryLoadDialog(DataModule& data, const QString& table, const QString& objectName, int rows, QWidget* parent)
    : QDialog(parent), rows_(rows), table_(data[table]) {
    setObjectName(objectName);
    setWindowTitle(u"Загрузка заземляющего устройства."_s);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setHelpContext(this, helpContext);

    previousInsertHook_ = table_.beforeInsert;
    table_.beforeInsert = [this, previous = previousInsertHook_](DataTable& t) {
        if (isVisible()) {
            dialogs().showMessage(manualInsertMessage());
            return false;
        }
        return previous ? previous(t) : true;
    };

    auto* title = new QLabel(u"Заземляющие устройства"_s, this);
    title->setObjectName(QStringLiteral("Label12"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    model_ = new DataTableModel(table_, {QStringLiteral("Name"), QStringLiteral("R")}, this);
    model_->setEditable(QStringLiteral("Name"), true);
    model_->setTitle(QStringLiteral("Name"), u"Наименование"_s);
    model_->setTitle(QStringLiteral("R"), u"R, Ом"_s);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setModel(model_);
    grid_->setItemDelegate(new ReadOnlyShade(grid_));
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    grid_->verticalHeader()->setDefaultSectionSize(20);
    grid_->setColumnWidth(0, 247);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setMinimumWidth(340);

    auto* navigator = new QWidget(this);
    navigator->setObjectName(QStringLiteral("DBNavigator1"));
    auto* navLayout = new QHBoxLayout(navigator);
    navLayout->setContentsMargins(0, 0, 0, 0);
    navLayout->setSpacing(0);
    struct Nav {
        const char* name;
        QStyle::StandardPixmap icon;
        const char* hint;
    };
    const Nav navs[] = {
        {"nbFirst", QStyle::SP_MediaSkipBackward, "Первая запись"},
        {"nbPrior", QStyle::SP_MediaSeekBackward, "Предыдущая запись"},
        {"nbNext", QStyle::SP_MediaSeekForward, "Следующая запись"},
        {"nbLast", QStyle::SP_MediaSkipForward, "Последняя запись"},
        {"nbDelete", QStyle::SP_TrashIcon, "Удаление записи"},
        {"nbEdit", QStyle::SP_FileDialogDetailedView, "Редактирование записи"},
        {"nbPost", QStyle::SP_DialogApplyButton, "Сохранение записи"},
        {"nbCancel", QStyle::SP_DialogCancelButton, "Отмена изменений"},
    };
    for (const Nav& n : navs) {
        auto* b = new QToolButton(navigator);
        b->setObjectName(QString::fromLatin1(n.name));
        b->setIcon(style()->standardIcon(n.icon));
        b->setFocusPolicy(Qt::NoFocus);
        setHint(b, QString::fromUtf8(n.hint));
        navLayout->addWidget(b);
        navigator_ << b;
    }
    navLayout->addStretch(1);

    auto* group = new QGroupBox(u" Параметры "_s, this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* groupLayout = new QGridLayout(group);
    for (int k = 1; k <= rows_; ++k) {
        auto* label = new QLabel(group);
        label->setObjectName(QStringLiteral("Label%1").arg(k));
        auto* edit = new QLineEdit(group);
        edit->setObjectName(QStringLiteral("DBEdit%1").arg(k));
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
    groupLayout->setRowStretch(rows_, 1);

    btnOK_ = new QPushButton(u"ОК"_s, this);
    btnOK_->setObjectName(QStringLiteral("btnOK"));
    auto* cancel = new QPushButton(u"Отмена"_s, this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto* help = new QPushButton(u"Справка..."_s, this);
    help->setObjectName(QStringLiteral("btnHelp"));
    for (QPushButton* b : {btnOK_, cancel, help})
        b->setAutoDefault(false);

    auto* left = new QVBoxLayout;
    left->addWidget(title);
    left->addWidget(grid_, 1);
    left->addWidget(navigator);
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
    resize(760, 420);

    connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelp(helpContext); });
    connect(navigator_[0], &QToolButton::clicked, this, [this] { table_.first(); });
    connect(navigator_[1], &QToolButton::clicked, this, [this] { table_.prior(); });
    connect(navigator_[2], &QToolButton::clicked, this, [this] { table_.next(); });
    connect(navigator_[3], &QToolButton::clicked, this, [this] { table_.last(); });
    connect(navigator_[4], &QToolButton::clicked, this, [this] {
        if (confirmDeletion(table_.text(QStringLiteral("Name"))))
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
}

HistoryLoadDialog::~HistoryLoadDialog() {
    table_.beforeInsert = previousInsertHook_;
}

QToolButton* HistoryLoadDialog::navigatorButton(const QString& objectName) const {
    for (QToolButton* b : navigator_)
        if (b->objectName() == objectName)
            return b;
    return nullptr;
}

void HistoryLoadDialog::activate() {
    const QStringList& list = fieldList_;
    for (int k = 0; k < rows_ && 2 * k + 1 < list.size(); ++k) {
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
        edits_[k]->setFixedWidth(isTextField(field) ? 145 : 50);
        edits_[k]->show();
    }
    showCurrentRow();
    if (table_.recNo() >= 0)
        grid_->setCurrentIndex(model_->index(table_.recNo(), 0));
}

void HistoryLoadDialog::deactivate() {
    fieldList_.clear();
    for (int k = 0; k < rows_; ++k) {
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
    for (int k = 0; k < rows_; ++k)
        edits_[k]->setText(boundFields_[k].isEmpty() || !table_.isOpen() ? QString()
                                                                         : table_.text(boundFields_[k]));
    const int row = table_.recNo();
    if (row >= 0 && grid_->currentIndex().row() != row)
        grid_->setCurrentIndex(
            model_->index(row, grid_->currentIndex().isValid() ? grid_->currentIndex().column() : 0));
    updateControls();
}

void HistoryLoadDialog::updateControls() {
    const bool rows = table_.isOpen() && table_.recordCount() > 0;
    btnOK_->setEnabled(rows);
    const bool editing = table_.isEditing();
    for (int i = 0; i < 5; ++i)
        navigator_[i]->setEnabled(rows && !editing);
    navigator_[5]->setEnabled(rows && !editing);
    navigator_[6]->setEnabled(editing);
    navigator_[7]->setEnabled(editing);
}

} // namespace kz
