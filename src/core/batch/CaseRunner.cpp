#include "core/batch/CaseRunner.h"

#include "core/calculators/CalculatorList.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace kz {

CaseRunner::CaseRunner(const FrameData& data) : data_(data) {}

namespace {

// Lone surrogates (half of a character pair, as "\ud800" in JSON) become U+FFFD: no XML, JSON or
// file name may hold them. True when any was replaced.
bool replaceLoneSurrogates(QString& text) {
    bool replaced = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            text[i] = QChar::ReplacementCharacter;
            replaced = true;
        }
    }
    return replaced;
}

// The same through a JSON value: every string, every key.
QJsonValue withValidText(const QJsonValue& value, bool* replaced) {
    if (value.isString()) {
        QString text = value.toString();
        *replaced = replaceLoneSurrogates(text) || *replaced;
        return text;
    }
    if (value.isArray()) {
        QJsonArray out;
        for (const QJsonValue& v : value.toArray())
            out.append(withValidText(v, replaced));
        return out;
    }
    if (value.isObject()) {
        const QJsonObject in = value.toObject();
        QJsonObject out;
        for (auto it = in.begin(); it != in.end(); ++it) {
            QString key = it.key();
            *replaced = replaceLoneSurrogates(key) || *replaced;
            out.insert(key, withValidText(it.value(), replaced));
        }
        return out;
    }
    return value;
}

} // namespace

QString invalidTextMessage() {
    return u"В тексте случая были недопустимые знаки (половины суррогатных пар): они заменены знаком \uFFFD."_s;
}

void CaseRunner::setReports(const QString& dir, ReportWriter writer) {
    reportDir_ = dir;
    reportWriter_ = std::move(writer);
}

CaseResult CaseRunner::runCase(const QJsonValue& value) {
    CaseResult result;
    if (!value.isObject()) {
        result.error = u"случай должен быть объектом JSON"_s;
        return result;
    }
    bool replaced = false;
    const QJsonObject c = mayHoldLoneSurrogates_ ? withValidText(value, &replaced).toObject() : value.toObject();
    if (replaced) {
        result.messages << invalidTextMessage();
        result.said = true;
    }
    const auto refuse = [&result](const QString& error) {
        result.error = error;
        return result;
    };
    result.calculator = c.value(u"calculator"_s).toString();
    result.name = c.value(u"name"_s);
    const Calculator* calculator = findCalculator(result.calculator);
    if (!calculator)
        return refuse(u"неизвестный калькулятор \""_s + result.calculator + u"\""_s);
    if (c.contains(u"inputs"_s) && !c.value(u"inputs"_s).isObject())
        return refuse(u"поле inputs должно быть объектом JSON: имя поля ввода и его значение"_s);
    auto opened = opened_.find(result.calculator);
    if (opened == opened_.end()) {
        opened = opened_.emplace(result.calculator, CalculatorSession(*calculator, data_)).first;
        opened->second.open();
    }
    CalculatorSession session = opened->second;

    // The calculator's own order first (a construction before its size), whatever the order of
    // the keys; the frames' and the toolbar's inputs after them.
    const QJsonObject inputs = c.value(u"inputs"_s).toObject();
    QList<std::pair<int, QString>> pending;
    for (auto it = inputs.begin(); it != inputs.end(); ++it) {
        if (it.key().endsWith(u"SizeSetMode"_s))
            return refuse(u"режим списка размеров задается кнопками btnAllMat, btnRecMat и btnDopMat"_s);
        const int position = session.position(it.key());
        if (position < 0) {
            QString error;
            if (!session.set(it.key(), it.value(), &error) && error.isEmpty())
                error = u"нет поля "_s + it.key();
            return refuse(error);
        }
        pending.append({position, it.key()});
    }
    std::stable_sort(pending.begin(), pending.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [position, name] : std::as_const(pending)) {
        if (!session.set(name, inputs.value(name), &result.error)) {
            result.messages += session.messages();
            result.said = true;
            return result;
        }
    }
    session.calculate();
    result.outputs = session.outputs();
    result.messages += session.messages();
    result.warnings = session.warnings();
    result.said = true;
    result.ran = true;
    if (!reportDir_.isEmpty() && reportWriter_)
        writeReport(session, result.name.toString(), result);
    return result;
}

QString CaseRunner::freeReportPath(const QString& base) {
    // Never over a file already there, nor through a link: a second case of the same name, or a
    // file left in the folder, moves the report to the next free name.
    const QDir dir(reportDir_);
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? base + u".docx"_s : base + u" ("_s + QString::number(n) + u").docx"_s;
        const QString path = dir.filePath(name);
        const QFileInfo entry(path);
        if (!claimedReports_.contains(name.toCaseFolded()) && !entry.exists() && !entry.isSymLink()) {
            claimedReports_.insert(name.toCaseFolded());
            return path;
        }
    }
}

void CaseRunner::writeReport(const CalculatorSession& session, const QString& caseName, CaseResult& result) {
    const CalculatorDescriptor& d = session.calculator().description();
    if (!d.report || !session.hasResult())
        return;
    // The case's name is the file's: only what a file name may hold.
    QString base = caseName.trimmed();
    static const QString forbidden = u"/\\:*?\"<>|"_s;
    for (QChar& ch : base)
        if (forbidden.contains(ch) || ch.unicode() < 32)
            ch = u'_';
    if (base.isEmpty() || base == u"."_s || base == u".."_s)
        base = d.className + u'_' + QString::number(++unnamedReports_);
    const QString path = freeReportPath(base);
    if (reportWriter_(session.calculator(), session.reportSource(), path, &result.reportError)) {
        result.report = path;
    } else {
        ++failedReports_;
        if (result.reportError.isEmpty())
            result.reportError = u"Ошибка. Не удалось записать отчет в файл "_s + path + u'.';
    }
}

template <typename Each> bool CaseRunner::runAll(const QByteArray& json, Each&& each) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isArray()) {
        CaseResult r;
        r.error = parseError.error != QJsonParseError::NoError
                      ? u"ошибка JSON в позиции "_s + QString::number(parseError.offset) + u": "_s +
                            parseError.errorString()
                      : u"файл случаев должен содержать массив JSON"_s;
        each(r);
        return false;
    }
    // Only an escape can hold half of a character pair: the cases are cleaned when one may.
    mayHoldLoneSurrogates_ = json.contains("\\ud") || json.contains("\\uD");
    bool allRan = true;
    for (const QJsonValue& v : doc.array()) {
        const CaseResult r = runCase(v);
        allRan = allRan && r.ran;
        each(r);
    }
    return allRan;
}

QJsonArray CaseRunner::run(const QByteArray& json, bool* allRan) {
    QJsonArray results;
    *allRan = runAll(json, [&results](const CaseResult& r) { results.append(r.toJson()); });
    return results;
}

QByteArray CaseRunner::runToText(const QByteArray& json, bool* allRan) {
    return QJsonDocument(run(json, allRan)).toJson(QJsonDocument::Indented);
}

QJsonObject CaseResult::toJson() const {
    QJsonObject o;
    if (!calculator.isNull())
        o.insert(u"calculator"_s, calculator);
    if (!name.isUndefined())
        o.insert(u"name"_s, name);
    if (!error.isEmpty())
        o.insert(u"error"_s, error);
    if (ran) {
        QJsonObject shown;
        for (const auto& [field, text] : outputs)
            shown.insert(field, text);
        o.insert(u"outputs"_s, shown);
    }
    if (said)
        o.insert(u"messages"_s, QJsonArray::fromStringList(messages));
    if (!report.isEmpty())
        o.insert(u"report"_s, report);
    if (!reportError.isEmpty())
        o.insert(u"reportError"_s, reportError);
    if (!warnings.isEmpty())
        o.insert(u"warnings"_s, QJsonArray::fromStringList(warnings));
    return o;
}

} // namespace kz
