#pragma once

#include "core/model/CalcOrder.h"
#include "core/model/HistoryMapping.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

// The report of a calculation as plain data: paragraphs of formatted text runs and inline
// pictures. The calculators write it with the procedures of ReportBuilder; a document writer
// turns it into a file for the word processor.
namespace kz {

class Messenger;

// Paragraphs end where a run's text has a carriage return.
inline constexpr QChar reportCr = QChar(13);

struct ReportRun {
    enum class Position { Normal, Superscript, Subscript };
    QString text;
    QString font;
    int size = 12; // points
    bool bold = false;
    Position position = Position::Normal;
    QString picture; // full path of an inline picture; the run has no text then

    bool isPicture() const { return !picture.isEmpty(); }
};

struct ReportParagraph {
    enum class Alignment { Left, Center };
    Alignment alignment = Alignment::Left;
    QList<ReportRun> runs;

    // The texts of the runs one after another.
    QString text() const;
};

// What a calculator's report reads: the texts on screen by object name (inputs, frame fields,
// read-only results), the installation frame and whether the picture is shown.
struct ReportSource {
    InputTexts texts;
    InstallationValues installation;
    bool picture = true; // btnPicture down
    // Conditions of the formula that hold only weakly for the result reported.
    QStringList warnings;

    QString text(const QString& name) const { return texts.value(name); }
};

// The report procedures. Runs are appended at the end, like typing: a carriage return in a
// run's text closes the paragraph, and the next one takes the alignment set last.
class ReportBuilder {
public:
    explicit ReportBuilder(Messenger& messenger);

    static QString textFont();   // "Times New Roman Cyr"
    static QString symbolFont(); // "Symbol": "r" shows as the Greek rho

    // Bold, the paragraph it is written in centred.
    void WordTitle(const QString& text);
    void WordText(const QString& text);
    void WordSymbol(const QString& text);
    // A blank, then the text raised / lowered.
    void WordSuperscript(const QString& text);
    void WordSubscript(const QString& text);
    // PictureDir + file inline, then two carriage returns; a missing file is reported and
    // nothing is written.
    void WordPicture(const QString& file);

    // Soil with its resistivity; the correction sentence unless the coefficient is 1.
    void WordSoilParagraph(const QString& grunt, const QString& kText, const QString& pText, long double p0);
    // The construction line; returns the diameter it names (nullopt when its text is no number).
    std::optional<long double> WordConstructionParagraph(const QString& sech, const QString& size,
                                                         const QString& equiv, const QString& letter);
    // The installation characteristics (the caller tests "Включить в отчет").
    void WordInstallationParagraph(const InstallationValues& eu);
    // R against Rдоп (R equal to Rдоп is usable); nothing without a number in Rдоп.
    void WordVerdict(const InstallationValues& eu, const QString& noun, long double r);

    // Alignment of the current paragraph and of those that follow.
    void setAlignment(ReportParagraph::Alignment alignment);
    // One block of the report written (the window's gauge follows it).
    void progress();
    int progressCount() const { return progress_; }
    std::function<void()> onProgress;

    // The paragraphs written so far; an empty paragraph after the last carriage return is left out.
    QList<ReportParagraph> paragraphs() const;

private:
    void insert(const QString& text, const ReportRun& format, bool centre = false);

    Messenger& messenger_;
    QList<ReportParagraph> done_;
    ReportParagraph current_;
    ReportParagraph::Alignment alignment_ = ReportParagraph::Alignment::Left;
    int progress_ = 0;
};

// The file name offered for a report: the caption without its closing full stop and without
// characters file systems refuse, with ".docx".
QString reportFileName(const QString& caption);

// The opening most reports share: title, picture, installation paragraph and the soil paragraph
// of the upper soil frame, with the progress steps between them each report has always counted.
struct ReportOpening {
    QString title;
    QString picture; // written when the picture button is down
    bool progressAfterTitle = true;
    bool progressBeforeSoil = false; // the grids count a step between installation and soil
    // Written between the installation and the soil: the pipeline says what it is there.
    QString beforeSoil{};
    // The soil paragraph when the upper frame's alone does not describe the soil (two layers).
    std::function<void(ReportBuilder&, const ReportSource&)> soil{};
};
void writeReportOpening(ReportBuilder& w, const ReportSource& s, const ReportOpening& opening);

// A calculator's paragraphs, from the caption to the verdict.
using ReportWriter = std::function<void(ReportBuilder&, const ReportSource&)>;

} // namespace kz
