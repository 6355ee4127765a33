#include "widgets/frames/FrameWidgets.h"

#include <QHash>

#include "widgets/common/FormProcedures.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

// Resources of a static library are registered by hand.
static void initFrameIcons() {
    Q_INIT_RESOURCE(frames_icons);
}

namespace kz {

QIcon frameIcon(const QString& name) {
    static const bool registered = (initFrameIcons(), true);
    Q_UNUSED(registered);
    // Every calculator window has a toolbar: parse each drawing once, not once per window.
    static QHash<QString, QIcon> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(name, QIcon(QStringLiteral(":/icons/") + name + QStringLiteral(".svg")));
    return *it;
}

QToolButton* makeToolButton(QWidget* parent, const QString& objectName, const QString& icon,
                            const QString& hint, bool toggle) {
    auto* b = new QToolButton(parent);
    b->setObjectName(objectName);
    if (!icon.isEmpty())
        b->setIcon(frameIcon(icon));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setCheckable(toggle);
    setHint(b, hint);
    return b;
}

QLineEdit* makeDisplayField(QWidget* parent, const QString& objectName, bool inTabOrder) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(objectName);
    e->setReadOnly(true);
    if (!inTabOrder)
        e->setFocusPolicy(Qt::NoFocus);
    QPalette p = e->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    e->setPalette(p);
    return e;
}

QLineEdit* makeEdit(QWidget* parent, const QString& objectName, const QString& text, const QString& hint) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(objectName);
    if (!hint.isEmpty())
        setHint(e, hint);
    return e;
}

QLabel* makeLabel(QWidget* parent, const QString& text, const QString& objectName) {
    auto* l = new QLabel(text, parent);
    if (!objectName.isEmpty())
        l->setObjectName(objectName);
    return l;
}

} // namespace kz
