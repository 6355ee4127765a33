#pragma once

#include "widgets/selection/SelectionRunDialog.h"

#include <QPointer>

namespace kz {

class SelectionSetsDialog;

// The run dialog of the standard grounding device: the same dialog with its fixed list of
// parameters (the device offers all of them every time), the shorter wording of hints and limit
// messages, EditR without the exit check, and the grid with its required resistance saved under
// a name ("Сохранить...") or loaded from the named sets ("Загрузить...").
class StandardSelectionDialog : public SelectionRunDialog {
    Q_OBJECT
public:
    explicit StandardSelectionDialog(QWidget* parent = nullptr);

    // The folder of podbor0.DB and podbor1.DB; the program's data folder unless set.
    void setDataDir(const QString& dir) { dataDir_ = dir; }

    void saveSelectionSet();
    void loadSelectionSet();

    QPushButton* btnSave() const { return btnSave_; }
    QPushButton* btnLoad() const { return btnLoad_; }
    SelectionSetsDialog& loader();

private:
    QString folder() const;

    QString dataDir_;
    QPushButton* btnSave_;
    QPushButton* btnLoad_;
    QPointer<SelectionSetsDialog> loader_;
};

// The standard device's run dialog, created on first use beside the calculator's owner.
StandardSelectionDialog& standardSelectionForm(QWidget* calculator);

} // namespace kz
