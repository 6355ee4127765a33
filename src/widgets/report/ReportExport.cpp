#include "widgets/report/ReportExport.h"

#include "widgets/common/DialogService.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
// For the life of the program: a new session starts again in the documents folder.
QString& lastFolder() {
    static QString folder;
    return folder;
}
} // namespace

QString reportSavePreset(const QString& fileName) {
    QString folder = lastFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).filePath(fileName);
}

QString askReportPath(QWidget* parent, const QString& title, const QString& fileName) {
    QString path =
        dialogs().saveFileNameAt(parent, title, u"Документы Word (*.docx)"_s, reportSavePreset(fileName));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".docx");
    return path;
}

QString reportSavedMessage(const QString& path) {
    return u"Отчет сохранен в файле %1."_s.arg(QDir::toNativeSeparators(path));
}

QString reportNotOpenedMessage(const QString& path) {
    return u"Отчет сохранен в файле %1.\nОткрыть его не удалось: не найдена программа для документов "
           u"Word (*.docx). Установите текстовый процессор (например, LibreOffice Writer) или откройте "
           u"файл вручную."_s.arg(QDir::toNativeSeparators(path));
}

void announceReport(const QString& path) {
    lastFolder() = QFileInfo(path).absolutePath();
    if (dialogs().openDocument(path))
        dialogs().showMessage(reportSavedMessage(path));
    else
        dialogs().showMessage(reportNotOpenedMessage(path));
}

void forgetReportFolder() {
    lastFolder().clear();
}

} // namespace kz
