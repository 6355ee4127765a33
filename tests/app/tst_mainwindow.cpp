#include "widgets/main/AboutForm.h"
#include "widgets/main/MainForm.h"
#include "widgets/main/Startup.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "store/DataModule.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/HelpViewer.h"
#include "core/common/Paths.h"
#include "widgets/common/FormProcedures.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

// Copies the built data and help folders so that a test may change them.
bool copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QString& f : QDir(from).entryList(QDir::Files))
        if (!QFile::copy(QDir(from).filePath(f), QDir(to).filePath(f)))
            return false;
    return true;
}

QStringList captions(const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* a : actions)
        if (!a->isSeparator())
            out << a->text();
    return out;
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void menuTreeHasEveryCaptionInOrder();
    void unbuiltCalculatorsAreDisabled();
    void startUpWithAMissingTableReportsItOnceAndGoesOn();
    void startUpWorksFromAnotherFolder();
    void toolkitDialogsSpeakRussian();
    void statusBarShowsTheLongHintOfAnyWindow();
    void f1OpensTheHelpOfTheActiveWindow();
    void aboutWindowClosesWithOk();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScopedRecordingDialogs> rec_;
};

void TestMainWindow::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(copyFolder(QStringLiteral(KELVOR_BIN_DIR "/Data"), dir_->path() + QStringLiteral("/Data")));
    QVERIFY(copyFolder(QStringLiteral(KELVOR_BIN_DIR "/help"), dir_->path() + QStringLiteral("/help")));
    setApplicationFolder(dir_->path());
    rec_ = std::make_unique<ScopedRecordingDialogs>();
}

void TestMainWindow::cleanup() {
    rec_.reset();
    dir_.reset();
}

void TestMainWindow::menuTreeHasEveryCaptionInOrder() {
    DataModule data;
    MainForm main(data);
    QCOMPARE(main.windowTitle(), QStringLiteral("Kelvor ZU 2.0"));
    const QList<QAction*> top = main.menuBar()->actions();
    QCOMPARE(captions(top), (QStringList{u"Расчеты"_s, u"Помощь"_s, u"Выход"_s}));
    QMenu* calc = top[0]->menu();
    QCOMPARE(captions(calc->actions()),
             (QStringList{u"Одиночные заземлители"_s, u"Сложные заземляющие устройства"_s,
                          u"Заземляющие свойства строительных конструкций"_s}));
    QCOMPARE(
        captions(calc->actions()[0]->menu()->actions()),
        (QStringList{u"Кольцевой в земле..."_s, u"Кольцевой у поверхности земли..."_s,
                     u"Круглая пластина в земле..."_s, u"Круглая пластина на поверхности земли..."_s,
                     u"Прямоугольная пластина в земле (поставлена на ребро)..."_s,
                     u"Прямоугольная пластина в двухслойной земле (поставлена на ребро)..."_s,
                     u"Прямоугольная пластина на поверхности земли..."_s,
                     u"Квадратная пластина на поверхности земли..."_s, u"Сферический в земле..."_s,
                     u"Полусферический у поверхности земли..."_s, u"Горизонтальный заземлитель в земле..."_s,
                     u"Горизонтальный заземлитель в двухслойной земле..."_s,
                     u"Горизонтальный заземлитель на поверхности земли..."_s,
                     u"Вертикальный заземлитель в земле..."_s,
                     u"Вертикальный заземлитель в двухслойной земле 1..."_s,
                     u"Вертикальный заземлитель в двухслойной земле 2..."_s,
                     u"Вертикальный заземлитель у поверхности земли..."_s,
                     u"Вертикальный заземлитель у поверхности двухслойной земли..."_s}));
    QCOMPARE(captions(calc->actions()[1]->menu()->actions()),
             (QStringList{u"Стандартное заземляющее устройство..."_s,
                          u"Сетка из горизонтальных электродов на поверхности земли..."_s,
                          u"Квадратная сетка с квадратными ячейками и вертикальными  электродами..."_s,
                          u"Горизонтальная прямоугольная решетка, размещенная на глубине..."_s,
                          u"Лучевые заземлители..."_s,
                          u"Параллельно уложенные горизонтальные полосовые электроды..."_s}));
    QCOMPARE(captions(calc->actions()[2]->menu()->actions()),
             (QStringList{u"Железобетонные фундаменты..."_s, u"Железобетонные фундаменты зданий..."_s,
                          u"Фундаментное поле здания с металлическими колоннами..."_s, u"Трубопроводы..."_s,
                          u"Технологические эстакады..."_s}));
    QCOMPARE(captions(top[1]->menu()->actions()),
             (QStringList{u"Справка..."_s, u"Проверка расчетов..."_s, u"О программе"_s}));
    QVERIFY(!top[2]->menu()); // "Выход" acts by itself
}

void TestMainWindow::unbuiltCalculatorsAreDisabled() {
    registerBuiltCalculators(CalculatorRegistry::instance());
    DataModule data;
    MainForm main(data);
    for (const CalculatorInfo& info : CalculatorRegistry::instance().all()) {
        auto* action = main.findChild<QAction*>(QStringLiteral("act") + info.className);
        QVERIFY2(action, qPrintable(info.className));
        QCOMPARE(action->isEnabled(), bool(info.factory));
    }
}

void TestMainWindow::startUpWithAMissingTableReportsItOnceAndGoesOn() {
    QVERIFY(QFile::remove(dataDir() + QStringLiteral("raion.db")));
    auto program = startProgram(false);
    QCOMPARE(rec_->messages,
             QStringList{u"Ошибка. Файл "_s + dataDir() + QStringLiteral("raion.db") + u" не найден."_s});
    QVERIFY(!(*program->data)[QStringLiteral("TableRaion")].isOpen());
    QVERIFY((*program->data)[QStringLiteral("TableUde")].isOpen());
    QVERIFY((*program->data)[QStringLiteral("TableKorGrunt4")].isOpen());
    program.reset(); // closing skips the table that never opened, silently
    QCOMPARE(rec_->messages.size(), 1);
}

void TestMainWindow::startUpWorksFromAnotherFolder() {
    QTemporaryDir moved;
    QVERIFY(copyFolder(dataDir(), moved.path() + QStringLiteral("/Data")));
    setApplicationFolder(moved.path());
    auto program = startProgram(false);
    QVERIFY(rec_->messages.isEmpty());
    QVERIFY((*program->data)[QStringLiteral("TableUde")].filePath().startsWith(moved.path()));
}

void TestMainWindow::toolkitDialogsSpeakRussian() {
    auto program = startProgram(false);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Отмена"_s);
    QCOMPARE(QCoreApplication::translate("QFileDialog", "&Save"), u"&Сохранить"_s);
}

void TestMainWindow::statusBarShowsTheLongHintOfAnyWindow() {
    DataModule data;
    MainForm main(data);
    main.show();
    QDialog calculator(&main);
    auto* button = new QPushButton(QStringLiteral("x"), &calculator);
    setHint(button, u"Короткая|Выполнить расчет"_s);
    calculator.show();
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(button, &enter);
    QCOMPARE(main.statusText(), u"Выполнить расчет"_s);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    QCOMPARE(main.statusText(), QString());
}

void TestMainWindow::f1OpensTheHelpOfTheActiveWindow() {
    QFile page(helpDir() + QStringLiteral("18.html"));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html><body><p>context eighteen</p></body></html>");
    page.close();
    DataModule data;
    MainForm main(data);
    main.show();
    QDialog calculator(&main);
    setHelpContext(&calculator, 18);
    calculator.show();
    calculator.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&calculator));
    QTest::keyClick(&calculator, Qt::Key_F1);
    auto* browser = calculator.findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
    QVERIFY(browser);
    QVERIFY(browser->toPlainText().contains(QStringLiteral("context eighteen")));
}

void TestMainWindow::aboutWindowClosesWithOk() {
    AboutForm about;
    QCOMPARE(about.windowTitle(), u"О программе."_s);
    about.show();
    auto* ok = about.findChild<QPushButton*>(QStringLiteral("btnOK"));
    QCOMPARE(ok->text(), u"ОК"_s);
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(about.result(), int(QDialog::Accepted));
    QVERIFY(about.findChild<QLabel*>(QStringLiteral("lblPurpose"))->text() ==
            u"Программа расчета сопротивления заземляющих устройств"_s);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
