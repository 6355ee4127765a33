#include "widgets/main/HelpNotes.h"
#include "widgets/main/MainForm.h"
#include "widgets/main/Startup.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/HelpViewer.h"
#include "core/common/Paths.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

using namespace kz;
using namespace Qt::StringLiterals;

namespace {
const QString notBuilt = u"еще не выполняется"_s;

// Every help context the running program's windows carry, and the registry's.
QSet<int> contextsInUse() {
    QSet<int> contexts;
    for (const CalculatorInfo& info : CalculatorRegistry::instance().all())
        contexts << info.helpContext;
    for (QWidget* w : QApplication::allWidgets())
        if (const int context = w->property("helpContext").toInt(); context > 0)
            contexts << context;
    return contexts;
}
} // namespace

// The help pages beside the program and the viewer that shows them.
class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // Pages
    void everyContextInUseHasAPage();
    void everyLinkOfTheHelpLeadsToAPage();
    void aCalculatorNotBuiltSaysSoOnItsPage();

    // Viewer
    void backForwardAndContents();
    void aMissingPageIsNeverBlank();

private:
    QTextBrowser* browser() const;
    QToolButton* button(const char* name) const;

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<Program> program_;
};

void TestHelp::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    const QString help = dir_->path() + u"/help"_s;
    QDir().mkpath(help);
    for (const QString& f : QDir(QStringLiteral(KELVOR_BIN_DIR "/help")).entryList(QDir::Files))
        QVERIFY(QFile::copy(QStringLiteral(KELVOR_BIN_DIR "/help/") + f, help + u"/"_s + f));
    QDir().mkpath(dir_->path() + u"/Data"_s);
    for (const QString& f : QDir(QStringLiteral(KELVOR_BIN_DIR "/Data")).entryList(QDir::Files))
        QVERIFY(QFile::copy(QStringLiteral(KELVOR_BIN_DIR "/Data/") + f, dir_->path() + u"/Data/"_s + f));
    setApplicationFolder(dir_->path());
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    program_ = startProgram(false);
}

void TestHelp::cleanup() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == u"HelpViewer"_s)
            delete w;
    program_.reset();
    rec_.reset();
    dir_.reset();
}

QTextBrowser* TestHelp::browser() const {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = w->findChild<QTextBrowser*>(u"HelpBrowser"_s); b && w->isVisible())
            return b;
    return nullptr;
}

QToolButton* TestHelp::button(const char* name) const {
    return browser() ? browser()->parentWidget()->findChild<QToolButton*>(QLatin1String(name)) : nullptr;
}

void TestHelp::everyContextInUseHasAPage() {
    QSet<int> contexts = contextsInUse();
    QVERIFY(contexts.contains(7) && contexts.contains(58)); // the reference dialogs are among them
    // And the windows a calculator opens only when asked, built or still to come.
    for (int context : {6, 7, 8, 9, 10, 11, 13, 34, 35, 36, 37, 38, 39, 40, 57, 58, 59, 60, 61})
        contexts << context;
    for (int context : contexts) {
        QFile page(helpDir() + QString::number(context) + u".html"_s);
        QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
        const QString html = QString::fromUtf8(page.readAll());
        QVERIFY2(html.contains(u"<h1>"_s), qPrintable(page.fileName()));
        // Reachable from the contents.
        QVERIFY2(helpPageHtml(u"index.html"_s).contains(u"href=\"%1.html\""_s.arg(context)),
                 qPrintable(page.fileName()));
    }
    QVERIFY(helpPageHtml(u"index.html"_s).contains(u"href=\"menu.html\""_s));
}

void TestHelp::everyLinkOfTheHelpLeadsToAPage() {
    static const QRegularExpression link(u"href=\"([^\"#:]+)\""_s);
    for (const QString& f : QDir(helpDir()).entryList({u"*.html"_s}, QDir::Files)) {
        QFile page(helpDir() + f);
        QVERIFY(page.open(QIODevice::ReadOnly));
        for (const auto& m : link.globalMatch(QString::fromUtf8(page.readAll())))
            QVERIFY2(QFile::exists(helpDir() + m.captured(1)), qPrintable(f + u" → "_s + m.captured(1)));
    }
}

void TestHelp::aCalculatorNotBuiltSaysSoOnItsPage() {
    // Every calculator is built today; the note stays for one that is listed before it is.
    for (const CalculatorInfo& info : CalculatorRegistry::instance().all()) {
        showHelp(info.helpContext);
        QVERIFY(browser());
        const QString text = browser()->toPlainText();
        QVERIFY2(!text.trimmed().isEmpty(), qPrintable(info.className));
        QCOMPARE(text.contains(notBuilt), !info.factory);
        if (!info.factory)
            QVERIFY2(text.simplified().contains(info.menuCaption.simplified()), qPrintable(info.className));
    }
    QVERIFY(calculatorHelpNote(18).isEmpty()); // the rod in the ground is built
    QVERIFY(calculatorHelpNote(7).isEmpty());  // not a calculator
}

void TestHelp::backForwardAndContents() {
    showHelp(18);
    QTextBrowser* b = browser();
    QVERIFY(b);
    QToolButton* back = button("btnBack");
    QToolButton* forward = button("btnForward");
    QToolButton* contents = button("btnContents");
    QVERIFY(back && forward && contents);
    QCOMPARE(back->text(), u"Назад"_s);
    QCOMPARE(forward->text(), u"Вперед"_s);
    QCOMPARE(contents->text(), u"Содержание"_s);
    QVERIFY(!back->isEnabled());
    QVERIFY(!forward->isEnabled());
    QVERIFY(b->toPlainText().contains(u"Вертикальный заземлитель в земле"_s));

    QTest::mouseClick(contents, Qt::LeftButton);
    QCOMPARE(b->source().fileName(), u"index.html"_s);
    QVERIFY(back->isEnabled());
    // A link of the contents, as a click would follow it.
    b->setSource(QUrl(u"7.html"_s));
    QVERIFY(b->toPlainText().contains(u"Грунты"_s));

    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(b->source().fileName(), u"index.html"_s);
    QVERIFY(forward->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(b->source().fileName(), u"18.html"_s);
    QVERIFY(!back->isEnabled());
    QTest::mouseClick(forward, Qt::LeftButton);
    QTest::mouseClick(forward, Qt::LeftButton);
    QCOMPARE(b->source().fileName(), u"7.html"_s);
    QVERIFY(!forward->isEnabled());
}

void TestHelp::aMissingPageIsNeverBlank() {
    QVERIFY(QFile::remove(helpDir() + u"8.html"_s));
    QFile empty(helpDir() + u"9.html"_s);
    QVERIFY(empty.open(QIODevice::WriteOnly | QIODevice::Truncate));
    empty.close();
    for (int context : {8, 9, 999}) {
        showHelp(context);
        QVERIFY(browser());
        const QString text = browser()->toPlainText();
        QVERIFY2(text.contains(u"Раздел справки не найден"_s), qPrintable(text));
        QVERIFY(text.contains(u"%1.html"_s.arg(context)));
    }
    // Its link back to the contents works.
    browser()->setSource(QUrl(u"index.html"_s));
    QVERIFY(browser()->toPlainText().contains(u"Содержание"_s));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
