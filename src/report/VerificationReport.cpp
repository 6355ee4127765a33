#include "report/VerificationReport.h"

#include "core/common/Messenger.h"
#include "report/DocxWriter.h"

#include <QDir>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace kz {

QString programVersion() {
    return QStringLiteral(KELVOR_VERSION);
}

namespace {

// The report has no pictures, so nothing is ever said.
struct Silent : Messenger {
    void showMessage(const QString&) override {}
};

QString caseLine(int number, const VerificationRow& row) {
    QString caption = row.caption;
    if (caption.endsWith(u'.'))
        caption.chop(1);
    QString line = QString::number(number) + u". "_s + caption + u": "_s + row.name + u"."_s;
    if (!row.source.isEmpty())
        line += u" Источник: "_s + row.source + u"."_s;
    if (!row.note.isEmpty())
        line += u" Примечание: "_s + row.note + u"."_s;
    line += u" Ожидалось: "_s + row.expectedText() + u"."_s;
    line += u" Получено: "_s + row.obtainedText() + u"."_s;
    if (const auto deviation = row.deviation())
        line += u" Отклонение: "_s + deviationText(*deviation) + u"."_s;
    line += row.passed ? u" Проверка пройдена."_s : u" НЕ ПРОЙДЕНА: "_s + row.failureText() + u"."_s;
    return line;
}

} // namespace

QList<ReportParagraph> verificationReport(const TablesVerification& verification, const QDateTime& when) {
    const VerificationRun& run = verification.run;
    Silent silent;
    ReportBuilder w(silent);
    const QChar cr = reportCr;
    w.WordTitle(u"Проверка расчетов программы Kelvor ZU 2.0."_s + cr + cr);
    w.WordText(u"Дата проверки: "_s + QLocale(QLocale::Russian).toString(when, u"dd.MM.yyyy HH:mm"_s) +
               u"."_s + cr);
    w.WordText(u"Версия программы: "_s + programVersion() + u"."_s + cr);
    if (!run.problem.isEmpty())
        w.WordText(run.problem + cr);
    QString summary = u"Проверено случаев: "_s + QString::number(run.rows.size());
    if (run.stopped)
        summary += u" из "_s + QString::number(run.total) + u" (проверка остановлена)"_s;
    summary += u", не прошли проверку: "_s + QString::number(run.failures()) + u"."_s;
    w.WordText(summary + cr + cr);

    w.WordText(u"Состояние справочных таблиц:"_s + cr);
    for (const ReferenceTableState& table : verification.tables)
        w.WordText(table.fileName + u" - "_s + tableStateText(table.state) + u"."_s + cr);
    w.WordText(QString(cr));

    if (run.failures() > 0) {
        w.WordText(u"Не прошли проверку:"_s + cr);
        for (int i = 0; i < run.rows.size(); ++i)
            if (!run.rows[i].passed)
                w.WordText(caseLine(i + 1, run.rows[i]) + cr);
        w.WordText(QString(cr));
    }
    w.WordText(u"Все проверочные случаи:"_s + cr);
    for (int i = 0; i < run.rows.size(); ++i)
        w.WordText(caseLine(i + 1, run.rows[i]) + cr);
    return w.paragraphs();
}

bool writeVerificationReport(const TablesVerification& verification, const QString& path, QString* error) {
    return writeDocx(verificationReport(verification, QDateTime::currentDateTime()), path, error);
}

} // namespace kz
