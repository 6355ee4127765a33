#include "widgets/main/SplashForm.h"

#include "core/common/Paths.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
QFrame* raisedPanel(QWidget* parent) {
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::Panel);
    f->setFrameShadow(QFrame::Raised);
    return f;
}
} // namespace

SplashForm::SplashForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("TSplashFm"));
    setWindowTitle(QStringLiteral("Kelvor ZU 2.0"));
    setFixedSize(424, 206);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    auto* top = new QHBoxLayout;
    auto* picturePanel = raisedPanel(this);
    auto* pictureLayout = new QVBoxLayout(picturePanel);
    auto* picture = new QLabel(picturePanel);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setFixedSize(164, 150);
    picture->setPixmap(QPixmap(pictureDir() + QStringLiteral("splash.bmp")));
    pictureLayout->addWidget(picture);
    top->addWidget(picturePanel);

    auto* textPanel = raisedPanel(this);
    auto* textLayout = new QVBoxLayout(textPanel);
    auto* title = new QLabel(QStringLiteral("Kelvor ZU 2.0"), textPanel);
    QFont big = title->font();
    big.setPointSize(18);
    big.setBold(true);
    title->setFont(big);
    title->setStyleSheet(QStringLiteral("color: navy"));
    title->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(u"Версия 2.0"_s, textPanel);
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);
    version->setStyleSheet(QStringLiteral("color: navy"));
    version->setAlignment(Qt::AlignCenter);
    auto* memo = new QLabel(u"Программа расчета \nсопротивления заземляющих\nустройств.\n"_s,
                            textPanel);
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->setAlignment(Qt::AlignCenter);
    textLayout->addWidget(title);
    textLayout->addWidget(version);
    textLayout->addWidget(memo);
    top->addWidget(textPanel, 1);
    outer->addLayout(top);

    auto* wait = new QLabel(u"Пожалуйста, подождите..."_s, this);
    wait->setObjectName(QStringLiteral("lblWait"));
    wait->setAlignment(Qt::AlignCenter);
    wait->setFrameShape(QFrame::Panel);
    wait->setFrameShadow(QFrame::Raised);
    outer->addWidget(wait);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

} // namespace kz
