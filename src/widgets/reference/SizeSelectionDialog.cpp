#include "widgets/reference/SizeSelectionDialog.h"

#include "store/KorGrRules.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/HelpViewer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
QPushButton* button(QWidget* parent, const char* name, const char* text) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}
} // namespace

SizeSelectionDialog::SizeSelectionDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TSelRazFm"));
    setWindowTitle(u"Выбор размеров заземлителя."_s);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setHelpContext(this, helpContext);

    editMaterial_ = new QLineEdit(this);
    editMaterial_->setObjectName(QStringLiteral("EditMaterial"));
    editMaterial_->setReadOnly(true);
    editFormaData_ = new QLineEdit(this);
    editFormaData_->setObjectName(QStringLiteral("EditFormaData"));
    editFormaData_->setReadOnly(true);
    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(u"Конструкция:"_s, this), 0, 0);
    fields->addWidget(editMaterial_, 0, 1);
    fields->addWidget(new QLabel(u"Формат данных:"_s, this), 1, 0);
    fields->addWidget(editFormaData_, 1, 1);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("CheckListBox1"));
    // Two columns: items flow down and wrap into the next column.
    list_->setFlow(QListView::TopToBottom);
    list_->setWrapping(true);
    list_->setResizeMode(QListView::Adjust);
    list_->setMinimumSize(360, 260);
    connect(list_, &QListWidget::itemChanged, this, &SizeSelectionDialog::updateOk);

    ok_ = button(this, "btnOK", "ОК");
    auto* cancel = button(this, "btnCancel", "Отмена");
    auto* all = button(this, "btnAll", "Все");
    auto* none = button(this, "btnNone", "Ничего");
    auto* invert = button(this, "btnInvert", "Обратить");
    auto* help = button(this, "btnHelp", "Справка...");
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(all, &QPushButton::clicked, this, [this] { setAll(1); });
    connect(none, &QPushButton::clicked, this, [this] { setAll(0); });
    connect(invert, &QPushButton::clicked, this, [this] { setAll(2); });
    connect(help, &QPushButton::clicked, this, [] { showHelp(helpContext); });

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {ok_, cancel, all, none, invert, help})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(new QLabel(u"Размеры заземлителя."_s, this));
    left->addWidget(list_, 1);
    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addLayout(buttons);
}

void SizeSelectionDialog::setConstruction(const QString& construction) {
    editMaterial_->setText(construction);
}

void SizeSelectionDialog::setSizes(const QStringList& sizes, const QStringList& checked) {
    const QSignalBlocker block(list_);
    list_->clear();
    for (const QString& size : sizes) {
        auto* item = new QListWidgetItem(size, list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(checked.contains(size) ? Qt::Checked : Qt::Unchecked);
    }
    updateOk();
}

QStringList SizeSelectionDialog::checkedSizes() const {
    QStringList sizes;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->checkState() == Qt::Checked)
            sizes << list_->item(i)->text();
    return sizes;
}

int SizeSelectionDialog::run() {
    return dialogs().execModal(this);
}

void SizeSelectionDialog::showEvent(QShowEvent* event) {
    editFormaData_->setText(sizeFormatText(editMaterial_->text()));
    updateOk();
    QDialog::showEvent(event);
}

void SizeSelectionDialog::setAll(int mode) {
    {
        const QSignalBlocker block(list_);
        for (int i = 0; i < list_->count(); ++i) {
            QListWidgetItem* item = list_->item(i);
            const bool on = mode == 2 ? item->checkState() != Qt::Checked : mode == 1;
            item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        }
    }
    updateOk();
}

void SizeSelectionDialog::updateOk() {
    bool any = false;
    for (int i = 0; i < list_->count() && !any; ++i)
        any = list_->item(i)->checkState() == Qt::Checked;
    ok_->setEnabled(any);
}

} // namespace kz
