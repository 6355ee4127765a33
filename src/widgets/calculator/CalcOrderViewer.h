#pragma once

#include "core/model/MemoSearch.h"

#include <QDialog>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTableWidget;
class QToolButton;

namespace kz {

class ParameterTriples;

// "Порядок расчета.": a copy of a calculator's multi-line calculation order with the named
// parameters of the text built last. Finds a parameter (the selected grid cell) or a typed
// substring in the text and moves among the matches; changes the font, saves and opens text
// files. Help context 11.
//
// Object names: Memo1, Splitter1, RadioGroup1 (buttons rbParameter, rbSubstring), LabelFind,
// EditFind, btnFind, btnFirst, btnPrior, btnNext, btnLast, lblNo, StringGrid1, Button1..Button5.
class CalcOrderViewer : public QDialog {
    Q_OBJECT
public:
    explicit CalcOrderViewer(QWidget* parent = nullptr, ParameterTriples* triples = nullptr);

    // The calculator's lines, copied before the viewer is shown.
    void setLines(const QStringList& lines);
    QStringList lines() const;

    // Opening: fills the grid from the triples, selects the first designation and searches it.
    void activate();
    // Closing: forgets the matches.
    void deactivate();

    MemoSearchMode mode() const;
    void setMode(MemoSearchMode mode);
    const MatchList& matches() const { return matches_; }

    // What the mode buttons, btnFind, the navigation buttons and the file buttons do.
    void applySearchMode();
    void findText();
    void showFirstMatch();
    void showPriorMatch();
    void showNextMatch();
    void showLastMatch();
    void chooseFont();
    void saveText();
    void openText();

    QPlainTextEdit* Memo1() const { return memo_; }
    QTableWidget* parameterGrid() const { return grid_; }
    QLineEdit* EditFind() const { return editFind_; }
    QLabel* lblNo() const { return lblNo_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QString needle() const;
    void collect();
    void selectCurrent();
    void updateButtons();
    void gridCellSelected();

    ParameterTriples& triples_;
    MatchList matches_;
    QString needle_;

    QSplitter* splitter_;
    QPlainTextEdit* memo_;
    QButtonGroup* modes_;
    QLabel* labelFind_;
    QLineEdit* editFind_;
    QToolButton* btnFind_;
    QToolButton* btnFirst_;
    QToolButton* btnPrior_;
    QToolButton* btnNext_;
    QToolButton* btnLast_;
    QLabel* lblNo_;
    QTableWidget* grid_;
    bool filling_ = false;
};

} // namespace kz
