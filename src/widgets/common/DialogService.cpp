#include "widgets/common/DialogService.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
DialogService*& current() {
    static DialogService* service = nullptr;
    return service;
}
QString title() {
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Kelvor ZU 2.0") : name;
}
} // namespace

DialogService& dialogs() {
    static DialogService own;
    return current() ? *current() : own;
}

void setDialogService(DialogService* service) {
    current() = service;
}

int inputBoxWidth(const QString& caption, const QString& prompt) {
    // Qt sizes the prompt by its label and edit line only; a long caption ("Введите наименование
    // заземляющего устройства.") was cut in the title bar. Room for the title bar's buttons too.
    const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
    const QFontMetrics text(QApplication::font());
    return std::max(title.horizontalAdvance(caption) + 140, text.horizontalAdvance(prompt) + 40);
}

QString deletionQuestion(const QString& recordName) {
    const QString name = recordName.simplified();
    return name.isEmpty() ? u"Удалить запись?"_s : u"Удалить запись \"%1\"?"_s.arg(name);
}

bool confirmDeletion(const QString& recordName) {
    return dialogs().question(deletionQuestion(recordName), QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes;
}

void DialogService::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

QMessageBox::StandardButton DialogService::question(const QString& text, QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton) {
    return QMessageBox::question(QApplication::activeWindow(), title(), text, buttons, defaultButton);
}

std::optional<QString> DialogService::inputText(const QString& caption, const QString& prompt,
                                                const QString& preset) {
    QInputDialog box(QApplication::activeWindow());
    box.setObjectName(u"InputBox"_s);
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(preset);
    // The dialog keeps itself at its layout's size, so the width goes to the edit line.
    if (auto* edit = box.findChild<QLineEdit*>())
        edit->setMinimumWidth(inputBoxWidth(caption, prompt) - 24);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

QString DialogService::openFileName(QWidget* parent, const QString& caption, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString DialogService::saveFileName(QWidget* parent, const QString& caption, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
}

QString DialogService::saveFileNameAt(QWidget* parent, const QString& caption, const QString& filter,
                                      const QString& preset) {
    return QFileDialog::getSaveFileName(parent, caption, preset, filter);
}

namespace {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
// Whether a desktop entry takes one of the types: the opener (xdg-open) starts nothing for a type
// no entry lists, and says nothing either, so the program has to know beforehand.
bool desktopHasProgramFor(const QStringList& types) {
    auto listsType = [&types](const QString& line) {
        const QString values = line.section(QLatin1Char('='), 1);
        for (const QString& v : values.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (types.contains(v.trimmed()))
                return true;
        return false;
    };
    auto fileHas = [&](const QString& fileName, bool wholeLine) {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return false;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (wholeLine ? types.contains(line.section(QLatin1Char('='), 0, 0)) &&
                                !line.section(QLatin1Char('='), 1).trimmed().isEmpty()
                          : line.startsWith(u"MimeType="_s) && listsType(line))
                return true;
        }
        return false;
    };
    QStringList lists;
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        lists << dir + u"/mimeapps.list"_s;
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        lists << dir + u"/mimeapps.list"_s << dir + u"/mimeinfo.cache"_s << dir + u"/defaults.list"_s;
        QDirIterator entries(dir, {u"*.desktop"_s}, QDir::Files, QDirIterator::Subdirectories);
        while (entries.hasNext())
            if (fileHas(entries.next(), false))
                return true;
    }
    for (const QString& list : lists)
        if (fileHas(list, true))
            return true;
    return false;
}
#endif
} // namespace

QString installedWordProcessor() {
    for (const QString& program : {u"soffice"_s, u"lowriter"_s, u"libreoffice"_s})
        if (const QString found = QStandardPaths::findExecutable(program); !found.isEmpty())
            return found;
    return {};
}

bool DialogService::openDocument(const QString& path) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    if (!desktopHasProgramFor(QStringList{type.name()} + type.aliases())) {
        // A desktop without an entry for the type may still have the word processor installed.
        const QString processor = installedWordProcessor();
        return !processor.isEmpty() && QProcess::startDetached(processor, {path});
    }
#endif
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

int DialogService::execModal(QDialog* dialog) {
    return dialog->exec();
}

void DialogService::beep() {
    QApplication::beep();
}

std::optional<QFont> DialogService::chooseFont(QWidget* parent, const QFont& preset) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, preset, parent);
    if (!ok)
        return std::nullopt;
    return font;
}

QMessageBox::StandardButton RecordingDialogs::question(const QString& text, QMessageBox::StandardButtons,
                                                       QMessageBox::StandardButton defaultButton) {
    questions << text;
    return answers.isEmpty() ? defaultButton : answers.takeFirst();
}

std::optional<QString> RecordingDialogs::inputText(const QString& caption, const QString& prompt,
                                                   const QString& preset) {
    prompts << caption + QLatin1Char('|') + prompt + QLatin1Char('|') + preset;
    return inputs.isEmpty() ? std::nullopt : inputs.takeFirst();
}

QString RecordingDialogs::openFileName(QWidget*, const QString&, const QString&) {
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString RecordingDialogs::saveFileName(QWidget*, const QString&, const QString&) {
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString RecordingDialogs::saveFileNameAt(QWidget*, const QString&, const QString&, const QString& preset) {
    fileNamePresets << preset;
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

std::optional<QFont> RecordingDialogs::chooseFont(QWidget*, const QFont& preset) {
    fontPresets << preset;
    return fonts.isEmpty() ? std::nullopt : fonts.takeFirst();
}

int RecordingDialogs::execModal(QDialog* dialog) {
    modalWindows << dialog;
    return onModal ? onModal(dialog) : int(QDialog::Rejected);
}

} // namespace kz
