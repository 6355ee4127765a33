#pragma once

#include <QList>
#include <QString>
#include <optional>

// The named selection sets of the standard grounding device: podbor0.DB holds a set's name and
// required resistance, podbor1.DB its rows (by Kod0) in the order of nesting. Both files live in
// the data folder beside the other tables. A set and its rows are always written or deleted
// together, in one transaction over both files.
namespace kz {

struct SelectionSetRow {
    QString param;
    double start = 0; // BValue
    double end = 0;   // EValue
    double step = 0;  // Shag
};

struct SelectionSet {
    int kod = 0;
    QString name;
    double r = 0;
    QList<SelectionSetRow> rows;
};

class SelectionSets {
public:
    explicit SelectionSets(const QString& dataDir);

    // Creates the missing ones of the two files, empty, as the data build does.
    bool ensureFiles(QString* error = nullptr) const;

    // Saves the set under its name: a set of the same name (any letter case) is overwritten,
    // otherwise a new one is appended. Returns the set's Kod; nullopt with the message to show
    // when the store refused (then neither file changed).
    std::optional<int> save(const QString& name, double r, const QList<SelectionSetRow>& rows,
                            QString* error = nullptr) const;
    // Deletes a set with its rows; false with the message when the store refused (nothing deleted).
    bool remove(int kod, QString* error = nullptr) const;
    // The sets in the order they were first saved, rows included.
    QList<SelectionSet> all(QString* error = nullptr) const;
    std::optional<SelectionSet> find(int kod, QString* error = nullptr) const;

    QString masterPath() const;
    QString detailPath() const;

private:
    QString dataDir_;
};

} // namespace kz
