// Developer view of the four shared frames together, as a calculator window arranges them,
// to look at their layout, texts and tab order (also under Xvfb for screenshots).
//   kelvorzu2-gallery            the frames
//   kelvorzu2-gallery --strip    strip steel chosen (second diameter row shown)
//   kelvorzu2-gallery --rform    the permissible-resistance dialog over them
//   kelvorzu2-gallery --tabs     prints the tab order of the window and of the dialog, then quits
#include "store/DataModule.h"
#include "store/StoredFrameData.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/InstallationFrame.h"
#include "widgets/frames/PermissibleResistanceDialog.h"
#include "widgets/frames/SectionFrame.h"
#include "widgets/frames/SoilFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

using namespace kz;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    DataModule data;
    data.openAll(dialogs());

    QDialog window;
    window.setWindowTitle(u"Общие рамки калькулятора"_s);
    setHelpContext(&window, 18);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* toolbar = new CalculatorToolbar(&window);
    layout->addWidget(toolbar);

    auto* main = new QHBoxLayout;
    auto* picture = new QLabel(u"(рисунок)"_s, &window);
    picture->setFrameShape(QFrame::Box);
    picture->setAlignment(Qt::AlignCenter);
    picture->setFixedWidth(180);
    main->addWidget(picture);
    auto* right = new QVBoxLayout;
    auto* soil = new SoilFrame(&window);
    right->addWidget(soil);
    auto* section = new SectionFrame(&window);
    right->addWidget(section);
    right->addStretch(1);
    main->addLayout(right, 1);
    layout->addLayout(main);

    auto* formula = new QFrame(&window);
    formula->setObjectName(QStringLiteral("PanelRaschet"));
    formula->setFrameShape(QFrame::StyledPanel);
    auto* formulaLayout = new QVBoxLayout(formula);
    formulaLayout->addWidget(new QLabel(u"Расчетная формула:   R = ..."_s, formula));
    layout->addWidget(formula);
    auto* installation = new InstallationFrame(&window);
    layout->addWidget(installation);

    QObject::connect(toolbar->btnClose(), &QToolButton::clicked, &window, &QDialog::accept);
    // The frames show states of their own here, as a calculator session keeps them.
    const StoredFrameData frameData(data, StoredFrameData::Reading::Live);
    const QStringList soils = frameData.soilNames();
    SoilState soilState;
    soilState.edit(u"ComboGrunt"_s, listedSoil(QString(), soils), frameData);
    soil->showState(soilState, soils);
    QObject::connect(soil, &SoilFrame::edited, soil, [&](const QString& field, const QString& text) {
        soilState.edit(field, text, frameData);
        soil->showState(soilState, soils);
    });
    const QString kind = u"вертикальный"_s;
    SectionState state;
    QStringList said;
    section->attach(QStringLiteral("D"), QStringLiteral("B"), kind);
    state.refresh(frameData, soil->EditRo()->text(), kind, &said);
    if (args.contains(QStringLiteral("--strip"))) {
        state.construction = u"сталь полосовая"_s;
        state.chooseConstruction(frameData, soil->EditRo()->text(), kind, &said);
    }
    section->showState(state);
    if (args.contains(QStringLiteral("--tabs"))) {
        const auto print = [](QWidget* top) {
            QTextStream out(stdout);
            QWidget* w = top->nextInFocusChain();
            for (int i = 0; w != top && i < 200; ++i, w = w->nextInFocusChain())
                if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(top) && w->isEnabled())
                    out << w->objectName() << ' ' << w->metaObject()->className() << '\n';
            out << "--\n";
        };
        print(&window);
        PermissibleResistanceDialog dialog(&window);
        print(&dialog);
        return 0;
    }
    if (args.contains(QStringLiteral("--rform")))
        QTimer::singleShot(300, installation, &InstallationFrame::choosePermissibleResistance);
    window.show();
    soil->ComboGrunt()->setFocus();
    return app.exec();
}
