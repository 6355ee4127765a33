#pragma once

#include <QString>
#include <QStringList>

// The calculation order ("Порядок расчета"): the formula written out with the numbers on screen.
// Numbers are the texts of the fields as they stand, never reformatted; π is "П" in symbolic
// formulas and "3,14" in substituted ones.
namespace kz {

// Named quantities of the multi-line text built last, read in groups of three: name,
// designation, value. The viewer shows them and searches the text for them.
class ParameterTriples {
public:
    void clear() { items_.clear(); }
    void add(const QString& name, const QString& designation, const QString& value);
    int count() const { return int(items_.size() / 3); }
    QString name(int k) const { return items_.value(3 * k); }
    QString designation(int k) const { return items_.value(3 * k + 1); }
    QString value(int k) const { return items_.value(3 * k + 2); }
    const QStringList& strings() const { return items_; }

private:
    QStringList items_;
};

// One list for the whole program: it holds the triples of whichever calculator built its text last.
ParameterTriples& parameterTriples();

// Texts of the installation frame as they stand on screen.
struct InstallationValues {
    QString type;        // EditTip
    QString current;     // EditIzo, empty when the type does not use it
    QString voltage;     // EditUlin
    QString power;       // EditS
    QString resistivity; // EditP
    QString permissible; // EditRmax
    bool include = true; // chkInclude "Включить в отчет"
};

// The installation frame as it opens: up to 1 kV with an earthed neutral, Uлин 380 V, p 100 Ом м,
// Rдоп 4 Ом.
InstallationValues openingInstallation();

// The installation characteristics: type and Rдоп always, the others only when filled.
void AddInstallationLines(const InstallationValues& eu, QStringList& memo);

// "Так как R <= Rдоп., то <noun> можно использовать ..." or its negative. R equal to Rдоп is
// usable. Without a number in Rдоп there is nothing to compare with: no line, false.
bool AddVerdictLine(const InstallationValues& eu, const QString& noun, const QString& symbol,
                    QStringList& memo, double r);
QString verdictText(bool usable, const QString& noun, const QString& symbol);

// " = 21,81 Ом" of the one-line form, " = 21,81 Ом." of the multi-line form and the report.
QString oneLineEnding(const QString& resultText);
QString multiLineEnding(const QString& resultText);

// Builder of a multi-line text that keeps the conventions: section headings, data lines
// "name: symbol = value unit.", formulas as a heading with a colon, the symbolic form with a
// semicolon and the substituted form on its own line. Starting a text empties the triples.
class CalcOrderText {
public:
    explicit CalcOrderText(ParameterTriples& triples = parameterTriples());

    const QStringList& lines() const { return lines_; }
    // Empties the lines and the triples.
    void begin();
    void line(const QString& text) { lines_ << text; }
    // "Грунты." — the text as given, a full stop added when it has none.
    void heading(const QString& title);
    void blank() { lines_ << QString(); }
    // "Удельное сопротивление грунта: р = 100 Ом м." and a triple (name, symbol, value).
    void data(const QString& name, const QString& symbol, const QString& value, const QString& unit);
    // A correction coefficient and the corrected value that follows it; both are left out when
    // the coefficient is the text "1".
    void corrected(const QString& coefName, const QString& coefSymbol, const QString& coefValue,
                   const QString& name, const QString& symbol, const QString& value, const QString& unit);
    // heading + ":", symbolic + ";", then the substituted form (finished later with appendToLast
    // when it is built in two pieces).
    void formula(const QString& title, const QString& symbolic, const QString& substituted);
    void appendToLast(const QString& text);
    // Installation lines when "Включить в отчет" is checked; true when written.
    bool installation(const InstallationValues& eu);
    bool verdict(const InstallationValues& eu, const QString& noun, const QString& symbol, double r);

private:
    ParameterTriples& triples_;
    QStringList lines_;
};

} // namespace kz
