#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace kz {

// A framed list of radio items with one chosen, laid out in columns; the item buttons are named
// after the group with their index ("rdgVid0", "rdgVid1").
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& objectName, const QString& title, const QStringList& items, int columns = 1,
               QWidget* parent = nullptr);

    int itemIndex() const;
    // Chooses an item as a click would (fires itemIndexChanged when the choice changes).
    void setItemIndex(int index);
    void setItemText(int index, const QString& text);
    // The chosen item's text; empty with none chosen.
    QString itemText() const;
    // Chooses the item with that text, or with that index written as a number; false for neither.
    bool chooseItem(const QString& textOrIndex);
    int count() const;
    QRadioButton* item(int index) const;

signals:
    void itemIndexChanged(int index);

private:
    QButtonGroup* group_;
};

} // namespace kz
