#include "widgets/main/MainForm.h"

#include "widgets/main/AboutForm.h"
#include "widgets/main/HelpNotes.h"
#include "widgets/main/VerificationDialog.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/HelpViewer.h"
#include "core/common/NumberText.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace kz {

MainForm::MainForm(DataModule& data, QWidget* parent)
    : QMainWindow(parent), data_(data), hintPanel_(new QLabel) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Kelvor ZU 2.0"));
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    hintPanel_->setObjectName(QStringLiteral("HintPanel"));
    hintPanel_->setMinimumWidth(550);
    statusBar()->addWidget(hintPanel_, 1);
    buildMenu();
    setHelpPageNote(calculatorHelpNote);
    qApp->installEventFilter(this);
}

MainForm::~MainForm() {
    qApp->removeEventFilter(this);
    qDeleteAll(windows_);
}

void MainForm::buildMenu() {
    QMenu* calc = menuBar()->addMenu(u"Расчеты"_s);
    calc->setObjectName(QStringLiteral("menuCalc"));
    QMap<QString, QMenu*> submenus;
    for (const CalculatorInfo& info : CalculatorRegistry::instance().all()) {
        const QString sub = info.menuPath.value(1);
        QMenu*& menu = submenus[sub];
        if (!menu)
            menu = calc->addMenu(sub);
        QAction* action = menu->addAction(info.menuCaption);
        action->setObjectName(QStringLiteral("act") + info.className);
        action->setEnabled(bool(info.factory));
        const QString cls = info.className;
        connect(action, &QAction::triggered, this, [this, cls] { openCalculator(cls); });
    }
    QMenu* help = menuBar()->addMenu(u"Помощь"_s);
    help->setObjectName(QStringLiteral("menuHelp"));
    connect(help->addAction(u"Справка..."_s), &QAction::triggered, this,
            [] { showHelpContents(); });
    QAction* verify = help->addAction(u"Проверка расчетов..."_s);
    verify->setObjectName(QStringLiteral("actVerification"));
    connect(verify, &QAction::triggered, this, &MainForm::showVerification);
    connect(help->addAction(u"О программе"_s), &QAction::triggered, this, [this] {
        AboutForm about(this);
        dialogs().execModal(&about);
    });
    QAction* quit = menuBar()->addAction(u"Выход"_s);
    quit->setObjectName(QStringLiteral("actExit"));
    connect(quit, &QAction::triggered, this, &QWidget::close);
}

void MainForm::createWindows() {
    CalculatorEnvironment env{data_};
    for (const CalculatorInfo& info : CalculatorRegistry::instance().all()) {
        if (!info.factory || windows_.contains(info.className))
            continue;
        QDialog* w = info.factory(env, this);
        w->setObjectName(info.className);
        setHelpContext(w, info.helpContext);
        windows_.insert(info.className, w);
    }
}

void MainForm::showVerification() {
    VerificationDialog verification(data_, this);
    dialogs().execModal(&verification);
}

void MainForm::openCalculator(const QString& className) {
    if (QDialog* w = windows_.value(className))
        dialogs().execModal(w);
}

QString MainForm::statusText() const {
    return hintPanel_->text();
}

void MainForm::showHint(const QString& hint) {
    hintPanel_->setText(longHint(hint));
}

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
        if (auto* w = qobject_cast<QWidget*>(watched)) {
            const QString hint = w->property("hint").toString();
            showHint(hint.isEmpty() ? w->statusTip() : hint);
        }
        break;
    case QEvent::Leave:
        if (qobject_cast<QWidget*>(watched))
            showHint(QString());
        break;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 && watched->isWidgetType()) {
            QWidget* active = QApplication::activeModalWidget();
            if (!active)
                active = QApplication::activeWindow();
            if (const int context = helpContextOf(active)) {
                showHelp(context);
                return true;
            }
            if (active == this) {
                showHelpContents();
                return true;
            }
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kz
