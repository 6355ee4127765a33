#pragma once

#include "core/model/Calculator.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QDialog;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTabWidget;
class QToolButton;
class QWidget;

namespace kz {

class CalculatorToolbar;
class DataModule;
class InstallationFrame;
class RadioGroup;
class RowGrid;
class SectionFrame;
class SoilFrame;
class SpinButton;
class TableGrid;
class TableRowChoice;

// The widgets of a calculator window, as the builder made them: what the window shows the
// session's state in and takes the user's edits from.
struct CalculatorWidgets {
    struct SoilSlot {
        SoilFrame* frame = nullptr;
        const SoilFrameSetup* setup = nullptr;
    };
    struct SectionSlot {
        SectionFrame* frame = nullptr;
        const ConstructionFrameSetup* setup = nullptr;
        SoilFrame* soil = nullptr;
    };
    struct PictureChoiceWidgets {
        QScrollArea* scroll = nullptr;
        QList<QFrame*> panels;
        QList<QLabel*> images;
        QLabel* number = nullptr;
    };
    // A command button under a grid of rows.
    struct RowGridButton {
        RowGrid* grid = nullptr;
        const GridButton* button = nullptr;
        QPushButton* widget = nullptr;
    };

    CalculatorToolbar* toolbar = nullptr;
    // The upper (or only) soil frame, and the lower layer's of two-layer earth.
    SoilFrame* soil = nullptr;
    SoilFrame* lowerSoil = nullptr;
    QList<SoilSlot> soils;
    QList<SectionSlot> sections;
    // The construction frame without a prefix, if any.
    SectionFrame* section = nullptr;
    // The pictures of the soil pages, by their files.
    QMap<QString, QLabel*> pageImages;
    QTabWidget* layerTabs = nullptr;
    InstallationFrame* eu = nullptr;
    QScrollArea* mainScroll = nullptr;
    QLabel* image = nullptr;
    QGroupBox* conditions = nullptr;
    QLineEdit* result = nullptr;
    QLabel* message = nullptr;
    QToolButton* btnScore = nullptr;
    QLineEdit* orderLine = nullptr;
    QPlainTextEdit* memo = nullptr;
    QGridLayout* geometryGrid = nullptr;
    QMap<QString, QLineEdit*> geometry;
    QMap<QString, SpinButton*> steps;
    QMap<QString, QToolButton*> buttons;
    QMap<QString, QComboBox*> choices;
    QMap<QString, QSpinBox*> spins;
    QMap<QString, RadioGroup*> radios;
    QMap<QString, RowGrid*> rowGrids;
    QList<RowGridButton> gridButtons;
    QMap<QString, QLabel*> ranges;
    // The captions that follow other inputs, by their object names.
    QMap<QString, QLabel*> captions;
    QMap<QString, PictureChoiceWidgets> pictureChoices;
    QMap<QString, TableRowChoice*> rowChoices;
    QTabWidget* pages = nullptr;
    QMap<QString, TableGrid*> grids;
    QList<QPair<const CoefficientTab*, QCheckBox*>> tableFilters;
    // The equivalent resistivity's "include" box under the result, when the calculator has one.
    QCheckBox* include = nullptr;
};

// Builds a calculator window's widgets from the calculator's description: toolbar on top; picture
// and the formula's conditions on the left; soil, construction and geometry with the result on the
// right; the formula panel; the installation frame at the bottom. It connects nothing: the window
// wires what it is handed.
class CalculatorWindowBuilder {
public:
    CalculatorWindowBuilder(QDialog& window, const CalculatorDescriptor& descriptor, DataModule& data);

    CalculatorWidgets build();

private:
    void buildWindow();
    void buildGeometry(QGridLayout* grid, int& row, int page = -1);
    // The soil and construction frames the description declares, the pages that hold them with
    // their own inputs and pictures.
    void buildFrames(QBoxLayout* right, QWidget* parent);
    QWidget* buildSoilPage(int index, QWidget* parent);
    // The page control and what it holds, after the geometry (which makes the picture choices).
    void buildPageControl(QBoxLayout* left, QWidget* parent);
    void addFixedRange(const GeometryInput& g, QGridLayout* target, int row, QWidget* panel);
    void buildPictureChoice(const GeometryInput& g, QGridLayout* target, int row, QWidget* panel);
    QWidget* buildCoefficientTab(const CoefficientTab& t);
    void addRadioInput(const GeometryInput& g, QGridLayout* grid, int row);
    // A row chosen in a grid: its tab, its key beside the caption.
    void buildRowChoice(const GeometryInput& g, QLabel* caption, QGridLayout* target, int row);
    // A grid of rows with its panel and buttons.
    void addRowGrid(const GeometryInput& g, QGridLayout* target, int row, QWidget* panel);
    void buildEquivalentResistivity();
    // A control of the calculator's own in a row of its own under the result.
    void addBelowResult(QWidget* widget);

    QDialog& window_;
    const CalculatorDescriptor& d_;
    DataModule& data_;
    CalculatorWidgets ui_;
};

} // namespace kz
