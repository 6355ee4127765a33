#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace kz {

// "Выбор размеров заземлителя.": the sizes of one construction to check for the corrosion
// dictionary. "ОК" needs at least one size checked.
class SizeSelectionDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int helpContext = 59;

    explicit SizeSelectionDialog(QWidget* parent = nullptr);

    void setConstruction(const QString& construction);
    // Every size in list order; those equal to one of checked start checked.
    void setSizes(const QStringList& sizes, const QStringList& checked);
    QStringList checkedSizes() const;
    // Shows the picker modally; its result.
    int run();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setAll(int mode); // 0 none, 1 all, 2 inverted
    void updateOk();

    QLineEdit* editMaterial_;
    QLineEdit* editFormaData_;
    QListWidget* list_;
    QPushButton* ok_;
};

} // namespace kz
