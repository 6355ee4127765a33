#include "core/model/ReportModel.h"
#include "core/model/OrderReport.h"

#include "core/common/Messenger.h"
#include "core/common/NumberText.h"
#include "core/common/Paths.h"
#include "core/model/CalcCommon.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

ReportRun plainRun() {
    ReportRun run;
    run.font = ReportBuilder::textFont();
    return run;
}
} // namespace

QString ReportParagraph::text() const {
    QString all;
    for (const ReportRun& run : runs)
        all += run.text;
    return all;
}

ReportBuilder::ReportBuilder(Messenger& messenger) : messenger_(messenger) {}

QString ReportBuilder::textFont() {
    return QStringLiteral("Times New Roman Cyr");
}

QString ReportBuilder::symbolFont() {
    return QStringLiteral("Symbol");
}

void ReportBuilder::insert(const QString& text, const ReportRun& format, bool centre) {
    const QStringList pieces = text.split(reportCr);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            done_ << current_;
            current_ = ReportParagraph();
            current_.alignment = alignment_;
        }
        if (pieces[i].isEmpty())
            continue;
        ReportRun run = format;
        run.text = pieces[i];
        current_.runs << run;
        if (centre)
            current_.alignment = ReportParagraph::Alignment::Center;
    }
}

void ReportBuilder::WordTitle(const QString& text) {
    ReportRun run = plainRun();
    run.bold = true;
    insert(text, run, true);
}

void ReportBuilder::WordText(const QString& text) {
    insert(text, plainRun());
}

void ReportBuilder::WordSymbol(const QString& text) {
    ReportRun run = plainRun();
    run.font = symbolFont();
    insert(text, run);
}

void ReportBuilder::WordSuperscript(const QString& text) {
    ReportRun run = plainRun();
    run.position = ReportRun::Position::Superscript;
    insert(QLatin1Char(' ') + text, run);
}

void ReportBuilder::WordSubscript(const QString& text) {
    ReportRun run = plainRun();
    run.position = ReportRun::Position::Subscript;
    insert(QLatin1Char(' ') + text, run);
}

void ReportBuilder::WordPicture(const QString& file) {
    const QString path = pictureDir() + file;
    if (!QFileInfo(path).isFile()) {
        messenger_.showMessage(u"Ошибка. Графический файл "_s + path + u" не найден."_s);
        return;
    }
    ReportRun run;
    run.picture = path;
    current_.runs << run;
    insert(QString(2, reportCr), plainRun());
}

void ReportBuilder::WordSoilParagraph(const QString& grunt, const QString& kText, const QString& pText,
                                      long double p0) {
    const QString p0Text = formatGeneral(p0);
    WordText(u"Грунт в месте расположения заземляющего устройства: "_s + grunt +
             u" с удельным сопротивлением "_s);
    WordSymbol(QStringLiteral("r"));
    WordText(u" = "_s + p0Text + u" Ом м."_s + reportCr);
    const auto k = parseNumber(kText);
    if (k && *k == 1)
        return;
    WordText(u"Поправочный коэффициент для удельного сопротивления "_s);
    WordSymbol(QStringLiteral("r"));
    WordText(u": K = "_s + kText + QLatin1Char('.'));
    WordText(u" С учетом поправочного коэффициента "_s);
    WordSymbol(QStringLiteral("r"));
    WordText(u" = "_s + p0Text + QLatin1Char('*') + kText + u" = "_s + pText + u" Ом м."_s + reportCr);
}

std::optional<long double> ReportBuilder::WordConstructionParagraph(const QString& sech, const QString& size,
                                                                    const QString& equiv,
                                                                    const QString& letter) {
    const QString strip = u"сталь полосовая"_s;
    const QString angle = u"сталь угловая"_s;
    QString line = u"Конструкция заземлителя - "_s + sech;
    std::optional<long double> d;
    if (sech != strip && sech != angle) {
        if (sech != u"сталь квадратная"_s)
            line += u" диаметром "_s + letter + u" = "_s + size + u" м."_s;
        else
            line += u" со стороной "_s + size + u" м, что соответствует диаметру "_s + letter + u" = "_s +
                    size + u" м."_s;
        d = parseNumber(size);
    } else {
        d = parseNumber(equiv);
        const QString b = size.section(QLatin1Char('x'), 0, 0);
        // "В" of the width is Cyrillic, "B" of the formula Latin.
        if (sech == angle)
            line += QLatin1Char(' ') + size + u" м с шириной полки В = "_s + b +
                    u" м, что соответствует диаметру "_s + letter + u" = 0,95*B = "_s + equiv + u" м."_s;
        else
            line += QLatin1Char(' ') + size + u" м с шириной полосы В = "_s + b +
                    u" м, что соответствует диаметру "_s + letter + u" = 0,5*B = "_s + equiv + u" м."_s;
    }
    WordText(line + reportCr);
    return d;
}

void ReportBuilder::WordInstallationParagraph(const InstallationValues& eu) {
    WordText(u"Тип электроустановки: "_s + eu.type + QLatin1Char('.') + reportCr);
    if (!eu.current.isEmpty())
        WordText(u"Расчетный ток замыкания на землю: Iзо = "_s + eu.current + u" А."_s + reportCr);
    if (!eu.voltage.isEmpty())
        WordText(u"Линейное напряжение источника тока: Uлин. = "_s + eu.voltage + u" В."_s + reportCr);
    if (!eu.power.isEmpty())
        WordText(u"Суммарная мощность генераторов (трансформаторов): S = "_s + eu.power + u" кВА."_s +
                 reportCr);
    if (!eu.resistivity.isEmpty()) {
        WordText(u"Удельное сопротивление грунта: "_s);
        WordSymbol(QStringLiteral("r"));
        WordText(u" = "_s + eu.resistivity + u" Ом м."_s + reportCr);
    }
    WordText(u"Допустимое сопротивление растеканию: Rдоп. = "_s + eu.permissible + u" Ом."_s + reportCr);
}

void ReportBuilder::WordVerdict(const InstallationValues& eu, const QString& noun, long double r) {
    // Only a positive Rдоп is a permissible resistance to compare with.
    auto permissible = parseNumber(eu.permissible);
    if (permissible && !(*permissible > 0 && isShowableResult(*permissible)))
        permissible.reset();
    // Without a number in Rдоп there is nothing to compare with.
    if (!permissible)
        return;
    WordText(verdictText(isUsable(*permissible, r), noun, QStringLiteral("R")) + reportCr);
}

void ReportBuilder::setAlignment(ReportParagraph::Alignment alignment) {
    alignment_ = alignment;
    current_.alignment = alignment;
}

void ReportBuilder::progress() {
    ++progress_;
    if (onProgress)
        onProgress();
}

QList<ReportParagraph> ReportBuilder::paragraphs() const {
    QList<ReportParagraph> all = done_;
    if (!current_.runs.isEmpty())
        all << current_;
    return all;
}

ReportWriter calcOrderReport(const QString& caption, const QString& orderMemo, const QStringList& pictures) {
    return [caption, orderMemo, pictures](ReportBuilder& w, const ReportSource& s) {
        const QString order = s.text(orderMemo);
        if (order.isEmpty())
            return;
        w.WordTitle(caption + reportCr + reportCr);
        w.progress();
        if (s.picture)
            for (const QString& picture : pictures)
                w.WordPicture(picture);
        w.progress();
        for (const QString& line : order.split(u'\n'))
            w.WordText(line + reportCr);
        w.progress();
    };
}

QString reportFileName(const QString& caption) {
    QString name = caption.trimmed();
    while (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    for (QChar& c : name)
        if (QStringLiteral("\\/:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    name = name.trimmed();
    if (name.isEmpty())
        name = u"Отчет"_s;
    return name + QStringLiteral(".docx");
}

void writeReportOpening(ReportBuilder& w, const ReportSource& s, const ReportOpening& opening) {
    w.WordTitle(opening.title + reportCr + reportCr);
    if (opening.progressAfterTitle)
        w.progress();
    if (s.picture)
        w.WordPicture(opening.picture);
    w.progress();
    if (s.installation.include)
        w.WordInstallationParagraph(s.installation);
    if (opening.progressBeforeSoil)
        w.progress();
    if (!opening.beforeSoil.isEmpty())
        w.WordText(opening.beforeSoil);
    if (opening.soil)
        opening.soil(w, s);
    else
        w.WordSoilParagraph(s.text(u"ComboGrunt"_s), s.text(u"EditPKV"_s), s.text(u"EditRo"_s),
                            parseNumber(s.text(u"EditRo0"_s)).value_or(0));
    w.progress();
}

} // namespace kz
