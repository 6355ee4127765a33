#pragma once

#include "core/model/Calculator.h"
#include "core/model/HistoryMapping.h"
#include "core/session/CalculatorSession.h"
#include "widgets/calculator/CalculatorWindowBuilder.h"

#include "core/selection/Selection.h"

#include <QDialog>
#include <QList>
#include <QMap>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QFrame;
class QScrollArea;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace kz {

class CalculatorCommands;
class DataModule;
class SelectionRunController;
class StoredFrameData;
class RadioGroup;
class RowGrid;
class EquivalentResistivityLink;
class SpinButton;
class CalculatorToolbar;
class SoilFrame;
class InstallationFrame;
class SectionFrame;
class TableGrid;
class TableRowChoice;
struct InstallationValues;

// The reference dictionaries a calculator's toolbar opens (soils, steels, soil corrosion). Each is
// set once its dialog exists; until then its button stays disabled.
struct ReferenceDialogs {
    std::function<void(QWidget* parent)> soils;
    std::function<void(QWidget* parent)> steels;
    std::function<void(QWidget* parent)> corrosion;
    // Positions the steels dialog on the construction and size in use before it is shown.
    std::function<void(const QString& construction, const QString& size)> locateSteel;
    // The soil frame's coefficient dialog (the coefficient text on OK), its step settings, and
    // the toolbar's climate regions.
    std::function<std::optional<QString>()> correction;
    std::function<void()> resistivitySteps;
    std::function<void()> climateRegions;
    // A calculator's own tables dialog (TablesDialogSetup), positioned by the text of its input.
    std::function<void(QWidget* parent, const QString& dialog, const QString& at)> tables;
};
ReferenceDialogs& referenceDialogs();

// The largest a calculator window grows: beyond it its main panel scrolls.
QSize largestCalculatorWindow();

// The windows all calculators share live beside the main window (or, without one, beside the
// calculator that opened them first).
QWidget* sharedWindowOwner(QWidget* calculator);

// The window every calculator is, built from the calculator's description (CalculatorWindowBuilder).
// It shows the calculator's session: every edit of the user goes to the session, which applies the
// change rules (derived values, linking, the frames' lists, the result), and the window redraws what
// the session then holds. Messages of the session come back as its listener: the message line for a
// check failed while typing, boxes otherwise.
//
// Its toolbar's commands (CalculatorCommands) and parameter selection (SelectionRunController) are
// classes of their own; the window forwards to them.
//
// Inputs are reached by object name (inputWidget, setInputText), frame inputs included, so that
// history and paste set them in the descriptor's input order.
class CalculatorWindow : public QDialog, private SessionListener {
    Q_OBJECT
public:
    CalculatorWindow(const Calculator& calculator, DataModule& data, QWidget* parent = nullptr);
    ~CalculatorWindow() override;

    const CalculatorDescriptor& descriptor() const { return d_; }
    const Calculator& calculator() const { return calc_; }
    // The state the window shows.
    const CalculatorSession& session() const { return *session_; }
    // The inputs as values, for the calculator's rules.
    CalcInputs snapshot() const;

    // FormActivate / FormDeactivate: run when the window is opened and closed.
    Q_INVOKABLE void activate();
    Q_INVOKABLE void deactivate();

    bool checkInputs(bool show);
    Q_INVOKABLE void calculate(bool show);
    void updateButtons();
    void linkInstallationResistivity();

    // An input by object name; "Frame.Input" reaches into a named frame. The window's own geometry
    // inputs come first: a frame's field of the same name is reached only as "Frame.Input".
    QWidget* inputWidget(const QString& name) const;
    // The text of an input (the size-list mode as "0", "1" or "2").
    QString inputText(const QString& name) const;
    // Sets an input as a user would: a drop-down selects the item with that text (none when it
    // is not listed), SizeSetMode presses the mode button. False for an unknown input.
    bool setInputText(const QString& name, const QString& text);
    InputTexts currentInputs(const QStringList& names) const;
    // Assigns inputs in the descriptor's order with automatic calculation held, then calculates
    // once with messages and restores automatic calculation.
    void applyInputs(const InputTexts& texts);

    // Toolbar commands.
    void saveToHistory();
    void loadFromHistory();
    void copyParameters();
    void pasteParameters();
    // The report into a document the user names, then opened for editing, saving or printing.
    void exportReport();
    // The report of the result on screen written into a .docx at path; false with the reason.
    bool writeReport(const QString& path, QString* error);
    // The texts the report reads: every named input and field by object name (also as
    // "Frame.Name"), the installation frame, the picture button.
    ReportSource reportSource() const;
    const CopyBuffer& copyBuffer() const;

    // Parameter selection. runSelection: the run dialog, then the nested walk over its rows until
    // the resistance meets the required value. selectParameter: one input over its stored range
    // until the resistance meets the permissible one, with data the table and chart afterwards.
    void runSelection();
    void selectParameter(const QString& name, bool withData);
    // The inputs as they were before the last selection run that changed them, brought back
    // (toolbar or Ctrl+Z) until an input changes.
    void restoreInputsBeforeRun();
    bool restoreAvailable() const;
    // The popup's commands on the input it was opened on; nothing on any other input.
    void selectParameterAtPopup();
    void selectParameterWithDataAtPopup();
    // The selection settings of this calculator, at the parameter of the focused input.
    void showSelectionSettings();
    QMenu* PopupMenu1() const;
    bool selectionRunning() const;
    // During a run: whether it is the single-parameter one (its conditions may differ).
    bool singleParameterRun() const;
    // The run dialog's offer: the calculator's parameters with the soil's range filled in.
    QList<SelectionDescriptor> selectionDescriptors() const;

    bool autoCalculation() const;
    int calculationCount() const { return calculations_; }

    CalculatorToolbar* ButtonFrame1() const { return ui_.toolbar; }
    SoilFrame* pFrame() const { return ui_.soil; }
    // The lower layer's soil frame of two-layer earth.
    SoilFrame* pFrame1() const { return ui_.lowerSoil; }
    SectionFrame* frmSech1() const { return ui_.section; }
    InstallationFrame* frmEU1() const { return ui_.eu; }
    QLineEdit* EditVS1() const { return ui_.result; }
    QLineEdit* EditRaschet() const { return ui_.orderLine; }
    QPlainTextEdit* Memo1() const { return ui_.memo; }
    QLabel* Image1() const { return ui_.image; }
    QLineEdit* geometryEdit(const QString& name) const;
    // The tool button beside a geometry input, by its object name.
    QToolButton* geometryButton(const QString& name) const;
    // A geometry input that is a drop-down list of a table's values.
    QComboBox* geometryChoice(const QString& name) const;
    // A geometry input that is an integer spin edit.
    QSpinBox* geometrySpin(const QString& name) const;
    // A grid of rows, by its object name.
    RowGrid* rowGrid(const QString& name) const { return ui_.rowGrids.value(name); }
    SpinButton* stepButton(const QString& name) const;
    QLabel* rangeLabel(const QString& name) const { return ui_.ranges.value(name); }
    // The message line under the calculation order (a failed check while typing).
    QLabel* messageLine() const { return ui_.message; }

    // The page control under the picture (conditions, pictures, coefficient tables); none when
    // the calculator has no tabs.
    QTabWidget* PageControl1() const { return ui_.pages; }
    // The grid of a coefficient tab, by its table's name.
    TableGrid* coefficientGrid(const QString& table) const { return ui_.grids.value(table); }
    // A row chosen in a grid, by the input's name.
    TableRowChoice* rowChoice(const QString& name) const;
    // A click on picture number (from 1) of a type chosen by picture: selects it as the user does.
    void pictureClicked(const QString& name, int number);

    // Recomputes every range label that follows other inputs.
    void updateRangeLabels();
    // Room for the widest text a range label may show, so that typing never moves the controls.
    void reserveRangeRoom();
    bool linkingOn() const;

signals:
    // After every calculation, with whether a result is shown.
    void calculated(bool ok);

private:
    // The commands and the selection run act on the window's widgets and session as it does.
    friend class CalculatorCommands;
    friend class SelectionRunController;

    // SessionListener: what the session says, as boxes or in the message line.
    void said(const QString& message) override;
    void failed(const CheckFailure& failure, bool shown) override;
    void evaluated(bool ok) override;
    // An edit of the user (byUser: the input or its step buttons had the focus) or of the program,
    // handed to the session; then the window shows what the session holds.
    void userEdit(const QString& name, const QString& text, bool byUser);
    // Every widget brought to what the session holds, without their change handling.
    void redraw();
    void redrawOwnInputs();
    void redrawFrames();
    void redrawResult();
    // A change counts as the user's while the input or one of its step buttons has the focus.
    bool changedByUser(const QWidget* input) const;
    // An input's caption that follows other inputs.
    void updateCaption(const GeometryInput& g);

    // The message of a failed check with the focus on its input; shown only with show set.
    bool fail(const CheckFailure& failure, bool show);
    // Lines of the multi-line calculation order (also handed to the viewer).
    void setCalcOrderLines(const QStringList& lines);
    InstallationValues installationValues() const;
    // While the user types, a failed check is said in the window's message line and its input is
    // marked; the message box waits until the field is left, Enter or the calculate button.
    bool typing() const;
    void showInlineFailure(const CheckFailure& failure);
    void clearInlineFailure();
    void leaveInput(QWidget* input);
    void showVerdict(long double r);
    void keyPressEvent(QKeyEvent* event) override;
    // Radio-list inputs and the inputs the calculator disables.
    void wireRadioInputs();
    static QString radioText(const RadioGroup* radio);
    void updateEnabledInputs();
    // A row chosen in a grid, and the table of the current type.
    void wireRowChoices();
    QString emptyRowTableMessage() const;
    // Says in the message line that a row table is empty, or forgets having said it.
    void sayEmptyRowTable(const QString& empty);
    // What the grids of rows and their buttons do.
    void wireRowGrids();
    void gridButtonClicked(RowGrid* grid, const GridButton& button);
    void wireEquivalentResistivity();
    void fitPageControl();
    void sayEmptyChoices();
    void loadChoicePictures();
    void wirePictureChoices();
    // Marks the chosen picture, shows its number and brings its panel into view.
    void showPictureChoice(const QString& name);
    // The coefficient grids filtered by the input they follow.
    void wireCoefficientTabs();
    void filterCoefficientTables(const QString& changedInput);
    void coefficientTableEdited();
    void updateToolButtons();
    void wireToolbar();
    void wireFrames();
    void lineInputEdited(QLineEdit* edit);
    void spinInputEdited(QSpinBox* spin);
    // The frames' edits handed to the session (CalculatorWindowFrames.cpp).
    void wireSoilFrames();
    // The soil frame an input belongs to ("FramePG.EditRo0"), the first one for a plain name.
    SoilFrame* soilFrameOf(const QString& input) const;
    // The construction frame of a size-list mode input, nullptr for another name.
    SectionFrame* sectionOfMode(const QString& name) const;
    // The construction frame the toolbar's dictionaries act on: that of the soil page in front.
    int sectionInFront() const;
    void loadPagePictures();
    // The soil frames there are: the upper (or only) one first.
    QList<SoilFrame*> soilFrames() const;

    // The main panel's layout, followed by the window's size.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

    QString resultText(long double r) const;
    void fitToContents();
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    const Calculator& calc_;
    const CalculatorDescriptor& d_;
    DataModule& data_;
    std::unique_ptr<StoredFrameData> frameData_;
    std::unique_ptr<CalculatorSession> session_;
    CalculatorWidgets ui_;
    std::unique_ptr<CalculatorCommands> commands_;
    std::unique_ptr<SelectionRunController> selection_;
    int redrawing_ = 0;
    // A calculation asked for by the user: its failed check is said in a box.
    int asked_ = 0;
    // Whether the session calculated since the last redraw, and with a result.
    std::optional<bool> calculatedNow_;
    // A result shown since the last redraw: its warnings and verdict follow.
    bool freshResult_ = false;
    std::unique_ptr<EquivalentResistivityLink> pekvLink_;
    int calculations_ = 0;
    // The weakly held conditions of the result shown, for the report.
    QStringList warnings_;
    QPointer<QWidget> marked_;
    bool failurePending_ = false;
    int choosing_ = 0;
    int activations_ = 0;
    QString saidEmpty_;
    // The texts the coefficient tables were last filtered by and the pictures last shown chosen.
    QMap<QString, QString> filteredBy_;
    QMap<QString, int> pictureShown_;
};

} // namespace kz
