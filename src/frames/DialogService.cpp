#include "DialogService.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QUrl>

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
    bool ok = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), caption, prompt, QLineEdit::Normal, preset, &ok);
    if (!ok)
        return std::nullopt;
    return text;
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

void DialogService::openDocument(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
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
