// Builds the data folder from the table sources kept in the repository.
#include "store/DataFiles.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace Qt::StringLiterals;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool restore = args.removeAll(u"--restore"_s) > 0;
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << u"вызов: kelvorzu2-data [--restore] ПАПКА_ИСХОДНИКОВ ПАПКА_ДАННЫХ"_s << '\n';
        return 2;
    }
    const kz::DataBuildReport r = kz::buildDataFolder(args[0], args[1], restore);
    QTextStream out(stdout);
    for (const auto& f : r.created)
        out << u"создан "_s << f << '\n';
    for (const auto& f : r.rebuilt)
        out << u"обновлен "_s << f << '\n';
    for (const auto& f : r.keptEdited)
        err << u"предупреждение: "_s << f
            << u" изменен в программе и сохранен; поставляемые строки возвращает kelvorzu2-data --restore"_s
            << '\n';
    // Damaged and locked files are left exactly as they are: their rows may still be recovered.
    // Deleting is advised only for a file that cannot be read at all.
    for (const auto& m : r.damaged)
        err << u"ошибка: "_s << m
            << u" Файл оставлен без изменений; удалите или замените его, и сборка создаст его заново."_s << '\n';
    for (const auto& m : r.locked)
        err << u"ошибка: "_s << m << u" Файл оставлен без изменений; закройте программу, которая его держит, "
                                      u"и повторите сборку."_s
            << '\n';
    for (const auto& m : r.refused)
        err << u"ошибка: "_s << m
            << u" Файл оставлен без изменений; проверьте права на чтение и запись файла и папки данных "
               u"и свободное место на диске, затем повторите сборку."_s
            << '\n';
    for (const auto& e : r.errors)
        err << u"ошибка: "_s << e << '\n';
    return r.failed() ? 1 : 0;
}
