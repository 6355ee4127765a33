#pragma once

#include "core/model/ReportModel.h"

#include <QList>
#include <QString>

namespace kz {

// Writes the report as a word-processor document (Office Open XML, .docx): every run with its
// font, size, boldness and raised or lowered position, paragraph alignment, pictures embedded
// as PNG. The file is replaced only once the whole document is written; on failure nothing is
// left behind and error holds a message naming the file.
bool writeDocx(const QList<ReportParagraph>& paragraphs, const QString& fileName, QString* error);

} // namespace kz
