#include "widgets/frames/SectionFrame.h"

#include "core/common/Paths.h"
#include "core/rules/SectionRules.h"
#include "store/TableProcedures.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/frames/FrameWidgets.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

void setItems(QComboBox* list, const QStringList& items) {
    const QSignalBlocker block(list);
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(items.isEmpty() ? -1 : 0);
}
} // namespace

SectionFrame::SectionFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("frmSech1"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    setHint(panel, u"Панель выбора конструкции заземлителя"_s);
    outer->addWidget(panel);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);

    grid->addWidget(makeLabel(panel, u"Конструкция:"_s), 0, 0);
    cmbSech_ = new QComboBox(panel);
    cmbSech_->setObjectName(QStringLiteral("cmbSech"));
    setHint(cmbSech_, u"Конструкция заземлителя|Конструкция заземлителя"_s);
    grid->addWidget(cmbSech_, 0, 1);

    auto* modeRow = new QHBoxLayout;
    modeRow->setSpacing(1);
    btnAllMat_ = makeToolButton(panel, QStringLiteral("btnAllMat"), QStringLiteral("allmat"),
                                u"Все конструкции и размеры заземлителя"_s, true);
    btnRecMat_ = makeToolButton(panel, QStringLiteral("btnRecMat"), QStringLiteral("recmat"),
                                u"Рекомендуемые конструкции и размеры заземлителя"_s, true);
    btnDopMat_ = makeToolButton(panel, QStringLiteral("btnDopMat"), QStringLiteral("dopmat"),
                                u"Допустимые конструкции и размеры заземлителя"_s, true);
    modes_ = new QButtonGroup(this);
    modes_->setExclusive(true);
    modes_->addButton(btnAllMat_, AllSizes);
    modes_->addButton(btnRecMat_, RecommendedSizes);
    modes_->addButton(btnDopMat_, PermittedSizes);
    btnAllMat_->setChecked(true);
    for (QToolButton* b : {btnAllMat_, btnRecMat_, btnDopMat_})
        modeRow->addWidget(b);
    modeRow->addStretch(1);
    grid->addLayout(modeRow, 0, 2, 1, 2);

    grid->addWidget(makeLabel(panel, u"Размеры, м:"_s), 1, 0);
    cmbDiam_ = new QComboBox(panel);
    cmbDiam_->setObjectName(QStringLiteral("cmbDiam"));
    cmbDiam_->setMaxVisibleItems(20);
    const QString sizeHint = u"Значение диаметра (ширины полки уголка, ширины полосы и т.д.)"_s;
    setHint(cmbDiam_, sizeHint + QLatin1Char('|') + sizeHint);
    grid->addWidget(cmbDiam_, 1, 1);

    lblD_ = makeLabel(panel, u"D - диаметр, м:"_s, QStringLiteral("lblD"));
    grid->addWidget(lblD_, 2, 0);
    editDiam0_ = makeDisplayField(panel, QStringLiteral("EditDiam0"));
    grid->addWidget(editDiam0_, 2, 1, Qt::AlignLeft);
    lblRD_ = makeLabel(panel, u"D - диаметр, м:"_s, QStringLiteral("lblRD"));
    lblRD_->hide();
    grid->addWidget(lblRD_, 2, 2);
    editDiam_ = makeDisplayField(panel, QStringLiteral("EditDiam"));
    editDiam_->setFixedWidth(70);
    editDiam_->hide();
    grid->addWidget(editDiam_, 2, 3);
    cmbSech_->setFixedWidth(170);
    cmbDiam_->setFixedWidth(170);
    editDiam0_->setFixedWidth(80);
    grid->setColumnStretch(4, 1);

    connect(cmbSech_, &QComboBox::currentIndexChanged, this,
            [this] { emit edited(u"cmbSech"_s, cmbSech_->currentText()); });
    connect(cmbDiam_, &QComboBox::currentIndexChanged, this,
            [this] { emit edited(u"cmbDiam"_s, cmbDiam_->currentText()); });
    connect(modes_, &QButtonGroup::idClicked, this,
            [this](int id) { emit modePressed(modes_->button(id)->objectName()); });
}

SectionFrame::~SectionFrame() = default;

void SectionFrame::attach(const QString& letterD, const QString& letterB, const QString& kindWord) {
    letterD_ = letterD;
    letterB_ = letterB;
    kind_ = kindWord;
}

void SectionFrame::showState(const SectionState& state) {
    state_ = state;
    if (QAbstractButton* b = modes_->button(state.mode); b && !b->isChecked()) {
        const QSignalBlocker block(modes_);
        b->setChecked(true);
    }
    const QSignalBlocker blockSech(cmbSech_);
    const QSignalBlocker blockDiam(cmbDiam_);
    QStringList shown;
    for (int i = 0; i < cmbSech_->count(); ++i)
        shown << cmbSech_->itemText(i);
    if (shown != state.constructions)
        setItems(cmbSech_, state.constructions);
    cmbSech_->setCurrentIndex(int(state.constructions.indexOf(state.construction)));
    showLabels();
    shown.clear();
    for (int i = 0; i < cmbDiam_->count(); ++i)
        shown << cmbDiam_->itemText(i);
    if (shown != state.sizes)
        setItems(cmbDiam_, state.sizes);
    cmbDiam_->setCurrentIndex(int(state.sizes.indexOf(state.size)));
    editDiam0_->setText(state.shownSize);
    editDiam_->setText(state.equivalent);
}

void SectionFrame::showLabels() {
    const int construction = constructionOf(state_.construction);
    lblD_->setText(sizeLabel(construction, letterD_, letterB_));
    const bool equivalent = usesEquivalentDiameter(construction);
    if (equivalent)
        lblRD_->setText(equivalentDiameterLabel(letterD_));
    lblRD_->setVisible(equivalent);
    editDiam_->setVisible(equivalent);
    if (const QString hint = sizeListHint(construction); !hint.isEmpty())
        setHint(cmbDiam_, hint);
}

int SectionFrame::GetSizeMode() const {
    if (btnDopMat_->isChecked())
        return PermittedSizes;
    if (btnRecMat_->isChecked())
        return RecommendedSizes;
    return AllSizes;
}

QString SectionFrame::diameterText() const {
    return usesEquivalentDiameter(constructionOf(cmbSech_->currentText())) ? editDiam_->text()
                                                                           : cmbDiam_->currentText();
}

} // namespace kz
