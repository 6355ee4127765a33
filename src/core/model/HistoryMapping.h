#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// What a calculator keeps of its inputs in the history table and in its copy buffer. Inputs
// are named by their object names; the pseudo input SizeSetMode is the construction frame's
// size-list mode (0 all, 1 recommended, 2 permitted).
namespace kz {

inline QString sizeSetModeInput() {
    return QStringLiteral("SizeSetMode");
}

// Texts by input name.
using InputTexts = QMap<QString, QString>;

// One field of hist1.db and the input it comes from. The shown result is saved but not put back.
struct HistoryField {
    QString field;
    QString input;
    bool restore = true;
};

// One caption/field pair the loader shows.
struct HistoryCaption {
    QString caption;
    QString field;
};

struct HistoryLayout {
    int kindCode = 0;
    QString presetName; // offered when a set is saved
    // The save's name prompt; empty: "Введите наименование заземляющего устройства." with the
    // label "Наименование заземляющего устройства:".
    QString promptCaption;
    QString promptLabel;
    QList<HistoryField> fields;
    QList<HistoryCaption> captions;
    // The calculator keeps its sets in tables of its own, with a loader of its own (OwnHistory.h):
    // "history" (history.DB), "histmk" (histmk0.db with histmk1.db); empty: hist1.db by kind code.
    QString ownTables;

    bool isEmpty() const { return kindCode == 0 && ownTables.isEmpty(); }
    // Field texts to write, by field name.
    QMap<QString, QString> recordFromInputs(const InputTexts& inputs) const;
    // Input texts to assign, by input name; fields absent from the record give empty texts.
    InputTexts inputsFromRecord(const QMap<QString, QString>& fieldTexts) const;
    // The loader's list, read in pairs (caption, field name).
    QStringList fieldList() const;
};

// "Вертикальный заземлитель в земле 1." from the caption "Вертикальный заземлитель в земле.".
QString historyPresetName(const QString& caption);
// The name a set is kept under: what the field can hold.
QString historyStoredName(const QString& name, int fieldSize);
// Names are the same whatever the letter case.
bool sameHistoryName(const QString& a, const QString& b);

struct HistoryRowKey {
    int kindCode = 0;
    QString name;
};
// The row a save overwrites: the first of this kind with the same name; -1 means append.
// Rows of other kinds are never taken, so a save cannot overwrite another calculator's set.
int findHistoryRow(const QList<HistoryRowKey>& rows, int kindCode, const QString& name);

// The copy buffer of one calculator window: empty until the first copy, then the texts of the
// last copy. Windows never share one.
class CopyBuffer {
public:
    bool isEmpty() const { return !filled_; }
    void store(const InputTexts& texts) {
        texts_ = texts;
        filled_ = true;
    }
    const InputTexts& texts() const { return texts_; }

private:
    InputTexts texts_;
    bool filled_ = false;
};

} // namespace kz
