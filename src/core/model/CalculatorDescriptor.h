#pragma once

#include "core/model/HistoryMapping.h"
#include "core/model/ReportModel.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The values a calculator window is made of. The shared window builds itself from them; a
// calculator adds only its formula and the hooks that need code.
namespace kz {

// Arguments of the construction frame's initialisation.
struct ConstructionSetup {
    QString letterD = QStringLiteral("D");
    QString letterB = QStringLiteral("B");
    QString electrodeKind; // "вертикальный" or "горизонтальный"
};

// A soil frame of the window. The first frame of a calculator with one or two layers reaches its
// fields by their plain names ("EditRo0"), any other by its prefix ("pFrame1.EditRo0").
struct SoilFrameSetup {
    QString name;             // object name: "pFrame", "pFrame1", "FramePV"
    QString prefix;           // "" or "pFrame1.", "FramePV."
    QString tab;              // its page when the window has several soil frames
    QString resistivityLabel; // the lblRo caption; empty: the frame's own
    // Its calculated resistivity is the one the installation frame takes.
    bool installation = false;
    // Fields of the history table it is kept in.
    QString soilField, measuredField, coefficientField;
    // On its page, beside the frames: a picture with the conditions of its formula on tabs, and a
    // read-only description.
    QString pictureFile;
    QString pictureTabs; // "PageControl2": tabs "Рисунок" and "Условия применения формул"
    QString imageName; // "Image1"
    QStringList conditionLines;
    QString descriptionName; // "Memo2"
    QStringList descriptionLines;
};

// A construction frame, initialised with its soil frame's calculated resistivity; its fields are
// reached by its prefix ("frmSechV.cmbSech"), the first one without one by their plain names. Its
// size-list mode is the pseudo input prefix + "SizeSetMode".
struct ConstructionFrameSetup {
    QString name;   // "frmSech1", "frmSechV"
    QString prefix; // "" or "frmSechV."
    ConstructionSetup setup;
    QString soil;  // the soil frame's name
    int page = -1; // the soil frame's page it stands on; -1: under the soil frames
    QString modeField, constructionField, sizeField;
};

// A reference table whose grid row is chosen: the table of one item of the input that picks it.
struct RowTable {
    QString table;       // data module table, "SvFundTable"
    QStringList columns; // fields shown in the grid, the key first
    // Values of the chosen row by the names the calculator reads them under (input + "." + name):
    // name → field.
    QList<QPair<QString, QString>> values;
    QString picture; // above the grid
    QStringList legend;
    // Said in the window's message line while the table has no rows to choose.
    QString emptyMessage;
};

// A row of a reference table chosen as the current row of its grid, on a tab of its own with the
// record navigator (rows are added and edited under the table's rules). The input's text is the
// row's key; its code is the input's field "Kod" (input + ".Kod"), which history and the copy buffer
// keep; paste, history and a batch choose the row by its key or its code.
struct RowChoice {
    QList<RowTable> tables; // by the item index of tableInput; one table: always that one
    QString tableInput;     // a radio list, "rdgTip"
    QString keyField = QStringLiteral("Marka");
    QString codeField = QStringLiteral("Kod");
    QString tab;           // "Изображение"
    QString textName;      // "DBText1": the key beside the caption
    QString navigatorName; // "DBNavigator2"
    QString pictureName;   // "ImageSchema"
    QString legendName;    // "Memo1"
    QString legendCaption; // "Справка."
    // A check box beside the choice (checked at first), handed to the calculator as "1" or "".
    QString checkName;
    QString checkCaption;
    // History fields of the row's values (restored through the code): value name → field.
    QList<QPair<QString, QString>> historyValues;
    QString keyHistoryField; // "Construct"
};

// A button under a grid of rows.
struct GridButton {
    QString name;    // "btnTest"
    QString caption; // "Тест"
    QString hint;
    bool clears = false; // empties every editable cell; any other button asks the calculator
};

// A grid of rows typed by the user: a header row, one row per item numbered from firstNumber to the
// value of a count input, the editable cells (columns 1 .. editableColumns) and read-only columns
// the calculator fills. It reaches the calculator as one text (RowGridText.h).
struct RowGridSetup {
    QStringList headers; // the first one titles the number column
    int editableColumns = 0;
    QString countInput; // the spin edit holding the last row's number
    int firstNumber = 2;
    QString defaultText; // the rows at first, in the text form
    QStringList notes;
    QList<GridButton> buttons;
};

// A numeric input of the device's geometry with its label, default text and step buttons.
// A drop-down list (no free text) instead of an edit line: the texts of a field of a reference
// table in table order, refilled on activation (first item chosen) and after the materials dialog,
// or a fixed list of texts. It has no step buttons.
struct ChoiceList {
    QString table; // data module table, e.g. "TableTruboprov"
    QString field; // "Diam"
    // The materials dialog's item that edits that table; it binds the toolbar's materials command
    // in a window without a construction frame.
    QString material;
    // Only the table's values within these bounds are offered (a range the formula admits).
    std::optional<double> minimum;
    std::optional<double> maximum;
    // After the materials dialog the first item is chosen again, not the one chosen before.
    bool firstAfterDialog = false;
    // Said in the window's message line when the table offers nothing to choose.
    QString emptyMessage;
    // Or a fixed list of texts, filled once: the window keeps the item chosen between openings.
    // The default text is chosen at first.
    QStringList items;
};

// A type chosen by clicking one of these pictures (object names Image1, Image2 ... in panels
// PanelImage1 ...) on a tab of the window's page control; the input holds the type's number from
// 1, is set by that number from history, paste and a batch, and shows it in a label beside its
// caption. The picture chosen is drawn opaque, the others faded.
struct PictureChoice {
    QStringList pictures;
    QString tab;   // "Тип"
    QString label; // "lblTip"
    int defaultNumber = 1;
};

// An integer spin edit within these limits instead of an edit line (a count); the default text is
// its value.
struct CountSpin {
    int minimum = 0;
    int maximum = 0;
};

// A framed radio list titled by the label instead of an edit line: its text is the chosen item's,
// and history, paste or a batch may set it by the item's text or index.
struct RadioList {
    QStringList items;
    int columns = 1;
};

// The step-button pairs beside an edit line.
struct StepButtons {
    QList<double> sizes; // one pair per step, largest first
    QString prefix;      // the pairs are named prefix + "1", "01", "001" ... by step
    QStringList names;   // or by these names, in the order of the steps
    // A step down only while value − step stays at or above the floor, a step up only while
    // value + step stays at or below the ceiling.
    std::optional<double> floor;
    std::optional<double> ceiling;
};

// A label beside an input, such as the range of its permissible values (RangeLabelText).
struct RangeLabel {
    QString name; // its object name; none when empty
    QString text; // its design text
    QString hint;
    // Inputs it is computed from: a change of one of them recomputes it. "cmbDiam" stands for the
    // construction frame's section. Empty: the label keeps its design text.
    QStringList follows;
};

// A tool button after an edit line's step buttons: a dialog that computes the value.
struct InputButton {
    QString name; // none when empty
    QString hint;
    QString needs; // enabled only while this input is filled
};

struct GeometryInput {
    QString name;        // object name, e.g. "EditDlina"
    QString label;       // "L - длина стержня, м:"
    QString defaultText; // "5"
    StepButtons steps;
    RangeLabel range;
    RangeLabel range2; // a second label beside the input
    // The caption itself may follow other inputs (a lattice type renames the cell's sides): its
    // object name (default "lbl" + name) and the inputs it is recomputed from, like a range label.
    QString labelName;
    QStringList labelFollows;
    // The hint of the input itself.
    QString hint;
    // The soil page it stands on (SoilFrameSetup order); -1: the geometry panel.
    int page = -1;
    bool readOnly = false; // a derived value, display only (its default text shown at first)
    // A derived value the result shows: emptied with the result when a calculation fails.
    bool clearedWithResult = false;
    bool bold = false;
    // What kind of input it is beyond an edit line: at most one of these is set.
    std::optional<ChoiceList> choice;
    std::optional<PictureChoice> picture;
    std::optional<CountSpin> spin;
    std::optional<RadioList> radio;

    // A row chosen in a grid (RowChoice).
    std::optional<RowChoice> rowChoice;
    // A grid of rows (the label titles nothing: the group does).
    std::optional<RowGridSetup> rowGrid;

    bool isChoice() const { return choice.has_value(); }
    bool isPictureChoice() const { return picture.has_value(); }
    bool isSpin() const { return spin.has_value(); }
    bool isRadio() const { return radio.has_value(); }
    bool isRowChoice() const { return rowChoice.has_value(); }
    bool isRowGrid() const { return rowGrid.has_value(); }
    // A change only empties the result and updates the buttons, never calculates.
    bool changeEmptiesResult = false;
    // The input (with its group) and those after it stand in a second column beside the first.
    bool newColumn = false;
    // The light green (clMoneyGreen) that marks an input parameter selection can vary.
    bool selectionColour = false;
    // The exit check of numeric inputs (message and focus back on a text that is no number).
    bool exitCheck = true;
    // With the exit check: an empty text passes it (an input that may stay empty).
    bool emptyAllowed = false;
    // Consecutive inputs with the same title stand in one framed group.
    QString group;
    InputButton button;
    // The input acts only on changes made by the user: while it or one of its step buttons has
    // the focus. Values written by the program (linking, history, paste, selection) leave the
    // result and the other inputs alone; whoever writes them calculates afterwards.
    bool userChangesOnly = false;

    // What the calculator keeps of the input: the history table's field (none when empty), the
    // copy buffer, and whether its emptiness disables the commands. Derived values keep nothing.
    QString historyField;
    bool copied = true;
    bool required = true;
};

// One of the input checks that use the common procedures, in the order they run.
struct InputCheck {
    enum class Kind { Filled, Positive };
    Kind kind = Kind::Positive;
    QString input;   // object name of the control
    QString subject; // the parameter's name in the genitive case
};

// A column of the single-parameter table beside the tried value: another input the run keeps.
struct SelectionColumn {
    QString input;
    QString heading; // "To, м"
    QString note; // "Tо, м - расстояние от поверхности земли до стержня, м"
};

// An input parameter selection may vary. The soil's resistivity takes its range from the soil
// chosen (start and upper limit PMax, end and lower limit PMin).
struct SelectionParameter {
    QString name;  // "Длина стержня, м": the key in the run dialog and the stored settings
    QString input; // the input it varies, e.g. "EditDlina"
    QString start;
    QString end;
    QString step;
    QString type = QStringLiteral("double");
    QString lower;
    QString upper;
    QString recommendation;
    bool soilRange = false;
    int settingsTable = 2; // stored settings: 1 resistivity steps, 2 real, 3 integer parameters
    QString heading;       // the single-parameter table's column, "L, м"
    QString note;          // its line in the chart window's note
    QList<SelectionColumn> columns;
};

struct SelectionSetup {
    int kindCode = 0;
    // In the order the run dialog's list is filled; each is also offered by a right click on its input.
    QList<SelectionParameter> parameters;
    // Inputs the run's values are written back to at its end, in this order; the calculated
    // resistivity follows them.
    QStringList writeBack;
    // The standard device's run dialog (TParamFrm): the grid with its required resistance can be
    // saved under a name and loaded again, and the hints and limit messages are worded shorter.
    bool storedSets = false;
};

// The soil-frame parameters every calculator offers: the measured resistivity and the
// correction coefficient.
SelectionParameter soilResistivitySelection();
SelectionParameter correctionSelection();

// A resistivity input computed by the equivalent-resistivity dialog from two soil layers: the
// input's tool button runs the dialog over the structure's size, and a check box below the result
// puts the computation into the calculation order. The layers reach the calculator as the texts
// "pekv.p1", "pekv.p2" and "pekv.h", the check box as "1" or "".
struct EquivalentResistivitySetup {
    QString input;   // EditPekv
    QString button;  // btnPekv
    QString size;    // EditS: area in m² or length in km
    int form = 0;    // 0 by area, 1 by length
    QString include; // chkPekv
    QString includeCaption;
    // An input that takes the upper layer's calculated resistivity when the dialog is confirmed.
    QString upperLayerInput = {};
};

// A column of a reference table shown in a grid: the field, its title and the values offered.
struct TableColumn {
    QString field;
    QString title;
    QStringList pickList;
};

// A tab of the window's page control with a reference table of coefficients the formula reads:
// the grid with its navigator, the note group " Примечание " and, optionally, a check box that
// filters the rows by one field on the current value of an input (a type). Edits go through the
// table's own rules; the calculation reads the table as edited.
struct CoefficientTab {
    QString caption; // "Коэффициенты использования"
    QString table;   // data module table, "LuchTable"
    QList<TableColumn> columns;
    QStringList notes;
    QString filterName; // "chkFilter"; empty: no filter
    QString filterCaption;
    QString filterField; // "N"
    QString filterInput; // "Tip"
    bool filterDefault = true;
};

// The toolbar's tables command (btnKI) opening a reference dialog of the calculator's own tables
// (referenceDialogs().tables), positioned by the text of an input.
struct TablesDialogSetup {
    QString dialog; // "TZ05Form"
    QString input;  // EditZ0
    QString hint;
};

struct CalcInputs;

// A condition of the formula of the form "X >> Y": the ratio X/Y for the inputs, nullopt when
// they give none. Below ten the condition holds only weakly and the result is approximate.
struct WeakCondition {
    QString condition; // "L >> D", as the window's conditions write it
    QString ratioName; // "L/D"
    std::function<std::optional<long double>(const CalcInputs&)> ratio;
};

// The submenu of "Расчеты" a calculator's item stands in.
enum class MenuGroup { SingleElectrodes, ComplexDevices, BuildingStructures };

struct CalculatorDescriptor {
    QString className;
    QString caption;
    int helpContext = 0;
    // The kind code (KodTip) its history sets and selection settings are kept under, unless the
    // history or the selection states one of its own.
    int kindCode = 0;
    MenuGroup menuGroup = MenuGroup::SingleElectrodes;
    QString menuCaption; // its item in the menu
    QString pictureFile;
    QString formulaText; // the formula label of the formula panel
    QStringList conditionLines;
    // The caption of their group: singular where the formula has one condition.
    QString conditionCaption = QString::fromUtf8(" Условия применения формулы ");
    // A description under "Справка." (read-only Memo1) in place of the conditions.
    QStringList descriptionLines;
    // The ">>" conditions checked after every calculation.
    QList<WeakCondition> weakConditions;
    std::optional<ConstructionSetup> construction;
    QList<GeometryInput> geometry;
    QString resultLabel = QString::fromUtf8("Сопротивление, Ом:");
    // The result field's object name; the calculation order reads its text as "EditVS1" all the same.
    QString resultName = QStringLiteral("EditVS1");
    // The result's display mask ("0.00"); empty: the general number format.
    QString resultMask;
    // Without the soil frame the resistivity is an input of the geometry (an equivalent one).
    bool soilFrame = true;
    // Two-layer earth: the soil frame holds the upper layer and a second frame `pFrame1` the
    // lower one, on the tabs "Верхний слой" and "Нижний слой"; both are kept, checked for their
    // soil's range and offered to selection.
    bool twoLayerSoil = false;
    // The soil and construction frames; completeDescriptor fills them for one soil frame (or the
    // two of twoLayerSoil) and one construction frame when a calculator declares none.
    QList<SoilFrameSetup> soilFrames;
    QList<ConstructionFrameSetup> constructionFrames;
    // The page control of several soil frames.
    QString soilTabsName = QStringLiteral("PageControl2");
    // The input the installation frame takes its resistivity from when the link is on; empty: the
    // soil frame's calculated resistivity.
    QString installationResistivityInput;

    QList<InputCheck> checks;
    // After those: p0 within the chosen soil's PMin..PMax.
    bool soilRangeCheck = true;
    // The lists below follow from the frames and the geometry (completeDescriptor).
    // Inputs whose emptiness disables save, calculation, report, selection and copy.
    QStringList requiredInputs;
    // The order in which inputs are assigned from history, the copy buffer or a batch: the soil,
    // then the construction, then the geometry, since a combo's change handling may overwrite
    // later inputs.
    QStringList inputOrder;
    QStringList copyInputs;
    // Kind code, preset name, prompt and captions are the calculator's; the fields follow.
    HistoryLayout history;
    SelectionSetup selection;
    // The report's paragraphs; without them the report command stays disabled.
    ReportWriter report;
    int reportSteps = 5; // the gauge's maximum while the report is written

    bool multiLineOrder = false; // calculation order in a memo with the viewer command
    // The memo's object name, where a description or a legend is Memo1 already.
    QString orderMemoName = QStringLiteral("Memo1");
    bool coefficientTables = false; // the toolbar's data-tables command
    // The toolbar's linked-parameters toggle: while it is down, a change the user makes to an input
    // moves the inputs that depend on it (LinkParameters).
    bool linkedParameters = false;
    // Pressing the toggle runs this input's change handling; empty: that of the focused linked
    // input, or of the first one.
    QString linkPressedInput;
    std::optional<EquivalentResistivitySetup> equivalentResistivity;
    // Tabs of the page control PageControl1 under the picture: the conditions' own tab (its
    // caption; empty: the conditions stay beside the picture) and the reference tables.
    QString conditionsTab;
    QList<CoefficientTab> coefficientTabs;
    // On activation the window moves to this distance from the top of the screen.
    std::optional<int> windowTop;
    std::optional<TablesDialogSetup> tablesDialog;
    // btnLoad is enabled only while every required input is filled, like btnSave.
    bool loadNeedsInputs = false;
    // The soil frame's key filter and exit check on the correction coefficient.
    bool coefficientInputChecks = true;
};

// A value the result shows beside the inputs (read-only, emptied with the result), with the text
// it shows before the first calculation.
GeometryInput shownValue(const QString& name, const QString& label, const QString& designText = {});
// The frame's size-list mode as an input name.
inline QString sizeSetModeOf(const ConstructionFrameSetup& c) {
    return c.prefix + QStringLiteral("SizeSetMode");
}

// The descriptor with its input lists and history fields made from the frames and the geometry.
CalculatorDescriptor completeDescriptor(CalculatorDescriptor d);

// The input that holds the code of a chosen row: "DBGrid2.Kod".
QString rowCodeInput(const GeometryInput& g);

// The checks of the soil and construction frames that open the list of every calculator with a
// rolled-steel electrode; measured resistivity is checked as positive or only as present.
QList<InputCheck> soilAndConstructionChecks(InputCheck::Kind measuredResistivity);
// The loader's captions of the soil and construction fields, in their order.
QList<HistoryCaption> soilAndConstructionCaptions();

} // namespace kz
