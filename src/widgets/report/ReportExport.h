#pragma once

#include <QString>

class QWidget;

namespace kz {

// Where the report's save dialog opens: the user's documents folder at first, then the folder the
// last report was saved in.
QString reportSavePreset(const QString& fileName);
// Asks where to save a .docx, from that preset; ".docx" added when the user typed no suffix, empty
// when the user cancelled.
QString askReportPath(QWidget* parent, const QString& title, const QString& fileName);
// After a report was written: its folder is remembered, the document is handed to the word
// processor, and the user is told where the file is (and that it could not be opened, when no
// program on this desktop takes it), so a report never vanishes silently.
void announceReport(const QString& path);
// The messages of announceReport.
QString reportSavedMessage(const QString& path);
QString reportNotOpenedMessage(const QString& path);
// Forgets the remembered folder (tests).
void forgetReportFolder();

} // namespace kz
