#pragma once

#include "core/model/Calculator.h"
#include "core/model/HistoryMapping.h"
#include "core/session/CalculatorSession.h"

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

class DataModule;
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

// The window every calculator is: toolbar on top; picture and the formula's conditions on the
// left; soil, construction and geometry with the result on the right; the formula panel; the
// installation frame at the bottom. It is built from the calculator's description and shows the
// calculator's session: every edit of the user goes to the session, which applies the change
// rules (derived values, linking, the frames' lists, the result), and the window redraws what the
// session then holds. Messages of the session come back as its listener: the message line for a
// check failed while typing, boxes otherwise.
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

    bool CheckInputs(bool show);
    Q_INVOKABLE void Calculate(bool show);
    void UpdateButtons();
    void SyncInstallationResistivity();

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
    // The data module's table the sets are kept in.
    void loadFromHistory();
    void copyParameters();
    void pasteParameters();
    // ButtonFrame1Button3Click: the report into a document the user names, then opened for
    // editing, saving or printing.
    void exportReport();
    // The report of the result on screen written into a .docx at path; false with the reason.
    bool writeReport(const QString& path, QString* error);
    // The texts the report reads: every named input and field by object name (also as
    // "Frame.Name"), the installation frame, the picture button.
    ReportSource reportSource() const;
    const CopyBuffer& copyBuffer() const { return copyBuffer_; }

    // Parameter selection. RunSelection: the run dialog, then the nested walk over its rows until
    // the resistance meets the required value. SelectParameter: one input over its stored range
    // until the resistance meets the permissible one, with data the table and chart afterwards.
    void RunSelection();
    void SelectParameter(const QString& name, bool withData);
    // The inputs as they were before the last selection run that changed them, brought back
    // (toolbar or Ctrl+Z) until an input changes.
    void restoreInputsBeforeRun();
    bool restoreAvailable() const;
    // The popup's commands on the input it was opened on; nothing on any other input.
    void selectParameterAtPopup();
    void selectParameterWithDataAtPopup();
    // The selection settings of this calculator, at the parameter of the focused input.
    void ShowSelectionSettings();
    QMenu* PopupMenu1() const { return popup_; }
    bool selectionRunning() const { return runValues_ != nullptr; }
    // During a run: whether it is the single-parameter one (its conditions may differ).
    bool singleParameterRun() const { return selectionRunning() && singleRun_; }
    // The run dialog's offer: the calculator's parameters with the soil's range filled in.
    QList<SelectionDescriptor> selectionDescriptors() const;

    bool autoCalculation() const;
    int calculationCount() const { return calculations_; }

    CalculatorToolbar* ButtonFrame1() const { return toolbar_; }
    SoilFrame* pFrame() const { return soil_; }
    // The lower layer's soil frame of two-layer earth.
    SoilFrame* pFrame1() const { return lowerSoil_; }
    SectionFrame* frmSech1() const { return section_; }
    InstallationFrame* frmEU1() const { return eu_; }
    QLineEdit* EditVS1() const { return result_; }
    QLineEdit* EditRaschet() const { return orderLine_; }
    QPlainTextEdit* Memo1() const { return memo_; }
    QLabel* Image1() const { return image_; }
    QLineEdit* geometryEdit(const QString& name) const;
    // The tool button beside a geometry input, by its object name.
    QToolButton* geometryButton(const QString& name) const;
    // A geometry input that is a drop-down list of a table's values.
    QComboBox* geometryChoice(const QString& name) const;
    // A geometry input that is an integer spin edit.
    QSpinBox* geometrySpin(const QString& name) const;
    // A grid of rows, by its object name.
    RowGrid* rowGrid(const QString& name) const { return rowGrids_.value(name); }
    SpinButton* stepButton(const QString& name) const;
    QLabel* rangeLabel(const QString& name) const { return ranges_.value(name); }
    // The message line under the calculation order (a failed check while typing).
    QLabel* messageLine() const { return message_; }

    // The page control under the picture (conditions, pictures, coefficient tables); none when
    // the calculator has no tabs.
    QTabWidget* PageControl1() const { return pages_; }
    // The grid of a coefficient tab, by its table's name.
    TableGrid* coefficientGrid(const QString& table) const { return grids_.value(table); }
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
    // After every Calculate, with whether a result is shown.
    void calculated(bool ok);

private:
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
    // A control of the calculator's own in a row of its own under the result.
    void addBelowResult(QWidget* widget);
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
    QList<SelectionParameter> SelectionOffer() const;
    // Radio-list inputs, the inputs the calculator disables and the tables command.
    void addRadioInput(const GeometryInput& g, QGridLayout* grid, int row);
    void wireRadioInputs();
    static QString radioText(const RadioGroup* radio);
    void updateEnabledInputs();
    // A row chosen in a grid: its tab, its key beside the caption, the table of the current type.
    void buildRowChoice(const GeometryInput& g, QLabel* caption, QGridLayout* target, int row);
    void wireRowChoices();
    QString emptyRowTableMessage() const;
    // Says in the message line that a row table is empty, or forgets having said it.
    void sayEmptyRowTable(const QString& empty);
    // A grid of rows with its panel, and what its buttons do.
    void addRowGrid(const GeometryInput& g, QGridLayout* target, int row, QWidget* panel);
    void gridButtonClicked(RowGrid* grid, const GridButton& button);
    void wireTablesDialog();
    void buildEquivalentResistivity();
    // The page control and what it holds, after the geometry (which makes the picture choices).
    void buildPageControl(QBoxLayout* left, QWidget* parent);
    void fitPageControl();
    void buildPictureChoice(const GeometryInput& g, QGridLayout* target, int row, QWidget* panel);
    void addFixedRange(const GeometryInput& g, QGridLayout* target, int row, QWidget* panel);
    void sayEmptyChoices();
    QWidget* buildCoefficientTab(const CoefficientTab& t);
    void loadChoicePictures();
    // Marks the chosen picture, shows its number and brings its panel into view.
    void showPictureChoice(const QString& name);
    // The coefficient grids filtered by the input they follow.
    void filterCoefficientTables(const QString& changedInput);
    void coefficientTableEdited();
    void updateToolButtons();
    void buildWindow();
    void buildGeometry(QGridLayout* grid, int& row, int page = -1);
    void wireToolbar();
    void wireFrames();
    void lineInputEdited(QLineEdit* edit);
    void spinInputEdited(QSpinBox* spin);
    // The soil and construction frames the description declares, the pages that hold them with
    // their own inputs and pictures (CalculatorWindowFrames.cpp).
    void buildFrames(QBoxLayout* right, QWidget* parent);
    QWidget* buildSoilPage(int index, QWidget* parent);
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
    void showCalcOrderViewer();
    void runSoilDictionary();
    void runSectionDictionary(bool corrosion);
    const GeometryInput* materialChoice() const;
    void runChoiceDictionary();
    bool runInputCheck(const InputCheck& check, bool show);

    void wireSelection();
    const SelectionParameter* selectionParameter(const QString& name) const;
    // Runs the levels with the gauge, the stop button and the window held; writes the last
    // combination back and remembers the inputs before (the way back). nullopt when the window's
    // values cannot start a run.
    std::optional<selection::RunResult> runLevels(
        const QList<selection::Level>& levels, long long gaugeMax,
        const std::function<std::optional<long double>()>& required,
        const std::function<void(long double, std::optional<long double>, const QMap<QString, long double>&)>&
            tried,
        const InputTexts& before);
    void holdWindowForRun(bool hold);
    void wireRestoreBeforeRun();
    void rememberInputsBeforeRun(const InputTexts& before);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void ShowSelectionResult(const QMap<QString, long double>& values, const selection::RunResult& result);
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
    int redrawing_ = 0;
    // A calculation asked for by the user: its failed check is said in a box.
    int asked_ = 0;
    // Whether the session calculated since the last redraw, and with a result.
    std::optional<bool> calculatedNow_;
    // A result shown since the last redraw: its warnings and verdict follow.
    bool freshResult_ = false;
    std::unique_ptr<EquivalentResistivityLink> pekvLink_;
    QCheckBox* include_ = nullptr;
    CopyBuffer copyBuffer_;
    int calculations_ = 0;

    CalculatorToolbar* toolbar_ = nullptr;
    SoilFrame* soil_ = nullptr;
    SoilFrame* lowerSoil_ = nullptr;
    struct SoilSlot {
        SoilFrame* frame = nullptr;
        const SoilFrameSetup* setup = nullptr;
    };
    struct SectionSlot {
        SectionFrame* frame = nullptr;
        const ConstructionFrameSetup* setup = nullptr;
        SoilFrame* soil = nullptr;
    };
    QList<SoilSlot> soils_;
    QList<SectionSlot> sections_;
    QMap<QString, QLabel*> pageImages_;
    QTabWidget* layerTabs_ = nullptr;
    SectionFrame* section_ = nullptr;
    InstallationFrame* eu_ = nullptr;
    QScrollArea* mainScroll_ = nullptr;
    QLabel* image_ = nullptr;
    QGroupBox* conditions_ = nullptr;
    QLineEdit* result_ = nullptr;
    QLabel* message_ = nullptr;
    // The weakly held conditions of the result shown, for the report.
    QStringList warnings_;
    QPointer<QWidget> marked_;
    bool failurePending_ = false;
    int choosing_ = 0;
    QToolButton* btnScore_ = nullptr;
    QLineEdit* orderLine_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QMap<QString, QLineEdit*> geometry_;
    QMap<QString, SpinButton*> steps_;
    QMap<QString, QToolButton*> buttons_;
    QGridLayout* geometryGrid_ = nullptr;
    QMap<QString, QComboBox*> choices_;
    QMap<QString, QSpinBox*> spins_;
    QMap<QString, RadioGroup*> radios_;
    QMap<QString, RowGrid*> rowGrids_;
    QMap<QString, QLabel*> ranges_;
    QMap<QString, QLabel*> captions_;
    QMenu* popup_ = nullptr;
    QWidget* popupOwner_ = nullptr;
    const QMap<QString, long double>* runValues_ = nullptr;
    QList<QPair<QWidget*, bool>> heldWidgets_;
    QPointer<QWidget> focusBeforeRun_;
    bool singleRun_ = false;
    InputTexts inputsBeforeRun_;
    InputTexts inputsAfterRun_;

    struct PictureChoiceWidgets {
        QScrollArea* scroll = nullptr;
        QList<QFrame*> panels;
        QList<QLabel*> images;
        QLabel* number = nullptr;
    };
    QMap<QString, PictureChoiceWidgets> pictureChoices_;
    QMap<QString, TableRowChoice*> rowChoices_;
    int activations_ = 0;
    QString saidEmpty_;
    // The texts the coefficient tables were last filtered by and the pictures last shown chosen.
    QMap<QString, QString> filteredBy_;
    QMap<QString, int> pictureShown_;
    QTabWidget* pages_ = nullptr;
    QMap<QString, TableGrid*> grids_;
    QList<QPair<const CoefficientTab*, QCheckBox*>> tableFilters_;
};

} // namespace kz
