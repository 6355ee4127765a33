// Builds the data folder from the table sources kept in the repository.
#include "data/DataFiles.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool restore = args.removeAll(QStringLiteral("--restore")) > 0;
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: kelvorzu2-data [--restore] SOURCE_DIR DATA_DIR\n";
        return 2;
    }
    const kz::DataBuildReport r = kz::buildDataFolder(args[0], args[1], restore);
    QTextStream out(stdout);
    for (const auto& f : r.created)
        out << "created " << f << '\n';
    for (const auto& f : r.rebuilt)
        out << "rebuilt " << f << '\n';
    for (const auto& f : r.keptEdited)
        err << "warning: " << f
            << " was edited in the program and is kept; run kelvorzu2-data --restore to restore the shipped "
               "rows\n";
    for (const auto& e : r.errors)
        err << "error: " << e << '\n';
    return r.errors.isEmpty() ? 0 : 1;
}
