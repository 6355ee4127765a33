#pragma once

#include "core/model/Calculator.h"
#include "core/model/RowGridText.h"
#include "core/session/FrameData.h"
#include "core/session/FrameStates.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QStringList>

// One calculator as its window holds it, without the window: the soil, construction and
// installation frames, the inputs of every kind and the result, with the change rules the window
// applies when the program sets an input (a soil type brings its default p0, a construction its
// sizes, an input its derived values). The batch mode runs every case on a session.
namespace kz {

// Who hears what a session says. The window answers with its message line and boxes; without a
// listener the session collects the messages (CalculatorSession::messages), as the batch reads them.
class SessionListener {
public:
    virtual ~SessionListener();
    // A message of a frame's rule: a resistivity to fill in, a table that cannot be read.
    virtual void said(const QString& message) = 0;
    // A calculation that failed its check: shown says whether it is to be said now, or only
    // marked while the user is still typing.
    virtual void failed(const CheckFailure& failure, bool shown) = 0;
    // After every calculation, with whether a result stands.
    virtual void evaluated(bool ok);
};

class CalculatorSession {
public:
    CalculatorSession(const Calculator& calculator, const FrameData& data);

    const Calculator& calculator() const { return calc_; }

    // The state of the window as it opens.
    void open();
    // Opened again: the user's values stay (the soil of every frame while it is still listed);
    // the lists follow the tables as they now stand.
    void reopen();
    // What the message line says after opening (a type left for one whose table has rows).
    const QString& openingNote() const { return openingNote_; }

    // After a dictionary was edited: the soils (each frame keeps its soil while it is listed),
    // the steels or the corrosion tables (the construction frame in front keeps its choice), the
    // list of a choice input.
    void soilsEdited();
    void sectionsEdited(bool corrosion, int inFront);
    void choiceListEdited(const QString& name);
    // A coefficient table edited: the result on screen follows when it differs (then true).
    bool coefficientsEdited();
    // During a selection run, the values it tries, read before the texts (nullptr after it).
    void setRun(const QMap<QString, long double>* values, bool singleParameter);
    // The two-layer resistivity dialog confirmed: the equivalent resistivity (empty: the layers gave
    // none) and the upper layer's one written as the program writes, the layers (p1, p2, H) kept
    // for the report, and the box that includes the computation offered.
    void setEquivalentResistivity(const QString& resistivity, const QStringList& layers,
                                  const QString& upperLayer);
    bool includeOffered() const { return includeOffered_; }
    // The installation's characteristics and Rдоп as its dialog gave them.
    void setInstallation(const InstallationValues& values);

    // Who drives the session. A case is held to what a user could do in the window: a field
    // takes only what its window lets a user type, a list's text must be one of its items, a grid
    // keeps the rows its count gives, and a choice or a row set by the case is calculated with the
    // case. A window's fields filter the typing and check a text on leaving, its lists may have
    // nothing chosen, its grids take the rows they are given, and a choice calculates at once.
    enum class Driver { Case, Window };
    void setDriver(Driver driver) { byCase_ = driver == Driver::Case; }
    // Automatic calculation switched without calculating (while a window assigns a set of inputs).
    void setAutoCalculation(bool on) { autoScore_ = on; }
    // As the calculate command; shown: a failed check is to be said now, not only marked.
    void calculate(bool shown);
    // The first failed check of the inputs as they stand.
    std::optional<CheckFailure> check() const;
    // Whether a step button may step the input.
    bool allowStep(const QString& name, double step, bool up) const;
    // A type chosen by the user (a picture clicked): the inputs that must fit it move with it.
    void choose(const QString& name, const QString& text);
    // A grid button's command (not the one that clears): what it computed is shown; what it says
    // is for the window to say.
    GridCommand gridCommand(const QString& button);
    // A row chosen in a window's table, or the table edited there: its rows read again, the row
    // with that key chosen and its change handled (the user's row moves the inputs that follow it).
    void rowChosen(const QString& name, const QString& key, bool byUser);
    // The end of a selection run: its values written back, and the result of the last combination.
    void takeSelectionResult(const QMap<QString, long double>& values, int combinations, bool inadmissible,
                             std::optional<long double> r);
    // Before a selection run: the check that refuses it, with the values it computed shown.
    std::optional<CheckFailure> refuseSelection();
    // Before a single-parameter run: its refusal, or else the inputs it needs empty emptied (one
    // calculation follows the run, none follows these).
    std::optional<QString> prepareSingleSelection(const SelectionParameter& parameter);
    // The inputs the calculator disables for the values as they stand.
    QStringList disabledInputs() const { return calc_.disabledInputs(current()); }
    // Values a check or a command computed, shown in their inputs as they stand.
    void showValues(const QMap<QString, QString>& values);
    // A toolbar button's state taken as it is, with nothing done (the window's buttons); its
    // command: the installation's resistivity linked, the linked parameters moved.
    void setToggle(const QString& name, bool down);
    void linkInstallation();
    void linkParameters(const QString& focused);
    // The table a row is chosen from (an index of its row choice's tables).
    int chosenTable(const QString& name) const;
    // The resistance of the result shown.
    std::optional<long double> resistance() const { return r_; }
    // What the message line says while a chosen table has no row.
    QString emptyRowTableMessage() const;
    // A grid's every column, the computed ones too.
    QString gridShown(const QString& name) const { return gridShownText(name); }
    // The inputs as the calculator reads them now.
    const CalcInputs& values() const { return current(); }

    // What the session holds, for a window that shows it.
    int soilCount() const { return int(soils_.size()); }
    const SoilState& soil(int index) const { return soils_[index]; }
    // The soils the frames offer, as they were read when the session opened or the soils changed.
    const QStringList& soilNames() const { return soilNames_; }
    int sectionCount() const { return int(sections_.size()); }
    const SectionState& section(int index) const { return sections_[index]; }
    // The calculated resistivity of the soil frame a construction frame follows; none without one.
    std::optional<QString> sectionResistivity(int index) const {
        return sectionResistivity(sections_[index]);
    }
    // The text of an input or field by its batch name.
    QString text(const QString& name) const;
    // A drop-down list's items and a count's limits.
    QStringList items(const QString& name) const;
    std::pair<int, int> spinRange(const QString& name) const;
    // A toolbar button's, or the include box's, state.
    bool toggled(const QString& name) const;
    const InstallationValues& installation() const { return installation_; }
    const QString& result() const { return result_; }
    const QStringList& order() const { return order_; }
    // Sets an input by its batch name (own inputs plain, frame fields plain or "frame.field"),
    // with the change handling of the window; false with the reason.
    bool set(const QString& name, const QJsonValue& value, QString* error);

    // What an edit did: whether the text was taken (else the reason) and the names of the shown
    // texts it changed, as outputs() names them.
    struct Edit {
        bool taken = false;
        QString error;
        QStringList changed;
    };
    // Sets an input by its batch name as the user's edit (byUser: a linked input follows it) or the
    // program's, with the change handling of the window.
    Edit edit(const QString& name, const QString& text, bool byUser);
    // A button pressed or released by the user: the toolbar's, a size-list mode, a check box.
    Edit press(const QString& name, bool down);
    // The messages go to the listener from now on (none: collected).
    void setListener(SessionListener* listener) { listener_ = listener; }
    // The position an input is assigned at: the calculator's own order, then the frames' and
    // toolbar's inputs; -1 for no input of this calculator.
    int position(const QString& name) const;
    // As the calculate command: the result or the first failed check, whose message is said.
    void calculate();

    // Every text the window shows beside its inputs: read-only fields (qualified by their frame
    // where the name is ambiguous), range labels and the own inputs as they stand; in the order
    // of their names.
    using ShownTexts = QList<std::pair<QString, QString>>;
    ShownTexts outputs() const;
    // The messages said since the session opened.
    const QStringList& messages() const { return messages_; }
    bool hasResult() const { return !result_.isEmpty(); }
    // The conditions of the formula that hold only weakly for the result shown.
    const QStringList& warnings() const { return warnings_; }
    CalcInputs inputs() const;
    ReportSource reportSource() const;
    // The calculator's answers over the values held now, for a window that shows them: a range
    // label or a caption that follows other inputs, the result as shown, the parameters offered
    // for selection, the history layout and the selection kind.
    QString rangeLabel(const QString& label) const { return calc_.rangeLabel(current(), label); }
    QString resultText(long double r) const { return calc_.resultText(r); }
    QList<SelectionParameter> selectionOffer() const { return calc_.selectionOffer(current()); }
    HistoryLayout historyLayout() const { return calc_.historyLayout(current()); }
    int selectionKind() const { return calc_.selectionKind(current()); }

private:
    struct Soil : SoilState {
        const SoilFrameSetup* setup = nullptr;
        QString last;
        QStringList keys; // ComboGrunt, EditRo0, EditPKV, EditRo under the frame's prefix
    };
    struct Section : SectionState {
        const ConstructionFrameSetup* setup = nullptr;
        int soil = -1;
        QStringList keys; // cmbSech, cmbDiam, EditDiam0 and the size-list mode under the prefix
    };
    struct Chosen {
        int table = -1;
        QList<ChoiceRow> rows;
        bool readable = false;
        int current = -1;
        bool checked = true;
        const ChoiceRow* row() const {
            return current >= 0 && current < rows.size() ? &rows[current] : nullptr;
        }
    };
    // A read-only field with the frame it stands in (empty: the window's own panels).
    struct Field {
        QString name;
        QString frame;
        QString text;
    };
    QList<Field> shownFields() const;
    QStringList fieldNames(const QList<Field>& fields) const;

    enum class Target { None, Own, SoilField, SectionField, SectionMode, Installation, Toolbar, RowCheck };
    struct Resolved {
        Target target = Target::None;
        int index = -1;
        QString field;
    };

    Resolved resolve(const QString& name, QString* error) const;
    bool set(const QString& name, const QJsonValue& value, QString* error, bool byUser);
    Edit edit(const QString& name, const QJsonValue& value, bool byUser);
    void say(const QString& message);
    void say(const QStringList& messages);
    enum class Typing { Number, Count, Free };
    Typing typing(const Resolved& r) const;
    static QString untypeable(const QString& name, const QString& text, Typing typing);
    const GeometryInput* own(const QString& name) const;
    QString ownText(const QString& name) const;

    // The window's change handling.
    void geometryChanged(const QString& name, bool byUser);
    void inputChanged(const QString& name, bool byUser);
    void applyDerived(const QMap<QString, QString>& values);
    void writeText(const QString& name, const QString& text);
    bool setInputText(const QString& name, const QString& text);
    void applySpinLimits();
    void changeTail();
    // The result, its order and the values shown with it emptied (not while opening).
    void forgetResult();
    void soilTypeChosen(int index);
    void soilValueChanged(int index);
    void soilFrameChanged(int index, bool typeChange);
    void refreshConstructions(Section& section);
    void constructionChosen(Section& section);
    void sizeChosen(Section& section);
    void sectionChanged();
    // The soil frame's calculated resistivity a section's lists follow; none without a soil frame.
    std::optional<QString> sectionResistivity(const Section& section) const;
    void fill(bool reopening);
    void refillSoils(bool keep);
    void bindRowTable(const GeometryInput& g, bool move);
    QString openOnFilledTable(const GeometryInput& g);
    void rowChanged(const QString& name, bool moveInputs);
    void moveWithRow(const QString& name);
    void layOutGrid(const QString& name, int lastNumber);
    void setGridText(const QString& name, const QString& text);
    // A case's rows for a grid; more rows than its count input gives is an error.
    bool setGivenGrid(const QString& name, const GridRows& rows, QString* error);
    bool gridEdited(const QString& name, bool byUser);
    // The count input that gives a grid its rows, if it has one, and the last row number it gives.
    const GeometryInput* gridCountInput(const GeometryInput& grid) const;
    int gridLastNumber(const GeometryInput& grid) const;
    QString gridText(const QString& name) const;
    // Every column of the grid, the computed ones too: what the window shows.
    QString gridShownText(const QString& name) const;
    void syncInstallation();
    void applySoilResistivity(const QString& ro);
    void linkPressed();
    // A result or a failed check shown.
    void showEvaluation(const Evaluation& e, bool show);

    const Calculator& calc_;
    const CalculatorDescriptor& d_;
    const FrameData& data_;
    QList<Soil> soils_;
    QStringList soilNames_;
    QList<Section> sections_;
    QMap<QString, QString> own_; // texts of the own inputs (a spin's number, a list's item)
    QMap<QString, std::pair<int, int>> spinLimits_;
    QMap<QString, QStringList> items_; // a drop-down list's items
    QMap<QString, GridRows> grids_;
    QMap<QString, Chosen> chosen_;
    InstallationValues installation_;
    bool installationShown_ = true;
    bool linkRo_ = false;
    bool linkParam_ = false;
    bool autoScore_ = false;
    bool picture_ = true;
    bool include_ = false;
    QString result_;
    std::optional<long double> r_;
    QStringList order_;
    QStringList warnings_;
    QStringList messages_;
    SessionListener* listener_ = nullptr; // not owned; a copied session has its own say
    // The inputs as the calculator reads them, refreshed in place (current()).
    const CalcInputs& current() const;
    mutable CalcInputs current_;
    mutable QStringList outputNames_; // sorted
    mutable QList<int> outputLayout_; // a field's place among them; -1: a name another field took
    int tailHold_ = 0;
    bool opening_ = false;
    QString openingNote_;
    const QMap<QString, long double>* run_ = nullptr;
    bool singleRun_ = false;
    QStringList layers_;
    bool includeOffered_ = false;
    bool byCase_ = true;
};

} // namespace kz
