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
        // 100/(2π·5)·ln(1250) = 22,6983...
        QTest::newRow("edge case of the handbook") << 100.0 << 1.0 << 5.0 << 0.016 << u"22,7"_s;
        // p = 50·1,3 = 65; 65/(2π·3)·ln(600) = 22,0588...
        QTest::newRow("corrected resistivity") << 50.0 << 1.3 << 3.0 << 0.02 << u"22,06"_s;
        // 300/(2π·10)·ln(1250) = 34,0475...
        QTest::newRow("long rod") << 300.0 << 1.0 << 10.0 << 0.032 << u"34,05"_s;
        // Just longer than the diameter: 100/(2π·0,017)·ln(4,25) = 1354,61...
        QTest::newRow("barely longer than thick") << 100.0 << 1.0 << 0.017 << 0.016 << u"1354,61"_s;
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
        win_->Calculate(true);
        QVERIFY(rec_->messages.isEmpty());
        QCOMPARE(win_->EditVS1()->text(), u"22,7"_s);
        QCOMPARE(win_->EditRaschet()->text(), u"R = 100 / (2*3,14*5) * ln(4*5/0,016) = 22,7 Ом"_s);
    }

    void checks_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("p0 empty: only required here")
            << "EditRo0"
            << "" << u"Введите значение удельного сопротивления грунта."_s;
        QTest::newRow("p0 zero: refused by the range")
            << "EditRo0"
            << "0" << u"Ошибка. Допустимые значения удельного сопротивления грунта: 40 .. 150."_s;
        QTest::newRow("length equal to the diameter")
            << "EditDlina"
            << "0,016" << u"Ошибка. Длина вертикального заземлителя должна быть больше диаметра."_s;
        QTest::newRow("length empty") << "EditDlina"
                                      << "" << u"Введите значение длины заземлителя."_s;
    }
    void checks() {
        QFETCH(QString, input);
        QFETCH(QString, text);
        QFETCH(QString, message);
        win_->Calculate(true);
        QVERIFY(!win_->EditVS1()->text().isEmpty());
        QVERIFY(win_->setInputText(input, text));
        rec_->messages.clear();
        win_->Calculate(true);
        QCOMPARE(rec_->messages, QStringList{message});
        QCOMPARE(win_->EditVS1()->text(), QString());
        QCOMPARE(win_->EditRaschet()->text(), QString());
    }

    void lengthJustAboveTheDiameterPasses() {
        QVERIFY(win_->setInputText(QStringLiteral("EditDlina"), QStringLiteral("0,017")));
        win_->Calculate(true);
        QVERIFY(rec_->messages.isEmpty());
        QCOMPARE(win_->EditVS1()->text(), u"1354,61"_s);
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
