#include "app/commands/CommandLine.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

struct Option {
    QString name;
    QString valueName; // empty: a switch
    QString onlyWith;  // the option it only makes sense with
    QString help;
};

const QList<Option>& options() {
    static const QList<Option> table{
        {u"--batch"_s,
         u"СЛУЧАИ.json"_s,
         {},
         u"рассчитать варианты из файла без окон и вывести результаты в JSON"_s},
        {u"--out"_s, u"ФАЙЛ"_s, u"--batch"_s, u"записать результаты в ФАЙЛ, а не в стандартный вывод"_s},
        {u"--reports"_s, u"ПАПКА"_s, u"--batch"_s,
         u"записать отчет каждого рассчитанного варианта в ПАПКА/<имя варианта>.docx"_s},
        {u"--verify"_s,
         {},
         {},
         u"проверить расчеты на контрольных примерах без окон; каждое расхождение выводится строкой"_s},
        {u"--report"_s, u"ФАЙЛ.docx"_s, u"--verify"_s, u"записать отчет о проверке расчетов"_s},
        {u"--data"_s,
         u"ПАПКА"_s,
         {},
         u"брать таблицы из ПАПКИ вместо папки Data рядом с программой или папки пользователя"_s},
        {u"--help"_s, {}, {}, u"показать эту справку и выйти"_s},
        {u"--version"_s, {}, {}, u"показать версию программы и выйти"_s},
    };
    return table;
}

const Option* findOption(const QString& name) {
    for (const Option& o : options())
        if (o.name == name)
            return &o;
    return nullptr;
}

// The toolkit's own options start with one dash (-platform xcb, -style fusion): they are left to it.
bool isToolkitOption(const QString& argument) {
    return argument.size() > 1 && argument.startsWith(QLatin1Char('-')) && !argument.startsWith(u"--"_s);
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine line;
    line.arguments = arguments;
    for (int i = 1; i < arguments.size() && line.error.isEmpty(); ++i) {
        const QString& argument = arguments[i];
        if (isToolkitOption(argument)) {
            if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QLatin1Char('-')))
                ++i;
            continue;
        }
        const Option* option = findOption(argument);
        if (!option) {
            line.error = argument.startsWith(u"--"_s) ? u"неизвестный параметр %1"_s.arg(argument)
                                                      : u"лишний аргумент %1"_s.arg(argument);
            break;
        }
        QString value;
        if (!option->valueName.isEmpty()) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty() || findOption(arguments[i + 1])) {
                line.error = u"после %1 нужно указать %2"_s.arg(option->name, option->valueName);
                break;
            }
            value = arguments[++i];
        }
        line.values.insert(option->name, value);
    }
    for (const Option& o : options())
        if (line.error.isEmpty() && !o.onlyWith.isEmpty() && line.has(o.name) && !line.has(o.onlyWith))
            line.error = u"%1 используется только вместе с %2"_s.arg(o.name, o.onlyWith);
    return line;
}

CommandLine parseCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return parseCommandLine(arguments);
}

QString usageText() {
    QString text = u"Вызов: kelvorzu2 [ПАРАМЕТРЫ]\n"
                   u"Kelvor ZU 2.0 - расчет сопротивления заземляющих устройств. "
                   u"Без параметров открывается главное окно программы.\n\n"
                   u"Параметры:\n"_s;
    QStringList heads;
    qsizetype width = 0;
    for (const Option& o : options()) {
        heads << (o.valueName.isEmpty() ? o.name : o.name + QLatin1Char(' ') + o.valueName);
        width = std::max(width, heads.last().size());
    }
    for (qsizetype i = 0; i < options().size(); ++i) {
        const Option& o = options()[i];
        text += u"  "_s + heads[i].leftJustified(width + 2) + o.help;
        if (!o.onlyWith.isEmpty())
            text += u" (вместе с %1)"_s.arg(o.onlyWith);
        text += QLatin1Char('\n');
    }
    text += u"\nПример:\n"
            u"  kelvorzu2 --batch варианты.json --out результаты.json --reports отчеты/\n\n"
            u"Код завершения пакетного расчета: 0 - рассчитаны все варианты, 1 - не все, "
            u"2 - ошибка вызова или файла.\n"
            u"Подробнее: man kelvorzu2\n"_s;
    return text;
}

QString versionText() {
    return u"kelvorzu2 (Kelvor ZU) %1\n"_s.arg(QStringLiteral(KELVOR_VERSION));
}

int answerWithoutWindows(const CommandLine& commandLine) {
    if (!commandLine.error.isEmpty()) {
        QTextStream(stderr) << u"kelvorzu2: "_s << commandLine.error << u"\n\n"_s << usageText();
        return 2;
    }
    if (commandLine.has(u"--help"_s)) {
        QTextStream(stdout) << usageText();
        return 0;
    }
    if (commandLine.has(u"--version"_s)) {
        QTextStream(stdout) << versionText();
        return 0;
    }
    return -1;
}

} // namespace kz
