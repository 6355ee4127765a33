#include "core/verification/Verification.h"

#include "core/batch/CaseRunner.h"
#include "core/model/Calculator.h"
#include "core/calculators/CalculatorList.h"
#include "core/model/CoefficientTables.h"
#include "core/rules/SectionRules.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <map>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

// Passes every read on to the tables and notes which tables were read: what a failing case
// depends on. The frames' tables (soils, steel, corrosion) are kept apart from those the formula
// and the chosen rows read, since every calculator reads the former.
class ReadTables : public FrameData, public CoefficientTables {
public:
    ReadTables(const FrameData& tables, std::function<QString(const QString&)> tableFile)
        : tables_(tables), tableFile_(std::move(tableFile)) {}

    // Noted by the const reads the runner makes.
    mutable QSet<QString> formulaTables;
    mutable QSet<QString> frameTables;

    QStringList soilNames() const override {
        noteFrame(u"P_udel.DB"_s);
        return tables_.soilNames();
    }
    std::optional<SoilType> soil(const QString& name) const override {
        noteFrame(u"P_udel.DB"_s);
        return tables_.soil(name);
    }
    QStringList sizes(int construction) const override {
        noteFrame(steelTableFile(construction));
        return tables_.sizes(construction);
    }
    QStringList corrosionConstructions(double p, const QString& kind, int mode,
                                       QString* error) const override {
        noteCorrosion(4);
        return tables_.corrosionConstructions(p, kind, mode, error);
    }
    QStringList corrosionSizes(double p, const QString& kind, int mode, const QString& construction,
                               QString* error) const override {
        noteCorrosion(construction.isNull() ? 4 : 5);
        return tables_.corrosionSizes(p, kind, mode, construction, error);
    }
    QStringList choiceTexts(const GeometryInput& input) const override {
        if (input.choice)
            noteFormula(input.choice->table);
        return tables_.choiceTexts(input);
    }
    std::optional<QList<ChoiceRow>> choiceRows(const RowChoice& choice,
                                               const RowTable& table) const override {
        noteFormula(table.table);
        return tables_.choiceRows(choice, table);
    }
    const CoefficientTables* coefficients() const override { return tables_.coefficients() ? this : nullptr; }
    CoefficientRows rows(const QString& table, const QStringList& fields) const override {
        noteFormula(table);
        return tables_.coefficients()->rows(table, fields);
    }
    CoefficientRows rowsWhere(const QString& table, const QStringList& fields, const QString& textField,
                              const QString& value) const override {
        noteFormula(table);
        return tables_.coefficients()->rowsWhere(table, fields, textField, value);
    }

private:
    QString file(const QString& name) const { return tableFile_ ? tableFile_(name) : name; }
    void noteFormula(const QString& name) const {
        if (!name.isEmpty())
            formulaTables.insert(file(name));
    }
    void noteFrame(const QString& name) const {
        if (!name.isEmpty())
            frameTables.insert(file(name));
    }
    // The corrosion queries join KorGrunt0 … KorGrunt3, the sizes' KorGrunt4 as well.
    void noteCorrosion(int tables) const {
        for (int i = 0; i < tables; ++i)
            noteFrame(u"KorGrunt"_s + QString::number(i));
    }

    const FrameData& tables_;
    std::function<QString(const QString&)> tableFile_;
};

struct LoadedCase {
    QString file;
    QJsonValue value;
    QString error; // the file itself cannot be read
};

QList<LoadedCase> loadCases(const QString& folder) {
    QList<LoadedCase> cases;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({u"*.json"_s}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            cases.append({name, {}, u"не удается прочитать файл"_s});
            continue;
        }
        QJsonParseError parseError;
        const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
        if (parseError.error != QJsonParseError::NoError || !doc.isArray()) {
            cases.append({name,
                          {},
                          parseError.error != QJsonParseError::NoError
                              ? u"ошибка JSON в позиции "_s + QString::number(parseError.offset) + u": "_s +
                                    parseError.errorString()
                              : u"файл случаев должен содержать массив JSON"_s});
            continue;
        }
        for (const QJsonValue& value : doc.array())
            cases.append({name, value, {}});
    }
    return cases;
}

QStringList dependencies(const QSet<QString>& formula, const QSet<QString>& frame,
                         const QHash<QString, QString>& changed) {
    QStringList marked, plain;
    QStringList formulaList(formula.cbegin(), formula.cend());
    formulaList.sort(Qt::CaseInsensitive);
    for (const QString& table : std::as_const(formulaList))
        (changed.contains(table) ? marked : plain) << table;
    QStringList frameList(frame.cbegin(), frame.cend());
    frameList.sort(Qt::CaseInsensitive);
    // Every calculator reads the frames' tables: named only when they changed.
    for (const QString& table : std::as_const(frameList))
        if (changed.contains(table) && !formula.contains(table))
            marked << table;
    for (QString& table : marked)
        table += u" ("_s + changed.value(table) + u")"_s;
    return marked + plain;
}

} // namespace

QString VerificationRow::expectedText() const {
    if (outputs.size() == 1)
        return outputs.first().expected;
    QStringList parts;
    for (const OutputCheck& c : outputs)
        parts << c.output + u" = "_s + c.expected;
    return parts.join(u"; "_s);
}

QString VerificationRow::obtainedText() const {
    if (!error.isEmpty())
        return error;
    if (outputs.size() == 1)
        return outputs.first().obtained;
    QStringList parts;
    for (const OutputCheck& c : outputs)
        parts << c.output + u" = "_s + c.obtained;
    return parts.join(u"; "_s);
}

std::optional<double> VerificationRow::deviation() const {
    std::optional<double> farthest;
    for (const OutputCheck& c : outputs)
        if (c.deviation && (!farthest || std::fabs(*c.deviation) > std::fabs(*farthest)))
            farthest = c.deviation;
    return farthest;
}

QString VerificationRow::failureText() const {
    if (passed)
        return {};
    QStringList parts;
    if (!error.isEmpty())
        parts << error;
    for (const OutputCheck& c : outputs) {
        if (c.passed)
            continue;
        QString part = c.output + u": ожидалось "_s + c.expected + u", получено "_s + c.obtained;
        if (c.deviation)
            part += u" ("_s + deviationText(*c.deviation) + u")"_s;
        if (!c.problem.isEmpty())
            part += u", "_s + c.problem;
        parts << part;
    }
    if (!dependsOn.isEmpty())
        parts << u"зависит от таблиц: "_s + dependsOn.join(u", "_s);
    return parts.join(u"; "_s);
}

int VerificationRun::failures() const {
    return int(std::count_if(rows.cbegin(), rows.cend(), [](const VerificationRow& r) { return !r.passed; }));
}

VerificationRun runVerification(const QString& folder, const FrameData& data,
                                const VerificationOptions& options) {
    VerificationRun run;
    const QList<LoadedCase> cases = loadCases(folder);
    run.total = int(cases.size());
    if (cases.isEmpty()) {
        run.problem =
            u"В папке "_s + QDir::toNativeSeparators(folder) + u" нет файлов проверочных случаев."_s;
        return run;
    }
    ReadTables read(data, options.tableFile);
    CaseRunner runner(read);
    // What each calculator read over all its cases: a case computed later may need a table an
    // earlier one already brought into the opened calculator.
    std::map<QString, std::pair<QSet<QString>, QSet<QString>>> readBy;
    for (const LoadedCase& loaded : cases) {
        if (options.stopRequested && options.stopRequested()) {
            run.stopped = true;
            break;
        }
        VerificationRow row;
        row.file = loaded.file;
        const QJsonObject c = loaded.value.toObject();
        row.calculator = c.value(u"calculator"_s).toString();
        const Calculator* calculator = findCalculator(row.calculator);
        row.caption = calculator ? calculator->description().caption : row.calculator;
        row.name = c.value(u"name"_s).toString();
        row.source = c.value(u"source"_s).toString();
        row.note = c.value(u"note"_s).toString();
        if (!loaded.error.isEmpty()) {
            row.error = loaded.error;
        } else if (!loaded.value.isObject()) {
            row.error = u"случай должен быть объектом JSON"_s;
        } else {
            if (row.source.trimmed().isEmpty())
                row.warnings << u"у случая нет источника ожидаемых значений (source)"_s;
            read.formulaTables.clear();
            read.frameTables.clear();
            const QJsonObject result = runner.runCase(loaded.value).toJson();
            auto& tables = readBy[row.calculator];
            tables.first.unite(read.formulaTables);
            tables.second.unite(read.frameTables);
            const CaseComparison comparison = compareWithExpected(c, result);
            row.outputs = comparison.outputs;
            row.error = comparison.error;
            row.passed = comparison.passed();
        }
        run.rows << row;
        if (options.progress)
            options.progress(int(run.rows.size()), run.total);
    }
    for (VerificationRow& row : run.rows)
        if (!row.passed)
            if (const auto it = readBy.find(row.calculator); it != readBy.end())
                row.dependsOn = dependencies(it->second.first, it->second.second, options.changedTables);
    return run;
}

} // namespace kz
