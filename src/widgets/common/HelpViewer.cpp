#include "widgets/common/HelpViewer.h"

#include "core/common/Paths.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QRegularExpression>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

HelpPageNote& pageNote() {
    static HelpPageNote note;
    return note;
}

QString missingPage(const QString& fileName) {
    return u"<html><head><meta charset=\"utf-8\"></head><body><h1>Раздел справки не найден</h1>"
           u"<p>В папке справки нет страницы %1.</p>"
           u"<p>Папка справки: %2</p><p><a href=\"index.html\">Содержание справки</a></p></body></html>"_s
        .arg(fileName.toHtmlEscaped(), QDir::toNativeSeparators(helpDir()).toHtmlEscaped());
}

// Pages named by a context number ("18.html") get the remark of that context.
QString withNote(QString html, const QString& fileName) {
    bool isContext = false;
    const int context = QFileInfo(fileName).completeBaseName().toInt(&isContext);
    if (!isContext || !pageNote())
        return html;
    const QString note = pageNote()(context);
    if (note.isEmpty())
        return html;
    const QString block = u"<p style=\"color:#a00000\">"_s + note + u"</p>"_s;
    int at = html.indexOf(u"</h1>"_s, 0, Qt::CaseInsensitive);
    if (at >= 0) {
        at += 5;
    } else {
        const QRegularExpressionMatch body =
            QRegularExpression(u"<body[^>]*>"_s, QRegularExpression::CaseInsensitiveOption).match(html);
        at = body.hasMatch() ? int(body.capturedEnd()) : 0;
    }
    return html.insert(at, block);
}

// Loads pages through helpPageHtml, so that links inside the help, back and forward see the
// same pages as a context opened from a window.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl& name) override {
        // Every page lives in the one help folder, so its file name is enough whether the link
        // came resolved or relative.
        if (type == QTextDocument::HtmlResource && (name.isLocalFile() || name.isRelative()))
            return helpPageHtml(QFileInfo(name.path()).fileName());
        return QTextBrowser::loadResource(type, name);
    }
};

class HelpWindow : public QDialog {
public:
    explicit HelpWindow(QWidget* parent) : QDialog(parent), browser_(new HelpBrowser(this)) {
        setObjectName(u"HelpViewer"_s);
        setWindowTitle(u"Справка Kelvor ZU 2.0"_s);
        setWindowFlag(Qt::WindowContextHelpButtonHint, false);
        setWindowFlag(Qt::WindowMaximizeButtonHint, true);
        browser_->setObjectName(u"HelpBrowser"_s);
        browser_->setOpenLinks(true);
        browser_->setOpenExternalLinks(true);

        auto button = [this](const char* name, const QString& text, QStyle::StandardPixmap icon) {
            auto* b = new QToolButton(this);
            b->setObjectName(QLatin1String(name));
            b->setText(text);
            b->setIcon(style()->standardIcon(icon));
            b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            b->setAutoRaise(true);
            return b;
        };
        QToolButton* back = button("btnBack", u"Назад"_s, QStyle::SP_ArrowBack);
        QToolButton* forward = button("btnForward", u"Вперед"_s, QStyle::SP_ArrowForward);
        QToolButton* contents = button("btnContents", u"Содержание"_s, QStyle::SP_DirHomeIcon);
        back->setEnabled(false);
        forward->setEnabled(false);
        connect(back, &QToolButton::clicked, browser_, &QTextBrowser::backward);
        connect(forward, &QToolButton::clicked, browser_, &QTextBrowser::forward);
        connect(contents, &QToolButton::clicked, this, [this] { open(u"index.html"_s); });
        connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
        connect(browser_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);

        auto* bar = new QHBoxLayout;
        bar->setContentsMargins(4, 4, 4, 0);
        bar->addWidget(back);
        bar->addWidget(forward);
        bar->addWidget(contents);
        bar->addStretch(1);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addLayout(bar);
        layout->addWidget(browser_);
        resize(760, 600);
    }
    void open(const QString& page) {
        browser_->setSearchPaths({helpDir()});
        const QUrl url = QUrl::fromLocalFile(helpDir() + page);
        // The same page again is read anew: the remark may have changed.
        if (browser_->source() == url)
            browser_->reload();
        else
            browser_->setSource(url);
    }
    void present() {
        show();
        raise();
        activateWindow();
    }

private:
    HelpBrowser* browser_;
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
    if (owner && owner->objectName() == u"HelpViewer"_s)
        owner = owner->parentWidget();
    if (!viewer() || viewer()->parentWidget() != owner) {
        delete viewer();
        viewer() = new HelpWindow(owner);
        viewer()->setAttribute(Qt::WA_DeleteOnClose);
    }
    viewer()->open(page);
    viewer()->present();
}

} // namespace

void showHelp(int context) {
    openPage(QString::number(context) + u".html"_s);
}

void showHelpContents() {
    openPage(u"index.html"_s);
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

void setHelpPageNote(HelpPageNote note) {
    pageNote() = std::move(note);
}

QString helpPageHtml(const QString& fileName) {
    QFile file(helpDir() + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return missingPage(fileName);
    const QString html = QString::fromUtf8(file.readAll());
    if (html.trimmed().isEmpty())
        return missingPage(fileName);
    return withNote(html, fileName);
}

} // namespace kz
