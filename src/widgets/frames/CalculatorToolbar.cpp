#include "widgets/frames/CalculatorToolbar.h"

#include "widgets/frames/InstallationFrame.h"
#include "widgets/frames/FrameWidgets.h"
#include "widgets/common/HelpViewer.h"

#include <QHBoxLayout>
#include <QLayout>
#include <QProgressBar>
#include <QToolButton>

namespace kz {

namespace {
QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
} // namespace

CalculatorToolbar::CalculatorToolbar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ButtonFrame1"));
    setFrameShape(QFrame::StyledPanel);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(3, 2, 3, 2);
    row->setSpacing(1);
    const auto group = [row, this] { row->addWidget(separator(this)); };

    btnSave_ = addButton("btnSave", "save", "Сохранить параметры расчета в таблице базы данных");
    btnLoad_ = addButton("btnLoad", "load", "Загрузить параметры расчета из таблицы базы данных");
    btnCopy_ = addButton("btnCopy", "copy", "Копировать параметры расчета в оперативную память");
    btnPaste_ = addButton("btnPaste", "paste", "Вставить параметры расчета из оперативной памяти");
    group();
    btnReport_ = addButton("btnReport", "report", "Экспорт отчета в Microsoft Word");
    group();
    btnPodbor_ = addButton("btnPodbor", "podbor", "Подбор параметров");
    btnParPodbor_ = addButton("btnParPodbor", "parpodbor", "Настройка параметров подбора");
    btnUndoPodbor_ = addButton("btnUndoPodbor", "undopodbor", "Вернуть значения параметров, бывшие до подбора (Ctrl+Z)");
    group();
    btnAutoScore_ = addButton("btnAutoScore", "autoscore", "Режим авторасчета", true);
    btnLinkRo_ =
        addButton("btnLinkRo", "linkro",
                  "Синхронизация изменения удельных сопротивлений грунта (воды) и электроустановки", true);
    btnLinkParam_ =
        addButton("btnLinkParam", "linkparam", "Синхронизация изменения связанных параметров", true);
    group();
    btnFormula_ = addButton("btnFormula", "formula", "Формула и порядок расчета", true);
    btnEU_ = addButton("btnEU", "eu", "Характеристика электроустановки", true);
    btnPicture_ = addButton("btnPicture", "picture", "Экспорт изображения с отчетом в Microsoft Word", true);
    btnMemo_ = addButton("btnMemo", "memo", "Просмотр порядка расчета");
    group();
    btnKI_ = addButton("btnKI", "ki", "Таблицы данных");
    btnGrunt_ = addButton("btnGrunt", "grunt", "Справочник удельных сопротивлений грунтов");
    btnKP_ = addButton("btnKP", "kp", "Справочник климатических районов");
    btnMaterial_ = addButton("btnMaterial", "material", "Справочник материалов заземлителей");
    btnKorGrunt_ = addButton("btnKorGrunt", "korgrunt", "Справочник коррозионной активности грунтов");
    group();
    speedButton1_ = addButton("SpeedButton1", "help", "Вызов справки");

    gauge1_ = new QProgressBar(this);
    gauge1_->setObjectName(QStringLiteral("Gauge1"));
    gauge1_->setRange(0, 100);
    gauge1_->setValue(0);
    gauge1_->setFixedWidth(150);
    gauge1_->setStyleSheet(
        QStringLiteral("QProgressBar { border: 1px solid #7f9db9; background: white; "
                       "text-align: center; } QProgressBar::chunk { background: #1f5fbf; }"));
    gauge1_->hide();
    row->addSpacing(8);
    row->addWidget(gauge1_);
    btnBreak_ = addButton("btnBreak", "break", "Прервать подбор параметров");
    btnBreak_->hide();
    row->addStretch(1);
    btnClose_ = addButton("btnClose", "close", "Закрыть диалог");

    btnPaste_->setEnabled(false);
    btnUndoPodbor_->setEnabled(false); // until a selection run has changed the inputs
    btnMemo_->setEnabled(false);
    btnKI_->setEnabled(false);
    btnKP_->setEnabled(false); // until the climate-region dialog is set
    btnFormula_->setChecked(true);
    btnEU_->setChecked(true);
    btnPicture_->setChecked(true);

    connect(btnFormula_, &QToolButton::toggled, this, &CalculatorToolbar::toggleFormulaPanel);
    connect(btnEU_, &QToolButton::toggled, this, &CalculatorToolbar::toggleInstallationFrame);
    connect(btnMemo_, &QToolButton::clicked, this, &CalculatorToolbar::showCalcOrder);
    connect(btnKP_, &QToolButton::clicked, this, &CalculatorToolbar::showClimateRegions);
    connect(speedButton1_, &QToolButton::clicked, this, &CalculatorToolbar::showWindowHelp);
    connect(btnBreak_, &QToolButton::clicked, this, &CalculatorToolbar::requestBreak);
}

QToolButton* CalculatorToolbar::addButton(const char* name, const char* icon, const char* hint, bool toggle) {
    QToolButton* b =
        makeToolButton(this, QLatin1String(name), QLatin1String(icon), QString::fromUtf8(hint), toggle);
    b->setIconSize(QSize(20, 20));
    layout()->addWidget(b);
    buttons_ << b;
    return b;
}

QToolButton* CalculatorToolbar::button(const QString& objectName) const {
    for (QToolButton* b : buttons_)
        if (b->objectName() == objectName)
            return b;
    return nullptr;
}

void CalculatorToolbar::togglePanel(QWidget* panel, bool show) {
    if (!panel || panel->isHidden() != show)
        return;
    QWidget* owner = window();
    // A panel never laid out has no height of its own yet.
    const int h = owner->isVisible() ? panel->height() : panel->sizeHint().height();
    const int target = owner->height() + (show ? h : -h);
    panel->setVisible(show);
    if (owner == this)
        return;
    // The window's minimum height follows the panel only once its layout has been redone.
    if (QLayout* layout = owner->layout())
        layout->activate();
    if (owner->minimumHeight() == owner->maximumHeight())
        owner->setFixedHeight(target);
    else
        owner->resize(owner->width(), target);
}

void CalculatorToolbar::toggleFormulaPanel() {
    auto* panel = qobject_cast<QFrame*>(window()->findChild<QWidget*>(QStringLiteral("PanelRaschet")));
    togglePanel(panel, btnFormula_->isChecked());
}

void CalculatorToolbar::toggleInstallationFrame() {
    auto* frame = qobject_cast<InstallationFrame*>(window()->findChild<QWidget*>(QStringLiteral("frmEU1")));
    togglePanel(frame, btnEU_->isChecked());
}

void CalculatorToolbar::showCalcOrder() {
    if (calcOrderViewer_)
        calcOrderViewer_();
}

void CalculatorToolbar::showClimateRegions() {
    if (climateRegionDialog_)
        climateRegionDialog_();
}

void CalculatorToolbar::showWindowHelp() {
    showHelp(helpContextOf(window()));
}

void CalculatorToolbar::requestBreak() {
    breakRequested_ = true;
}

void CalculatorToolbar::setCalcOrderViewer(std::function<void()> show) {
    calcOrderViewer_ = std::move(show);
}

void CalculatorToolbar::setClimateRegionDialog(std::function<void()> show) {
    climateRegionDialog_ = std::move(show);
    btnKP_->setEnabled(bool(climateRegionDialog_));
}

void CalculatorToolbar::setSelectionRunning(bool running) {
    gauge1_->setValue(0);
    gauge1_->setVisible(running);
    btnBreak_->setVisible(running);
}

} // namespace kz
