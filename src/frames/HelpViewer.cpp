#include "HelpViewer.h"

#include "Paths.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kz {

namespace {

class HelpWindow : public QDialog {
public:
    explicit HelpWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
        setObjectName(QStringLiteral("HelpViewer"));
        setWindowTitle(QString::fromUtf8("Справка Kelvor ZU 2.0"));
        setWindowFlag(Qt::WindowContextHelpButtonHint, false);
        setWindowFlag(Qt::WindowMaximizeButtonHint, true);
        browser_->setObjectName(QStringLiteral("HelpBrowser"));
        browser_->setOpenLinks(true);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser_);
        resize(720, 560);
    }
    void open(const QString& page) {
        const QString path = helpDir() + page;
        browser_->setSearchPaths({helpDir()});
        if (QFileInfo(path).isFile())
            browser_->setSource(QUrl::fromLocalFile(path));
        else
            browser_->setHtml(QString::fromUtf8("<p>Раздел справки не найден: ") + path.toHtmlEscaped() +
                              QStringLiteral("</p>"));
        show();
        raise();
        activateWindow();
    }

private:
    QTextBrowser* browser_;
};

QPointer<HelpWindow>& viewer() {
    static QPointer<HelpWindow> window;
    return window;
}

void openPage(const QString& page) {
    // The viewer belongs to the active window so that it stays usable over a modal calculator.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    if (owner && owner->objectName() == QStringLiteral("HelpViewer"))
        owner = owner->parentWidget();
    if (!viewer() || viewer()->parentWidget() != owner) {
        delete viewer();
        viewer() = new HelpWindow(owner);
        viewer()->setAttribute(Qt::WA_DeleteOnClose);
    }
    viewer()->open(page);
}

} // namespace

void showHelp(int context) {
    openPage(QString::number(context) + QStringLiteral(".html"));
}

void showHelpContents() {
    openPage(QStringLiteral("index.html"));
}

int helpContextOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const int context = w->property("helpContext").toInt();
        if (context > 0)
            return context;
    }
    return 0;
}

void setHelpContext(QWidget* window, int context) {
    window->setProperty("helpContext", context);
}

} // namespace kz
