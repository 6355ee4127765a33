#include "../core/CalcTestFolder.h"
#include "core/model/ReportModel.h"
#include "core/calculators/rods/RodAtSurface.h"
#include "CalculatorWindowOf.h"
#include "widgets/common/DialogService.h"
#include "core/common/NumberText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

// The rod at the ground surface: a second calculator on the shared window, with its own values.
class TestRodAtSurface : public QObject {
    Q_OBJECT
private slots:
    void formula_data() {
        QTest::addColumn<double>("p0");
        QTest::addColumn<double>("kp");
        QTest::addColumn<double>("l");
        QTest::addColumn<double>("d");
        QTest::addColumn<QString>("expected");
        // p = 50·1,3 = 65; 65/(2π·3)·ln(600) = 22,0588...
        QTest::newRow("corrected resistivity") << 50.0 << 1.3 << 3.0 << 0.02 << u"22,06"_s;
        // 300/(2π·10)·ln(1250) = 34,0475...
        QTest::newRow("long rod") << 300.0 << 1.0 << 10.0 << 0.032 << u"34,05"_s;
    }
    void formula() {
        QFETCH(double, p0);
        QFETCH(double, kp);
        QFETCH(double, l);
        QFETCH(double, d);
        QFETCH(QString, expected);
        QCOMPARE(formatGeneral(rodatsurface::ComputeResistance(p0, kp, l, d).r), expected);
    }

    void init() {
        rec_ = std::make_unique<ScopedRecordingDialogs>();
        folder_ = std::make_unique<CalcTestFolder>(*rec_);
        win_ = std::make_unique<TUVertFm>(*folder_->data);
        win_->activate();
        rec_->messages.clear();
    }
    void cleanup() {
        win_.reset();
        folder_.reset();
        rec_.reset();
    }

    void windowShowsItsOwnValues() {
        QCOMPARE(win_->windowTitle(), u"Вертикальный заземлитель у поверхности земли."_s);
        QVERIFY(!win_->findChild<QLineEdit*>(QStringLiteral("EditGlub")));
        QCOMPARE(win_->EditDlina()->text(), QStringLiteral("5"));
    }

    void emptyLengthIsAskedFor() {
        win_->calculate(true);
        QVERIFY(!win_->EditVS1()->text().isEmpty());
        QVERIFY(win_->setInputText(u"EditDlina"_s, QString()));
        rec_->messages.clear();
        win_->calculate(true);
        QCOMPARE(rec_->messages, QStringList{u"Введите значение длины заземлителя."_s});
        QCOMPARE(win_->EditVS1()->text(), QString());
        QCOMPARE(win_->EditRaschet()->text(), QString());
    }

    void historyKeepsItsOwnKind() {
        QCOMPARE(rodatsurface::descriptor().history.kindCode, 3);
        rec_->inputs << std::optional<QString>(u"Стержень у поверхности"_s);
        win_->saveToHistory();
        DataTable& hist = (*folder_->data)[QStringLiteral("TableHist1")];
        hist.setFiltered(false);
        QVERIFY(hist.open(dataDir()));
        hist.refresh();
        QVERIFY(hist.locate(QStringLiteral("Name"), u"Стержень у поверхности"_s));
        QCOMPARE(hist.asInteger(QStringLiteral("KodTip")), 3);
        QCOMPARE(hist.text(QStringLiteral("L")), QStringLiteral("5"));
        QVERIFY(hist.isNull(QStringLiteral("T"))); // no depth here
    }

    void reportHasTheFormulaWithNumbersAndTheVerdict() {
        ReportSource source;
        source.picture = false;
        source.texts = {{QStringLiteral("ComboGrunt"), u"суглинок"_s},
                        {QStringLiteral("EditPKV"), u"1"_s},
                        {QStringLiteral("EditRo"), u"100"_s},
                        {QStringLiteral("EditRo0"), u"100"_s},
                        {QStringLiteral("cmbSech"), u"сталь круглая"_s},
                        {QStringLiteral("cmbDiam"), u"0,016"_s},
                        {QStringLiteral("EditDlina"), u"5"_s},
                        {QStringLiteral("EditVS1"), u"22,7"_s}};
        source.installation.type = u"напряжением до 1 кВ с заземленной нейтралью"_s;
        source.installation.permissible = u"30"_s;
        RecordingDialogs messages;
        ReportBuilder w(messages);
        rodatsurface::report(w, source);
        QStringList texts;
        QList<ReportParagraph::Alignment> alignments;
        for (const ReportParagraph& p : w.paragraphs()) {
            texts << p.text();
            alignments << p.alignment;
        }
        QCOMPARE(texts.first(), u"Вертикальный заземлитель у поверхности земли."_s);
        QVERIFY(texts.contains(
            u"Заземляющее устройство представляет собой вертикальный заземлитель длиной L = 5 м."_s));
        const int formula = int(texts.indexOf(u"R = r / (2*П*L) * Ln(4*L/D), Ом;"_s));
        QVERIFY2(formula > 0, qPrintable(texts.join(QLatin1Char('\n'))));
        QCOMPARE(texts[formula + 1], u"R = 100/(2*3,14*5) * Ln(4*5/0,016) = 22,7 Ом."_s);
        QCOMPARE(alignments[formula], ReportParagraph::Alignment::Center);
        QCOMPARE(alignments[formula + 1], ReportParagraph::Alignment::Center);
        // 22,7 <= 30: the rod may be used.
        QCOMPARE(
            texts.last(),
            u"Так как R <= Rдоп., то заземлитель можно использовать в качестве заземляющего устройства."_s);
        QVERIFY(messages.messages.isEmpty());
    }

private:
    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<CalcTestFolder> folder_;
    std::unique_ptr<TUVertFm> win_;
};

QTEST_MAIN(TestRodAtSurface)
#include "tst_rodatsurface.moc"
