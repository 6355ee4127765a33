#include "core/batch/CaseRunner.h"

#include "core/model/CalculatorList.h"

#include <QDir>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace kz {

CaseRunner::CaseRunner(const FrameData& data) : data_(data) {}

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
    const QJsonObject c = value.toObject();
    result.calculator = c.value(u"calculator"_s).toString();
    result.name = c.value(u"name"_s);
    const Calculator* calculator = findCalculator(result.calculator);
    if (!calculator) {
        result.error = u"неизвестный калькулятор \""_s + result.calculator + u"\""_s;
        return result;
    }
    if (c.contains(u"inputs"_s) && !c.value(u"inputs"_s).isObject()) {
        result.error = u"поле inputs должно быть объектом JSON: имя поля ввода и его значение"_s;
        return result;
    }
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
        if (it.key().endsWith(u"SizeSetMode"_s)) {
            result.error = u"режим списка размеров задается кнопками btnAllMat, btnRecMat и btnDopMat"_s;
            return result;
        }
        const int position = session.position(it.key());
        if (position < 0) {
            if (!session.set(it.key(), it.value(), &result.error) && result.error.isEmpty())
                result.error = u"нет поля "_s + it.key();
            return result;
        }
        pending.append({position, it.key()});
    }
    std::stable_sort(pending.begin(), pending.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [position, name] : std::as_const(pending)) {
        if (!session.set(name, inputs.value(name), &result.error)) {
            result.messages = session.messages();
            result.said = true;
            return result;
        }
    }
    session.calculate();
    result.outputs = session.outputs();
    result.messages = session.messages();
    result.warnings = session.warnings();
    result.said = true;
    result.ran = true;
    if (!reportDir_.isEmpty() && reportWriter_)
        writeReport(session, result.name.toString(), result);
    return result;
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
    const QString path = QDir(reportDir_).filePath(base + u".docx"_s);
    if (reportWriter_(session.calculator(), session.reportSource(), path, &result.reportError))
        result.report = path;
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
    std::string out = "[\n";
    out.reserve(size_t(json.size()) * 8);
    bool first = true;
    *allRan = runAll(json, [&](const CaseResult& r) {
        if (!first)
            out += ",\n";
        first = false;
        r.writeJson(out, 1);
    });
    out += "\n]\n";
    return QByteArray(out.data(), qsizetype(out.size()));
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

namespace {
// JSON text is built in a std::string: its appends are the cheap part of writing a case.
void writeString(std::string& out, const QString& text) {
    out += '"';
    const bool plain = std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() >= 0x80 || c.unicode() < 0x20 || c == u'"' || c == u'\\';
    });
    if (plain) {
        // A name: its characters are its bytes.
        const size_t at = out.size();
        out.resize(at + size_t(text.size()));
        char* to = out.data() + at;
        for (const QChar c : text)
            *to++ = char(c.unicode());
    } else if (const QByteArray utf8 = text.toUtf8(); std::none_of(utf8.cbegin(), utf8.cend(), [](char c) {
                   return c == '"' || c == '\\' || uchar(c) < 0x20;
               })) {
        out.append(utf8.constData(), size_t(utf8.size()));
    } else {
        for (const char c : utf8) {
            switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (uchar(c) < 0x20) {
                    static const char hex[] = "0123456789abcdef";
                    out += "\\u00";
                    out += hex[uchar(c) >> 4];
                    out += hex[uchar(c) & 15];
                } else {
                    out += c;
                }
            }
        }
    }
    out += '"';
}
} // namespace

void CaseResult::writeJson(std::string& out, int depth) const {
    // The keys in the order a JSON object keeps them, indented as QJsonDocument indents.
    const std::string pad(size_t(depth) * 4, ' ');
    const std::string inner = pad + "    ";
    const std::string deeper = inner + "    ";
    bool first = true;
    const auto key = [&](const char* name) {
        out += first ? "\n" : ",\n";
        first = false;
        out += inner;
        out += '"';
        out += name;
        out += "\": ";
    };
    out += pad;
    out += '{';
    if (!calculator.isNull()) {
        key("calculator");
        writeString(out, calculator);
    }
    if (!error.isEmpty()) {
        key("error");
        writeString(out, error);
    }
    if (said) {
        key("messages");
        out += '[';
        for (qsizetype i = 0; i < messages.size(); ++i) {
            out += i ? ",\n" : "\n";
            out += deeper;
            writeString(out, messages[i]);
        }
        out += '\n';
        out += inner;
        out += ']';
    }
    if (!name.isUndefined()) {
        key("name");
        out += QJsonDocument(QJsonArray{name}).toJson(QJsonDocument::Compact).mid(1).chopped(1).toStdString();
    }
    if (ran) {
        key("outputs");
        out += '{';
        bool firstField = true;
        for (const auto& [field, text] : outputs) {
            out += firstField ? "\n" : ",\n";
            firstField = false;
            out += deeper;
            writeString(out, field);
            out += ": ";
            writeString(out, text);
        }
        out += '\n';
        out += inner;
        out += '}';
    }
    if (!report.isEmpty()) {
        key("report");
        writeString(out, report);
    }
    if (!reportError.isEmpty()) {
        key("reportError");
        writeString(out, reportError);
    }
    if (!warnings.isEmpty()) {
        key("warnings");
        out += '[';
        for (qsizetype i = 0; i < warnings.size(); ++i) {
            out += i ? ",\n" : "\n";
            out += deeper;
            writeString(out, warnings[i]);
        }
        out += '\n';
        out += inner;
        out += ']';
    }
    out += '\n';
    out += pad;
    out += '}';
}

} // namespace kz
