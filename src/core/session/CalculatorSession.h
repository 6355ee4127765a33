#pragma once

#include "core/session/FrameData.h"
#include "core/session/FrameStates.h"
#include "core/model/Calculator.h"
#include "core/model/RowGridText.h"

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
};

class CalculatorSession {
public:
    CalculatorSession(const Calculator& calculator, const FrameData& data);

    const Calculator& calculator() const { return calc_; }

    // The state of the window as it opens.
    void open();
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
    void bindRowTable(const GeometryInput& g);
    void openOnFilledTable(const GeometryInput& g);
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
    void calculate(bool show);
    QString emptyRowTableMessage() const;

    const Calculator& calc_;
    const CalculatorDescriptor& d_;
    const FrameData& data_;
    QList<Soil> soils_;
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
    int rebinding_ = 0;
    bool opening_ = false;
};

} // namespace kz
