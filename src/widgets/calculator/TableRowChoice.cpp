#include "widgets/calculator/TableRowChoice.h"

#include "core/common/ScopedCount.h"
#include "store/DataModule.h"
#include "store/DataTable.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/reference/TableGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>

using namespace Qt::StringLiterals;

namespace kz {

TableRowChoice::TableRowChoice(const QString& name, const RowChoice& choice, DataModule& data,
                               QWidget* parent)
    : QWidget(parent), choice_(choice), data_(data) {
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    picture_ = new QLabel(this);
    picture_->setObjectName(choice_.pictureName);
    picture_->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture_, 0, Qt::AlignHCenter);
    navigator_ = new TableNavigator(this);
    navigator_->setObjectName(choice_.navigatorName);
    navigator_->setNameField(choice_.keyField);
    layout->addWidget(navigator_);
    grid_ = new TableGrid(this);
    grid_->setObjectName(u"TableGrid"_s);
    grid_->setMinimumHeight(150);
    layout->addWidget(grid_, 1);
    if (!choice_.legendCaption.isEmpty())
        layout->addWidget(new QLabel(choice_.legendCaption, this));
    legend_ = new QPlainTextEdit(this);
    legend_->setObjectName(choice_.legendName);
    legend_->setReadOnly(true);
    legend_->setFocusPolicy(Qt::NoFocus);
    legend_->setLineWrapMode(QPlainTextEdit::NoWrap);
    legend_->setFixedHeight(legend_->fontMetrics().lineSpacing() * 6 + 2 * legend_->frameWidth() + 8);
    layout->addWidget(legend_);
    // A count nobody sees, as a type chosen by picture keeps its number: set by a number only.
    code_ = new QSpinBox(this);
    code_->setObjectName(choice_.codeField);
    code_->setRange(0, INT_MAX);
    code_->hide();
    connect(code_, &QSpinBox::valueChanged, this, [this](int value) {
        if (QString::number(value) != shownCode_)
            choose(QString::number(value));
    });

    keyLabel_ = new QLabel;
    keyLabel_->setObjectName(choice_.textName);
    QFont bold = keyLabel_->font();
    bold.setBold(true);
    keyLabel_->setFont(bold);
    if (!choice_.checkName.isEmpty()) {
        check_ = new QCheckBox(choice_.checkCaption);
        check_->setObjectName(choice_.checkName);
        check_->setChecked(true);
    }
}

const RowTable* TableRowChoice::current() const {
    return index_ >= 0 && index_ < choice_.tables.size() ? &choice_.tables[index_] : nullptr;
}

void TableRowChoice::setTableIndex(int index) {
    if (index < 0 || index >= choice_.tables.size())
        index = 0;
    const ScopedCount quiet(programmatic_);
    if (table_)
        disconnect(table_, nullptr, this, nullptr);
    index_ = index;
    const RowTable* t = current();
    table_ = t ? data_.table(t->table) : nullptr;
    grid_->setTable(table_, t ? t->columns : QStringList());
    if (t && table_) {
        for (const QString& field : t->columns)
            grid_->setColumnAlignment(field, Qt::AlignCenter);
        grid_->setAllEditable();
    }
    navigator_->setTable(table_);
    if (t && !t->picture.isEmpty())
        LoadPicture(picture_, t->picture);
    legend_->setPlainText(t ? t->legend.join(QLatin1Char('\n')) : QString());
    if (table_) {
        reportThroughDialogs(*table_);
        connect(table_, &DataTable::currentChanged, this, &TableRowChoice::tableMoved);
        connect(table_, &DataTable::rowsChanged, this, &TableRowChoice::tableMoved);
        connect(table_, &DataTable::stateChanged, this, &TableRowChoice::tableMoved);
        if (table_->isOpen() && table_->recNo() < 0 && !table_->isEmpty())
            table_->first();
    }
    // Another table is another row, even with the same key.
    shownKey_.clear();
    shownCode_ = u"\x01"_s;
    tableMoved();
}

bool TableRowChoice::hasRow() const {
    return table_ && table_->isOpen() && table_->state() == DataTable::State::Browse && !table_->isEmpty() &&
           table_->recNo() >= 0;
}

QString TableRowChoice::key() const {
    return hasRow() ? table_->asString(choice_.keyField) : QString();
}

QString TableRowChoice::code() const {
    return hasRow() && !table_->isNull(choice_.codeField)
               ? QString::number(table_->asInteger(choice_.codeField))
               : QString();
}

bool TableRowChoice::choose(const QString& keyOrCode) {
    if (!table_ || !table_->isOpen() || keyOrCode.isEmpty())
        return false;
    const ScopedCount quiet(programmatic_);
    bool found = table_->locate(choice_.keyField, keyOrCode);
    if (!found) {
        bool isCode = false;
        const int code = keyOrCode.toInt(&isCode);
        found = isCode && table_->locate(choice_.codeField, code);
    }
    tableMoved();
    return found;
}

void TableRowChoice::tableMoved() {
    // A row being inserted or edited is chosen once it is posted.
    if (table_ && table_->isEditing())
        return;
    const QString k = key();
    const QString c = code();
    if (k == shownKey_ && c == shownCode_)
        return;
    show(k, c);
    emit rowChanged(programmatic_ == 0);
}

void TableRowChoice::show(const QString& key, const QString& code) {
    shownKey_ = key;
    shownCode_ = code;
    keyLabel_->setText(key);
    const QSignalBlocker quiet(code_);
    code_->setValue(code.toInt());
}

} // namespace kz
