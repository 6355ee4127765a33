#include "calc/core/DVertCalc.h"
#include "calc/core/ReportModel.h"
#include "frames/Messenger.h"
#include "frames/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kz;

namespace {
QString u(const char* s) {
    return QString::fromUtf8(s);
}
QString l1(const char* s) {
    return QString::fromLatin1(s);
}

class Recorder : public Messenger {
public:
    void showMessage(const QString& text) override { messages << text; }
    QStringList messages;
};

using A = ReportParagraph::Alignment;
using P = ReportRun::Position;

// The rod on screen with the defaults: суглинок, p0 = 100, Kп = 1, round steel 0,016, L = 5,
// To = 0,7, T = 3,20, R = 21,81; installation up to 1 kV with earthed neutral, Rдоп = 4.
ReportSource rodDefaults() {
    ReportSource s;
    s.texts = {
        {l1("ComboGrunt"), u("суглинок")}, {l1("EditRo0"), l1("100")},          {l1("EditPKV"), l1("1")},
        {l1("EditRo"), l1("100")},         {l1("cmbSech"), u("сталь круглая")}, {l1("cmbDiam"), l1("0,016")},
        {l1("EditDiam"), l1("0,016")},     {l1("EditDlina"), l1("5")},          {l1("EditGlub"), l1("0,7")},
        {l1("EditT"), l1("3,20")},         {l1("EditVS1"), l1("21,81")}};
    s.installation.type = u("напряжением до 1 кВ с заземленной нейтралью");
    s.installation.voltage = l1("380");
    s.installation.resistivity = l1("100");
    s.installation.permissible = l1("4");
    s.installation.include = true;
    s.picture = true;
    return s;
}

// Paragraph texts, with "[picture]" for a picture run.
QStringList texts(const QList<ReportParagraph>& paragraphs) {
    QStringList all;
    for (const ReportParagraph& p : paragraphs) {
        QString t;
        for (const ReportRun& r : p.runs)
            t += r.isPicture() ? l1("[picture]") : r.text;
        all << t;
    }
    return all;
}
} // namespace

class TestReportModel : public QObject {
    Q_OBJECT
private slots:
    void init();

    void runKinds();
    void paragraphsEndAtCarriageReturns();
    void pictureParagraph();
    void missingPictureIsReportedAndNothingWritten();
    void soilParagraph_data();
    void soilParagraph();
    void constructionParagraph_data();
    void constructionParagraph();
    void installationParagraph();
    void verdict_data();
    void verdict();

    void rodReportWithTheDefaults();
    void rodReportThatMeetsThePermissibleResistance();
    void rodReportWithoutInstallationOrPicture();
    void reportFileName_data();
    void reportFileName();

private:
    QTemporaryDir dir_;
    Recorder rec_;
};

void TestReportModel::init() {
    QDir(dir_.path()).mkpath(l1("Picture"));
    QFile picture(dir_.filePath(l1("Picture/vert.bmp")));
    QVERIFY(picture.open(QIODevice::WriteOnly));
    picture.write("BM");
    picture.close();
    setApplicationFolder(dir_.path() + QLatin1Char('/'));
    rec_.messages.clear();
}

void TestReportModel::runKinds() {
    ReportBuilder w(rec_);
    w.WordTitle(l1("Title"));
    w.WordText(l1("text"));
    w.WordSymbol(l1("r"));
    w.WordSuperscript(l1("2"));
    w.WordSubscript(u("доп"));
    const auto paras = w.paragraphs();
    QCOMPARE(paras.size(), 1);
    QCOMPARE(paras[0].alignment, A::Center);
    const auto& r = paras[0].runs;
    QCOMPARE(r.size(), 5);
    const QStringList text{l1("Title"), l1("text"), l1("r"), l1(" 2"), u(" доп")};
    const QStringList font{l1("Times New Roman Cyr"), l1("Times New Roman Cyr"), l1("Symbol"),
                           l1("Times New Roman Cyr"), l1("Times New Roman Cyr")};
    const QList<P> position{P::Normal, P::Normal, P::Normal, P::Superscript, P::Subscript};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(r[i].text, text[i]);
        QCOMPARE(r[i].font, font[i]);
        QCOMPARE(r[i].size, 12);
        QCOMPARE(r[i].bold, i == 0);
        QCOMPARE(r[i].position, position[i]);
        QVERIFY(!r[i].isPicture());
    }
}

void TestReportModel::paragraphsEndAtCarriageReturns() {
    ReportBuilder w(rec_);
    w.WordTitle(l1("T") + reportCr + reportCr);
    w.WordText(l1("a") + reportCr);
    w.setAlignment(A::Center);
    w.WordText(l1("b") + reportCr);
    w.WordText(l1("c") + reportCr);
    w.setAlignment(A::Left);
    w.WordText(l1("d") + reportCr);
    const auto paras = w.paragraphs();
    QCOMPARE(texts(paras), (QStringList{l1("T"), QString(), l1("a"), l1("b"), l1("c"), l1("d")}));
    // Only the title's own paragraph is centred; the switch centres until switched back.
    const QList<A> align{A::Center, A::Left, A::Left, A::Center, A::Center, A::Left};
    for (int i = 0; i < paras.size(); ++i)
        QCOMPARE(paras[i].alignment, align[i]);
}

void TestReportModel::pictureParagraph() {
    ReportBuilder w(rec_);
    w.WordPicture(l1("vert.bmp"));
    w.WordText(l1("after"));
    const auto paras = w.paragraphs();
    QCOMPARE(paras.size(), 3);
    QCOMPARE(paras[0].runs.size(), 1);
    QCOMPARE(paras[0].runs[0].picture, dir_.path() + l1("/Picture/vert.bmp"));
    QVERIFY(paras[1].runs.isEmpty());
    QCOMPARE(paras[2].text(), l1("after"));
    QVERIFY(rec_.messages.isEmpty());
}

void TestReportModel::missingPictureIsReportedAndNothingWritten() {
    ReportBuilder w(rec_);
    w.WordPicture(l1("none.bmp"));
    w.WordText(l1("after"));
    QCOMPARE(rec_.messages, QStringList{u("Ошибка. Графический файл ") + dir_.path() +
                                        l1("/Picture/none.bmp") + u(" не найден.")});
    QCOMPARE(texts(w.paragraphs()), QStringList{l1("after")});
}

void TestReportModel::soilParagraph_data() {
    QTest::addColumn<QString>("k");
    QTest::addColumn<QString>("p");
    QTest::addColumn<double>("p0");
    QTest::addColumn<QStringList>("runs");
    QTest::addColumn<int>("paragraphs");
    const QString first =
        u("Грунт в месте расположения заземляющего устройства: суглинок с удельным сопротивлением ");
    QTest::newRow("K = 1, one line") << l1("1") << l1("100") << 100.0
                                     << QStringList{first, l1("r"), u(" = 100 Ом м.")} << 1;
    QTest::newRow("K = 1,3, correction")
        << l1("1,3") << l1("130") << 100.0
        << QStringList{first,
                       l1("r"),
                       u(" = 100 Ом м."),
                       u("Поправочный коэффициент для удельного сопротивления "),
                       l1("r"),
                       u(": K = 1,3."),
                       u(" С учетом поправочного коэффициента "),
                       l1("r"),
                       u(" = 100*1,3 = 130 Ом м.")}
        << 2;
    QTest::newRow("p0 in the general format")
        << l1("1") << l1("45,5") << 45.5 << QStringList{first, l1("r"), u(" = 45,5 Ом м.")} << 1;
}

void TestReportModel::soilParagraph() {
    QFETCH(QString, k);
    QFETCH(QString, p);
    QFETCH(double, p0);
    QFETCH(QStringList, runs);
    QFETCH(int, paragraphs);
    ReportBuilder w(rec_);
    w.WordSoilParagraph(u("суглинок"), k, p, p0);
    const auto paras = w.paragraphs();
    QCOMPARE(paras.size(), paragraphs);
    QStringList got;
    for (const ReportParagraph& para : paras)
        for (const ReportRun& r : para.runs) {
            got << r.text;
            QCOMPARE(r.font, r.text == l1("r") ? l1("Symbol") : l1("Times New Roman Cyr"));
            QVERIFY(!r.bold);
            QCOMPARE(r.position, P::Normal);
        }
    QCOMPARE(got, runs);
}

void TestReportModel::constructionParagraph_data() {
    QTest::addColumn<QString>("sech");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("equiv");
    QTest::addColumn<QString>("line");
    QTest::addColumn<double>("d");
    QTest::newRow("round") << u("сталь круглая") << l1("0,016") << l1("0,016")
                           << u("Конструкция заземлителя - сталь круглая диаметром D = 0,016 м.") << 0.016;
    QTest::newRow("tube") << u("сталь трубная") << l1("0,032") << l1("0,032")
                          << u("Конструкция заземлителя - сталь трубная диаметром D = 0,032 м.") << 0.032;
    QTest::newRow("square") << u("сталь квадратная") << l1("0,012") << l1("0,012")
                            << u("Конструкция заземлителя - сталь квадратная со стороной 0,012 м, что "
                                 "соответствует диаметру D = 0,012 м.")
                            << 0.012;
    // "В" of the width Cyrillic, "B" of the formula Latin.
    QTest::newRow("angle 50x5")
        << u("сталь угловая") << l1("50x5") << l1("47,5")
        << u("Конструкция заземлителя - сталь угловая 50x5 м с шириной полки \xd0\x92 = 50 м, "
             "что соответствует диаметру D = 0,95*B = 47,5 м.")
        << 47.5;
    QTest::newRow("angle")
        << u("сталь угловая") << l1("0,05x0,05x0,005") << l1("0,048")
        << u("Конструкция заземлителя - сталь угловая 0,05x0,05x0,005 м с шириной полки В = 0,05 м, "
             "что соответствует диаметру D = 0,95*B = 0,048 м.")
        << 0.048;
    QTest::newRow("strip")
        << u("сталь полосовая") << l1("0,04x0,004") << l1("0,02")
        << u("Конструкция заземлителя - сталь полосовая 0,04x0,004 м с шириной полосы В = 0,04 м, "
             "что соответствует диаметру D = 0,5*B = 0,02 м.")
        << 0.02;
}

void TestReportModel::constructionParagraph() {
    QFETCH(QString, sech);
    QFETCH(QString, size);
    QFETCH(QString, equiv);
    QFETCH(QString, line);
    QFETCH(double, d);
    ReportBuilder w(rec_);
    const auto got = w.WordConstructionParagraph(sech, size, equiv, l1("D"));
    QVERIFY(got);
    QCOMPARE(double(*got), d);
    const auto paras = w.paragraphs();
    QCOMPARE(paras.size(), 1);
    QCOMPARE(paras[0].runs.size(), 1);
    QCOMPARE(paras[0].text(), line);
}

void TestReportModel::installationParagraph() {
    InstallationValues eu;
    eu.type = u("напряжением выше 1 кВ с изолированной нейтралью");
    eu.current = l1("5");
    eu.voltage = l1("380");
    eu.power = l1("100");
    eu.resistivity = l1("100");
    eu.permissible = l1("10");
    ReportBuilder w(rec_);
    w.WordInstallationParagraph(eu);
    QCOMPARE(texts(w.paragraphs()),
             (QStringList{u("Тип электроустановки: напряжением выше 1 кВ с изолированной нейтралью."),
                          u("Расчетный ток замыкания на землю: Iзо = 5 А."),
                          u("Линейное напряжение источника тока: Uлин. = 380 В."),
                          u("Суммарная мощность генераторов (трансформаторов): S = 100 кВА."),
                          u("Удельное сопротивление грунта: r = 100 Ом м."),
                          u("Допустимое сопротивление растеканию: Rдоп. = 10 Ом.")}));
    QCOMPARE(w.paragraphs()[4].runs[1].font, l1("Symbol"));

    // Inputs the type does not use are left out.
    eu.current.clear();
    eu.voltage.clear();
    eu.power.clear();
    eu.resistivity.clear();
    ReportBuilder w2(rec_);
    w2.WordInstallationParagraph(eu);
    QCOMPARE(texts(w2.paragraphs()),
             (QStringList{u("Тип электроустановки: напряжением выше 1 кВ с изолированной нейтралью."),
                          u("Допустимое сопротивление растеканию: Rдоп. = 10 Ом.")}));
}

void TestReportModel::verdict_data() {
    QTest::addColumn<QString>("rmax");
    QTest::addColumn<double>("r");
    QTest::addColumn<QStringList>("lines");
    const QString yes =
        u("Так как R <= Rдоп., то заземлитель можно использовать в качестве заземляющего устройства.");
    const QString no =
        u("Так как R > Rдоп., то заземлитель нельзя использовать в качестве заземляющего устройства.");
    QTest::newRow("below") << l1("4") << 2.18 << QStringList{yes};
    QTest::newRow("equal") << l1("4") << 4.0 << QStringList{yes};
    QTest::newRow("above") << l1("4") << 4.01 << QStringList{no};
    QTest::newRow("no Rдоп") << QString() << 4.0 << QStringList{};
}

void TestReportModel::verdict() {
    QFETCH(QString, rmax);
    QFETCH(double, r);
    QFETCH(QStringList, lines);
    InstallationValues eu;
    eu.permissible = rmax;
    ReportBuilder w(rec_);
    w.WordVerdict(eu, u("заземлитель"), r);
    QCOMPARE(texts(w.paragraphs()), lines);
}

void TestReportModel::rodReportWithTheDefaults() {
    ReportBuilder w(rec_);
    dvert::report(w, rodDefaults());
    const auto paras = w.paragraphs();
    QCOMPARE(
        texts(paras),
        (QStringList{
            u("Вертикальный заземлитель в земле."), QString(), l1("[picture]"), QString(),
            u("Тип электроустановки: напряжением до 1 кВ с заземленной нейтралью."),
            u("Линейное напряжение источника тока: Uлин. = 380 В."),
            u("Удельное сопротивление грунта: r = 100 Ом м."),
            u("Допустимое сопротивление растеканию: Rдоп. = 4 Ом."),
            u("Грунт в месте расположения заземляющего устройства: суглинок с удельным сопротивлением r = "
              "100 Ом м."),
            u("Заземляющее устройство представляет собой вертикальный заземлитель длиной L = 5 м."),
            u("Конструкция заземлителя - сталь круглая диаметром D = 0,016 м."),
            u("Расстояние от поверхности земли до верхнего края заземлителя: \xd0\xa2о = 0,7 м."),
            u("Глубина заложения заземлителя: \xd0\xa2 = 5/2 + 0,7 = 3,20 м."),
            u("Сопротивление растеканию заземлителя:"),
            u("R = r / (2*П*L) * [Ln(2*L/D) + 0,5*Ln((4*T+L)/(4*T-L))], Ом;"),
            u("R = 100/(2*3,14*5) * [Ln(2*5/0,016) + 0,5*Ln((4*3,20+5)/(4*3,20-5))] = 21,81 Ом."),
            u("Так как R > Rдоп., то заземлитель нельзя использовать в качестве заземляющего устройства.")}));
    for (int i = 0; i < paras.size(); ++i) {
        const bool centred = i == 0 || i == 14 || i == 15;
        QCOMPARE(paras[i].alignment, centred ? A::Center : A::Left);
        for (const ReportRun& r : paras[i].runs) {
            if (r.isPicture())
                continue;
            QCOMPARE(r.bold, i == 0);
            QCOMPARE(r.size, 12);
            QCOMPARE(r.position, P::Normal);
            QCOMPARE(r.font, r.text == l1("r") ? l1("Symbol") : l1("Times New Roman Cyr"));
        }
    }
    QCOMPARE(paras[2].runs[0].picture, dir_.path() + l1("/Picture/vert.bmp"));
    // The formula's rho is a run of its own in the Symbol font.
    QCOMPARE(paras[14].runs.size(), 3);
    QCOMPARE(paras[14].runs[1].text, l1("r"));
    QCOMPARE(paras[14].runs[1].font, l1("Symbol"));
    QCOMPARE(w.progressCount(), 6);
    QVERIFY(rec_.messages.isEmpty());
}

void TestReportModel::rodReportThatMeetsThePermissibleResistance() {
    // Kп = 0,1: p = 10, R = 2,18 <= 4.
    ReportSource s = rodDefaults();
    s.texts[l1("EditPKV")] = l1("0,1");
    s.texts[l1("EditRo")] = l1("10");
    s.texts[l1("EditVS1")] = l1("2,18");
    ReportBuilder w(rec_);
    dvert::report(w, s);
    const QStringList got = texts(w.paragraphs());
    QCOMPARE(got.size(), 18);
    QCOMPARE(got[8], u("Грунт в месте расположения заземляющего устройства: суглинок с удельным "
                       "сопротивлением r = 100 Ом м."));
    QCOMPARE(got[9],
             u("Поправочный коэффициент для удельного сопротивления r: K = 0,1. С учетом поправочного "
               "коэффициента r = 100*0,1 = 10 Ом м."));
    QCOMPARE(got[16], u("R = 10/(2*3,14*5) * [Ln(2*5/0,016) + 0,5*Ln((4*3,20+5)/(4*3,20-5))] = 2,18 Ом."));
    QCOMPARE(got[17],
             u("Так как R <= Rдоп., то заземлитель можно использовать в качестве заземляющего устройства."));
}

void TestReportModel::rodReportWithoutInstallationOrPicture() {
    ReportSource s = rodDefaults();
    s.installation.include = false;
    s.picture = false;
    ReportBuilder w(rec_);
    dvert::report(w, s);
    const QStringList got = texts(w.paragraphs());
    QCOMPARE(got.size(), 10);
    QCOMPARE(got[0], u("Вертикальный заземлитель в земле."));
    QCOMPARE(got[1], QString());
    QCOMPARE(got[2].left(5), u("Грунт"));
    QCOMPARE(got.last(),
             u("R = 100/(2*3,14*5) * [Ln(2*5/0,016) + 0,5*Ln((4*3,20+5)/(4*3,20-5))] = 21,81 Ом."));
    QVERIFY(!got.join(QLatin1Char('\n')).contains(u("Rдоп")));
    QCOMPARE(w.progressCount(), 6);
}

void TestReportModel::reportFileName_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("file");
    QTest::newRow("rod") << u("Вертикальный заземлитель в земле.")
                         << u("Вертикальный заземлитель в земле.docx");
    QTest::newRow("refused characters") << u("Сетка 2/3: \"а\"?") << u("Сетка 2_3_ _а__.docx");
    QTest::newRow("empty") << QString() << u("Отчет.docx");
}

void TestReportModel::reportFileName() {
    QFETCH(QString, caption);
    QFETCH(QString, file);
    QCOMPARE(kz::reportFileName(caption), file);
}

QTEST_GUILESS_MAIN(TestReportModel)
#include "tst_reportmodel.moc"
