#include "widgets/main/AboutForm.h"

#include "core/common/Paths.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

AboutForm::AboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAboutForm"));
    setWindowTitle(u"О программе."_s);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(539, 265);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("Kelvor ZU 2.0"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSize(28);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    auto* line = new QLabel(u"Программа расчета сопротивления заземляющих устройств"_s, this);
    line->setObjectName(QStringLiteral("lblPurpose"));
    QFont bold = line->font();
    bold.setBold(true);
    line->setFont(bold);
    line->setAlignment(Qt::AlignCenter);
    // An installed program keeps the tables in the user's folder: say which folder is in use.
    dataFolder_ = new QLabel(this);
    dataFolder_->setObjectName(QStringLiteral("lblDataFolder"));
    dataFolder_->setAlignment(Qt::AlignCenter);
    dataFolder_->setWordWrap(true);
    dataFolder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* ok = new QPushButton(u"ОК"_s, this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addStretch();
    layout->addWidget(title);
    layout->addWidget(line);
    layout->addStretch();
    layout->addWidget(dataFolder_);
    layout->addWidget(ok, 0, Qt::AlignCenter);
}

void AboutForm::showEvent(QShowEvent* event) {
    dataFolder_->setText(u"Папка данных: "_s + QDir::toNativeSeparators(QDir::cleanPath(dataDir())));
    QDialog::showEvent(event);
}

} // namespace kz
