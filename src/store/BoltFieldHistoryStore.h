#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The foundation field's own history: a set in histmk0.db and its bolt distances in histmk1.db.
namespace kz {

struct BoltFieldSet {
    QString name;
    // Texts of the master's fields by field name (A, B, S, Pe, P1, Pb, L, Db, Dbb, Nb, Nf, R);
    // an empty text stores nothing (null).
    QMap<QString, QString> fields;
    // Xi, Yi, Zi of each bolt in order.
    QList<QStringList> distances;
};

// Writes the set under its name: the row with the same name in any letter case is overwritten,
// otherwise one is appended; its distance rows are replaced. Master and distances are written in
// one transaction over both files, so a failure leaves both as they were. Values reach the engine
// only bound. False with the reason in error.
bool saveBoltFieldSet(const QString& dataDir, const BoltFieldSet& set, QString* error);

} // namespace kz
