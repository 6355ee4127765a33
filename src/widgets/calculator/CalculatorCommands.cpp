#include "widgets/calculator/CalculatorCommands.h"

#include "core/session/CalculatorSession.h"
#include "report/DocxWriter.h"
#include "store/DataModule.h"
#include "store/KorGrRules.h"
#include "widgets/calculator/CalcOrderViewer.h"
#include "widgets/calculator/CalculatorWindow.h"
#include "widgets/calculator/OwnHistory.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/SectionFrame.h"
#include "widgets/frames/SoilFrame.h"
#include "widgets/report/ReportExport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
CalcOrderViewer& sharedCalcOrderViewer(QWidget* calculator) {
    static QPointer<CalcOrderViewer> form;
    if (!form)
        form = new CalcOrderViewer(sharedWindowOwner(calculator));
    return *form;
}
} // namespace

CalculatorCommands::CalculatorCommands(CalculatorWindow& window, const Calculator& calculator,
                                       DataModule& data)
    : window_(window), calc_(calculator), d_(calculator.description()), data_(data) {}

void CalculatorCommands::wire() {
    CalculatorToolbar* t = window_.ui_.toolbar;
    connect(t->btnSave(), &QToolButton::clicked, this, &CalculatorCommands::saveToHistory);
    connect(t->btnLoad(), &QToolButton::clicked, this, &CalculatorCommands::loadFromHistory);
    connect(t->btnCopy(), &QToolButton::clicked, this, &CalculatorCommands::copyParameters);
    connect(t->btnPaste(), &QToolButton::clicked, this, &CalculatorCommands::pasteParameters);
    connect(t->btnReport(), &QToolButton::clicked, this, &CalculatorCommands::exportReport);
    connect(t->btnGrunt(), &QToolButton::clicked, this, &CalculatorCommands::runSoilDictionary);
    connect(t->btnMaterial(), &QToolButton::clicked, this, [this] { runSectionDictionary(false); });
    connect(t->btnKorGrunt(), &QToolButton::clicked, this, [this] { runSectionDictionary(true); });
    t->btnKI()->setEnabled(false);
    t->btnMemo()->setEnabled(d_.multiLineOrder);
    if (d_.multiLineOrder)
        t->setCalcOrderViewer([this] { showCalcOrderViewer(); });
    t->btnPaste()->setEnabled(false);
    wireTablesDialog();
}

void CalculatorCommands::enableDictionaries() {
    const ReferenceDialogs& refs = referenceDialogs();
    CalculatorToolbar* t = window_.ui_.toolbar;
    const bool sections = !window_.ui_.sections.isEmpty();
    t->btnGrunt()->setEnabled(bool(refs.soils));
    t->btnMaterial()->setEnabled((sections || materialChoice()) && refs.steels);
    t->btnKorGrunt()->setEnabled(sections && refs.corrosion);
}

void CalculatorCommands::showCalcOrderViewer() {
    if (!window_.ui_.memo)
        return;
    CalcOrderViewer& form = sharedCalcOrderViewer(&window_);
    QStringList lines;
    for (QTextBlock b = window_.ui_.memo->document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    form.setLines(lines);
    dialogs().execModal(&form);
}

void CalculatorCommands::saveToHistory() {
    if (!window_.checkInputs(true))
        return;
    const HistoryLayout h = window_.session().historyLayout();
    const auto name = dialogs().inputText(
        h.promptCaption.isEmpty() ? u"Введите наименование заземляющего устройства."_s : h.promptCaption,
        h.promptLabel.isEmpty() ? u"Наименование заземляющего устройства:"_s : h.promptLabel, h.presetName);
    if (!name)
        return;
    if (name->isEmpty()) {
        dialogs().showMessage(u"Введите значение наименования заземляющего устройства."_s);
        return;
    }
    const OwnHistory& history = historyOf(h);
    // A set of the same name is replaced only when the user says so.
    if (const auto existing = history.existing(data_, h, *name))
        if (dialogs().question(u"Набор параметров \"%1\" уже сохранен. Заменить его?"_s.arg(*existing),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
    QStringList inputs = d_.inputOrder;
    for (const HistoryField& f : h.fields)
        inputs << f.input;
    history.save(data_, h, *name, window_.currentInputs(inputs));
}

void CalculatorCommands::loadFromHistory() {
    const HistoryLayout h = window_.session().historyLayout();
    if (const auto texts = historyOf(h).load(data_, h, sharedWindowOwner(&window_)))
        window_.applyInputs(*texts);
}

void CalculatorCommands::copyParameters() {
    if (!window_.checkInputs(true))
        return;
    copyBuffer_.store(window_.currentInputs(d_.copyInputs));
    window_.ui_.toolbar->btnPaste()->setEnabled(true);
}

void CalculatorCommands::pasteParameters() {
    if (copyBuffer_.isEmpty())
        return;
    window_.applyInputs(copyBuffer_.texts());
}

void CalculatorCommands::exportReport() {
    if (!d_.report || window_.ui_.result->text().isEmpty())
        return;
    const QString path =
        askReportPath(&window_, u"Экспорт отчета в Microsoft Word"_s, reportFileName(d_.caption));
    if (path.isEmpty())
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool written = writeReport(path, &error);
    QApplication::restoreOverrideCursor();
    if (!written) {
        dialogs().showMessage(error);
        return;
    }
    announceReport(path);
}

bool CalculatorCommands::writeReport(const QString& path, QString* error) {
    if (!d_.report || window_.ui_.result->text().isEmpty()) {
        *error = u"Нет результата расчета для отчета."_s;
        return false;
    }
    QProgressBar* gauge = window_.ui_.toolbar->Gauge1();
    gauge->setRange(0, d_.reportSteps);
    gauge->setValue(0);
    gauge->show();
    ReportBuilder report(dialogs());
    report.onProgress = [gauge] { gauge->setValue(std::min(gauge->value() + 1, gauge->maximum())); };
    kz::writeReport(d_, report, window_.reportSource());
    const bool written = writeDocx(report.paragraphs(), path, error);
    gauge->hide();
    return written;
}

void CalculatorCommands::runSoilDictionary() {
    const auto& open = referenceDialogs().soils;
    if (!open)
        return;
    // Without a soil frame the dictionary is only shown: nothing here depends on it.
    if (window_.ui_.soils.isEmpty())
        return open(&window_);
    // It opens on the soil of the layer in view.
    const int inFront = window_.ui_.layerTabs ? std::clamp(window_.ui_.layerTabs->currentIndex(), 0,
                                                           int(window_.ui_.soils.size()) - 1)
                                              : 0;
    const SoilFrame* shown = window_.ui_.soils[inFront].frame;
    if (DataTable* soils = data_.table(QStringLiteral("P_udel.DB")); soils && soils->isOpen())
        soils->locate(QStringLiteral("Grunt"), shown->ComboGrunt()->currentText());
    open(&window_);
    window_.session_->soilsEdited();
    window_.redraw();
}

void CalculatorCommands::runSectionDictionary(bool corrosion) {
    if (window_.ui_.sections.isEmpty() && !corrosion)
        return runChoiceDictionary();
    const auto& open = corrosion ? referenceDialogs().corrosion : referenceDialogs().steels;
    if (window_.ui_.sections.isEmpty() || !open)
        return;
    const int front = window_.sectionInFront();
    SectionFrame* section = window_.ui_.sections[front].frame;
    if (corrosion)
        locateCorrosion(front);
    else if (referenceDialogs().locateSteel)
        referenceDialogs().locateSteel(section->cmbSech()->currentText(), section->cmbDiam()->currentText());
    open(&window_);
    window_.session_->sectionsEdited(corrosion, front);
    window_.redraw();
}

void CalculatorCommands::locateCorrosion(int index) {
    const CalculatorSession& session = *window_.session_;
    const SectionState& section = session.section(index);
    if (section.mode == AllSizes)
        return;
    QStringList said;
    const auto p = queryResistivity(session.sectionResistivity(index), &said);
    for (const QString& message : said)
        dialogs().showMessage(message);
    if (p)
        locateCorrosionRows(data_, *p, window_.ui_.sections[index].setup->setup.electrodeKind, section.mode,
                            section.construction, section.size);
}

const GeometryInput* CalculatorCommands::materialChoice() const {
    for (const GeometryInput& g : d_.geometry)
        if (g.isChoice() && !g.choice->material.isEmpty())
            return &g;
    return nullptr;
}

void CalculatorCommands::runChoiceDictionary() {
    const GeometryInput* g = materialChoice();
    const auto& open = referenceDialogs().steels;
    if (!g || !open)
        return;
    if (referenceDialogs().locateSteel)
        referenceDialogs().locateSteel(g->choice->material,
                                       window_.ui_.choices.value(g->name)->currentText());
    open(&window_);
    window_.session_->choiceListEdited(g->name);
    window_.redraw();
    window_.sayEmptyChoices();
}

void CalculatorCommands::wireTablesDialog() {
    if (!d_.tablesDialog)
        return;
    QToolButton* button = window_.ui_.toolbar->btnKI();
    button->setEnabled(true);
    setHint(button, d_.tablesDialog->hint);
    connect(button, &QToolButton::clicked, this, [this] {
        if (referenceDialogs().tables)
            referenceDialogs().tables(&window_, d_.tablesDialog->dialog,
                                      window_.inputText(d_.tablesDialog->input));
    });
}

} // namespace kz
