#include "widgets/selection/SelectionSetsDialog.h"

#include "store/DataTable.h"
#include "store/SelectionSets.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/reference/TableGrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
constexpr int helpContext = 40;
}

SelectionSetsDialog::SelectionSetsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(u"TPodborFm"_s);
    setWindowTitle(u"Загрузка параметров подбора."_s);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setHelpContext(this, helpContext);

    sets_ = std::make_unique<DataTable>(*findTableDef(u"podbor0.DB"_s));
    rows_ = std::make_unique<DataTable>(*findTableDef(u"podbor1.DB"_s));
    reportThroughDialogs(*sets_);
    reportThroughDialogs(*rows_);
    for (DataTable* t : {sets_.get(), rows_.get()})
        t->beforeInsert = [this](DataTable&) {
            if (!isVisible())
                return true;
            dialogs().showMessage(u"Добавление записей запрещено."_s);
            return false;
        };

    grid1_ = new TableGrid(this);
    grid1_->setObjectName(u"DBGrid1"_s);
    grid1_->setMinimumWidth(330);
    grid2_ = new TableGrid(this);
    grid2_->setObjectName(u"DBGrid2"_s);
    grid2_->setMinimumWidth(430);

    auto* navigator = new QWidget(this);
    navigator->setObjectName(u"DBNavigator1"_s);
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

    btnOK_ = new QPushButton(u"OK"_s, this);
    btnOK_->setObjectName(u"btnOK"_s);
    auto* cancel = new QPushButton(u"Отмена"_s, this);
    cancel->setObjectName(u"btnCancel"_s);
    auto* help = new QPushButton(u"Справка..."_s, this);
    help->setObjectName(u"btnHelp"_s);

    auto* grids = new QHBoxLayout;
    grids->addWidget(grid1_, 2);
    grids->addWidget(grid2_, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {btnOK_, cancel, help})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grids, 1);
    layout->addWidget(navigator);
    layout->addLayout(buttons);
    resize(800, 360);

    connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelp(helpContext); });
    connect(navigator_[0], &QToolButton::clicked, this, [this] { sets_->first(); });
    connect(navigator_[1], &QToolButton::clicked, this, [this] { sets_->prior(); });
    connect(navigator_[2], &QToolButton::clicked, this, [this] { sets_->next(); });
    connect(navigator_[3], &QToolButton::clicked, this, [this] { sets_->last(); });
    // As everywhere in the program, a stored set is deleted only after the question naming it.
    connect(navigator_[4], &QToolButton::clicked, this, [this] {
        if (sets_->isOpen() && !sets_->isEmpty() && confirmDeletion(sets_->text(u"Name"_s)))
            deleteCurrentSet();
    });
    connect(sets_.get(), &DataTable::currentChanged, this, &SelectionSetsDialog::updateButtons);
    connect(sets_.get(), &DataTable::rowsChanged, this, &SelectionSetsDialog::updateButtons);
    updateButtons();
}

SelectionSetsDialog::~SelectionSetsDialog() {
    closeTables();
}

QToolButton* SelectionSetsDialog::navigatorButton(const QString& objectName) const {
    for (QToolButton* b : navigator_)
        if (b->objectName() == objectName)
            return b;
    return nullptr;
}

bool SelectionSetsDialog::openTables(const QString& dataDir) {
    closeTables();
    dataDir_ = dataDir;
    QString error;
    if (!SelectionSets(dataDir).ensureFiles(&error)) {
        dialogs().showMessage(error);
        return false;
    }
    if (!sets_->open(dataDir) || !rows_->open(dataDir)) {
        closeTables();
        return false;
    }
    rows_->setMaster(sets_.get());
    sets_->first();
    grid1_->setTable(sets_.get(), {u"Name"_s, u"R"_s});
    grid2_->setTable(rows_.get(), {u"Param"_s, u"BValue"_s, u"EValue"_s, u"Shag"_s});
    updateButtons();
    return true;
}

void SelectionSetsDialog::closeTables() {
    if (grid1_)
        grid1_->setTable(nullptr);
    if (grid2_)
        grid2_->setTable(nullptr);
    rows_->setMaster(nullptr);
    rows_->close();
    sets_->close();
    updateButtons();
}

std::optional<SelectionSet> SelectionSetsDialog::currentSet() const {
    if (!sets_->isOpen() || sets_->isEmpty())
        return std::nullopt;
    SelectionSet set{sets_->asInteger(u"Kod"_s), sets_->asString(u"Name"_s), sets_->asFloat(u"R"_s), {}};
    const TableDef& def = rows_->def();
    const int param = def.fieldIndex(u"Param"_s);
    const int start = def.fieldIndex(u"BValue"_s);
    const int end = def.fieldIndex(u"EValue"_s);
    const int step = def.fieldIndex(u"Shag"_s);
    for (int r = 0; r < rows_->recordCount(); ++r)
        set.rows << SelectionSetRow{rows_->valueAt(r, param).toString(), rows_->valueAt(r, start).toDouble(),
                                    rows_->valueAt(r, end).toDouble(), rows_->valueAt(r, step).toDouble()};
    return set;
}

void SelectionSetsDialog::deleteCurrentSet() {
    if (!sets_->isOpen() || sets_->isEmpty())
        return;
    const int at = sets_->recNo();
    QString error;
    if (!SelectionSets(dataDir_).remove(sets_->asInteger(u"Kod"_s), &error))
        dialogs().showMessage(error);
    sets_->refresh();
    rows_->refresh();
    if (!sets_->isEmpty())
        sets_->moveTo(std::min(at, sets_->recordCount() - 1));
    updateButtons();
}

void SelectionSetsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    updateButtons();
}

void SelectionSetsDialog::updateButtons() {
    const bool any = sets_ && sets_->isOpen() && !sets_->isEmpty();
    btnOK_->setEnabled(any);
    if (navigator_.size() < 5)
        return;
    const int row = any ? sets_->recNo() : -1;
    navigator_[0]->setEnabled(any && row > 0);
    navigator_[1]->setEnabled(any && row > 0);
    navigator_[2]->setEnabled(any && row < sets_->recordCount() - 1);
    navigator_[3]->setEnabled(any && row < sets_->recordCount() - 1);
    navigator_[4]->setEnabled(any);
}

} // namespace kz
