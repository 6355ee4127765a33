#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace kz {

// The program's command line, checked against the one table of options (CommandLine.cpp) that the
// usage text is written from. A new option is a new row there.
struct CommandLine {
    QStringList arguments;          // as given, the program first: the commands read their own values
    QHash<QString, QString> values; // the options given, with their values (empty for a switch)
    QString error;                  // an unknown option, a missing value, an option out of place

    bool has(const QString& option) const { return values.contains(option); }
    QString value(const QString& option) const { return values.value(option); }
};

CommandLine parseCommandLine(const QStringList& arguments);
CommandLine parseCommandLine(int argc, char** argv);

QString usageText();
QString versionText();

// --help, --version and a wrong command line are answered at once, with no window and no display:
// returns the exit status then, or -1 when the program goes on.
int answerWithoutWindows(const CommandLine& commandLine);

} // namespace kz
