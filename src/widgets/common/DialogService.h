#pragma once

#include "core/common/Messenger.h"

#include <QFont>
#include <QMessageBox>
#include <QStringList>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace kz {

// Every modal message box, prompt, file dialog and modal window of the program opens through
// this service, so that tests and the batch mode can see and answer them without blocking.
class DialogService : public Messenger {
public:
    void showMessage(const QString& text) override;
    virtual QMessageBox::StandardButton question(const QString& text, QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton);
    // A one-line text prompt; nullopt when cancelled.
    virtual std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                             const QString& preset);
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& filter);
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& filter);
    // The save dialog preset with a folder and file name.
    virtual QString saveFileNameAt(QWidget* parent, const QString& caption, const QString& filter,
                                   const QString& preset);
    // Hands a written document to the program the desktop opens it with; false when no program
    // takes documents of its kind.
    virtual bool openDocument(const QString& path);
    virtual int execModal(QDialog* dialog);
    virtual void beep();
    // The font dialog preset with a font; nullopt when cancelled.
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& preset);
};

// The word processor the documents go to when the desktop names no program for them: LibreOffice's
// soffice or lowriter found on the search path; empty when neither is installed.
QString installedWordProcessor();

// The service in use; the program's own unless replaced.
DialogService& dialogs();
// Replaces the service (not owned); nullptr restores the program's own.
void setDialogService(DialogService* service);

// Asks before a stored record is deleted, naming it where it has a name; true to delete.
// "No" is the default, so a stray Enter deletes nothing either.
bool confirmDeletion(const QString& recordName = QString());
QString deletionQuestion(const QString& recordName);
// The width at which the text prompt shows its whole caption and prompt.
int inputBoxWidth(const QString& caption, const QString& prompt);

// Records instead of showing: messages are kept in order, prompts and questions take their
// answers from queues (a prompt with no queued answer is cancelled), modal windows are
// answered with the queued result or Rejected without being shown.
class RecordingDialogs : public DialogService {
public:
    void showMessage(const QString& text) override { messages << text; }
    QMessageBox::StandardButton question(const QString& text, QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton defaultButton) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& preset) override;
    QString openFileName(QWidget*, const QString&, const QString&) override;
    QString saveFileName(QWidget*, const QString&, const QString&) override;
    QString saveFileNameAt(QWidget*, const QString&, const QString&, const QString& preset) override;
    bool openDocument(const QString& path) override {
        openedDocuments << path;
        return documentsOpen;
    }
    int execModal(QDialog* dialog) override;
    void beep() override { ++beeps; }
    std::optional<QFont> chooseFont(QWidget*, const QFont& preset) override;

    QStringList messages;
    QStringList questions;
    QStringList prompts;
    QList<QDialog*> modalWindows;
    int beeps = 0;
    QList<QMessageBox::StandardButton> answers;
    QList<std::optional<QString>> inputs;
    QStringList fileNames;
    QStringList fileNamePresets;       // presets of the save dialogs asked
    QStringList openedDocuments;       // documents handed to the desktop, never opened
    bool documentsOpen = true;         // whether the desktop is said to have a program for them
    QList<std::optional<QFont>> fonts; // font dialog answers; none queued means cancelled
    QList<QFont> fontPresets;
    // Called with the dialog instead of showing it; returns the dialog's result.
    std::function<int(QDialog*)> onModal;
};

// Installs a recording service for the lifetime of the object.
class ScopedRecordingDialogs : public RecordingDialogs {
public:
    ScopedRecordingDialogs() { setDialogService(this); }
    ~ScopedRecordingDialogs() override { setDialogService(nullptr); }
};

} // namespace kz
