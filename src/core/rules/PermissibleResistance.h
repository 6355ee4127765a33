#pragma once

#include <QString>
#include <QStringList>

// Permissible resistance of a grounding device by the norms for the kind of electrical
// installation it serves, with the short justification shown to the user.
namespace kz {

// Installation types by their position in the permissible-resistance dialog's list.
enum InstallationType {
    AboveOneKvEarthed = 0,        // above 1 kV, earthed neutral
    AboveOneKvIsolated = 1,       // above 1 kV, isolated neutral (uses Iзо)
    UpToOneKvEarthedAndAbove = 2, // up to 1 kV earthed and above 1 kV isolated (Iзо, Uлин)
    IsolatedBoth = 3,             // up to 1 kV and above, isolated neutral (Iзо, S)
    UpToOneKvEarthed = 4,         // up to 1 kV, earthed neutral (Uлин)
    UpToOneKvRepeated = 5,        // up to 1 kV, earthed neutral, repeated groundings (Uлин)
    UpToOneKvIsolated = 6,        // up to 1 kV, isolated neutral (S)
    InstallationTypeCount = 7
};

// The exact type texts, in list order; the text identifies the type everywhere.
const QStringList& installationTypeNames();
// Position of a type text, -1 for any other text.
int installationTypeIndex(const QString& text);

// Inputs a type uses besides the soil resistivity.
bool typeUsesCurrent(int type); // Iзо
bool typeUsesVoltage(int type); // Uлин
bool typeUsesPower(int type);   // S
// Only repeated groundings have a total resistance of their own.
bool typeHasRepeatedTotal(int type);

// The line voltages the norms know, as listed in the dialog.
const QStringList& lineVoltageItems();
// The usual generator (transformer) powers offered in the dialog, kVA.
const QStringList& powerItems();

// Genitive names of the inputs, for the messages of the input check.
QString resistivityParameterName();
QString currentParameterName();
QString voltageParameterName();
QString powerParameterName();

struct PermissibleInputs {
    long double p = 0;    // soil resistivity, ohm*m
    long double izo = 0;  // design earth-fault current, A
    long double ulin = 0; // line voltage, V: 220, 380 or 660
    long double s = 0;    // total power of generators (transformers), kVA
};

struct PermissibleResult {
    bool valid = false;
    QString r;                 // permissible resistance as shown: a cap "10" or a value "12,50"
    QString total;             // repeated groundings only: their total resistance
    QStringList justification; // lines of the justification
};

// Rdop by the norms. Every input the type uses must be greater than 0 and the line voltage one of
// 220, 380, 660; otherwise, and for an unknown type, the result is not valid and empty.
PermissibleResult permissibleResistance(int type, const PermissibleInputs& inputs);

// The same rule on the texts an installation frame holds: the type text and the texts of Iзо, р, S
// and Uлин, empty where the type does not use the input. Empty when R cannot be derived (unknown
// type, an input the type needs empty, not a number or not positive).
QString permissibleResistanceText(const QString& typeText, const QString& izo, const QString& p,
                                  const QString& s, const QString& ulin);

} // namespace kz
