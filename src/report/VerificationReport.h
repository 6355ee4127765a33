#pragma once

#include "core/model/ReportModel.h"
#include "store/StoredVerification.h"

#include <QDateTime>

namespace kz {

// The program's version as the verification report and the command line name it.
QString programVersion();

// The verification report: when and by which version it was run, the state of every reference
// table, the failing cases, then every case with its source, expected and obtained values.
QList<ReportParagraph> verificationReport(const TablesVerification& verification, const QDateTime& when);
// Writes it as a .docx; false with the reason.
bool writeVerificationReport(const TablesVerification& verification, const QString& path, QString* error);

} // namespace kz
