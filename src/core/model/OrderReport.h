#pragma once

#include "core/model/ReportModel.h"

#include <QStringList>

namespace kz {

// The report of a calculator whose calculation order says it all (the installation, the soil, every
// step and the verdict): the caption as title, the pictures shown (when btnPicture is down), then the
// order's lines read from the memo of that name.
ReportWriter calcOrderReport(const QString& caption, const QString& orderMemo, const QStringList& pictures = {});

} // namespace kz
