#include "widgets/reference/ReferenceDialog.h"

#include "widgets/reference/TableGrid.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/HelpViewer.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

ReferenceDialog::ReferenceDialog(const QString& objectName, const QString& caption, int helpContext,
                                 QDialog::DialogCode closeResult, QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setHelpContext(this, helpContext);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    auto* main = new QVBoxLayout(this);
    body_ = new QVBoxLayout;
    main->addLayout(body_, 1);
    close_ = new QPushButton(u"Закрыть"_s, this);
    close_->setObjectName(QStringLiteral("btnClose"));
    help_ = new QPushButton(u"Справка..."_s, this);
    help_->setObjectName(QStringLiteral("btnHelp"));
    connect(close_, &QPushButton::clicked, this, [this, closeResult] { done(closeResult); });
    connect(help_, &QPushButton::clicked, this, [helpContext] { showHelp(helpContext); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close_);
    buttons->addWidget(help_);
    main->addLayout(buttons);
}

int ReferenceDialog::run() {
    return dialogs().execModal(this);
}

void ReferenceDialog::addHeading(const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("lblHeading"));
    body_->addWidget(label);
}

TableNavigator* ReferenceDialog::addNavigator(DataTable* table, const QString& navigatorName) {
    auto* nav = new TableNavigator(this);
    nav->setObjectName(navigatorName);
    nav->setTable(table);
    auto* row = new QHBoxLayout;
    row->addWidget(nav);
    row->addStretch();
    body_->addLayout(row);
    return nav;
}

TableGrid* ReferenceDialog::addGrid(DataTable* table, const QStringList& fields, const QString& gridName,
                                    const QString& navigatorName, TableNavigator** navigator) {
    TableNavigator* nav = addNavigator(table, navigatorName);
    auto* grid = new TableGrid(this);
    grid->setObjectName(gridName);
    grid->setTable(table, fields);
    grid->setAllEditable();
    grid->setMinimumHeight(220);
    body_->addWidget(grid, 1);
    if (navigator)
        *navigator = nav;
    return grid;
}

void ReferenceDialog::addNote(const QStringList& lines) {
    auto* box = new QGroupBox(u" Примечание "_s, this);
    box->setObjectName(QStringLiteral("grpNote"));
    auto* layout = new QVBoxLayout(box);
    for (const QString& line : lines) {
        auto* label = new QLabel(line, box);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    body_->addWidget(box);
}

void ReferenceDialog::addWidget(QWidget* widget) {
    body_->addWidget(widget);
}

} // namespace kz
