#include "core/calculators/rods/BuriedRod.h"
#include "core/model/ReportModel.h"
#include "core/common/Messenger.h"
#include "core/common/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

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
        {u"ComboGrunt"_s, u"суглинок"_s}, {u"EditRo0"_s, u"100"_s},          {u"EditPKV"_s, u"1"_s},
        {u"EditRo"_s, u"100"_s},         {u"cmbSech"_s, u"сталь круглая"_s}, {u"cmbDiam"_s, u"0,016"_s},
        {u"EditDiam"_s, u"0,016"_s},     {u"EditDlina"_s, u"5"_s},          {u"EditGlub"_s, u"0,7"_s},
        {u"EditT"_s, u"3,20"_s},         {u"EditVS1"_s, u"21,81"_s}};
    s.installation.type = u"напряжением до 1 кВ с заземленной нейтралью"_s;
    s.installation.voltage = u"380"_s;
    s.installation.resistivity = u"100"_s;
    s.installation.permissible = u"4"_s;
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
            t += r.isPicture() ? u"[picture]"_s : r.text;
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
    QDir(dir_.path()).mkpath(u"Picture"_s);
    QFile picture(dir_.filePath(u"Picture/vert.bmp"_s));
    QVERIFY(picture.open(QIODevice::WriteOnly));
    picture.write("BM");
    picture.close();
    setApplicationFolder(dir_.path() + QLatin1Char('/'));
    rec_.messages.clear();
}

void TestReportModel::runKinds() {
    ReportBuilder w(rec_);
    w.WordTitle(u"Title"_s);
    w.WordText(u"text"_s);
    w.WordSymbol(u"r"_s);
    w.WordSuperscript(u"2"_s);
    w.WordSubscript(u"доп"_s);
    const auto paras = w.paragraphs();
    QCOMPARE(paras.size(), 1);
    QCOMPARE(paras[0].alignment, A::Center);
    const auto& r = paras[0].runs;
    QCOMPARE(r.size(), 5);
    const QStringList text{u"Title"_s, u"text"_s, u"r"_s, u" 2"_s, u" доп"_s};
    const QStringList font{u"Times New Roman Cyr"_s, u"Times New Roman Cyr"_s, u"Symbol"_s,
                           u"Times New Roman Cyr"_s, u"Times New Roman Cyr"_s};
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
    w.WordTitle(u"T"_s + reportCr + reportCr);
    w.WordText(u"a"_s + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u"b"_s + reportCr);
    w.WordText(u"c"_s + reportCr);
    w.setAlignment(A::Left);
    w.WordText(u"d"_s + reportCr);
    const auto paras = w.paragraphs();
    QCOMPARE(texts(paras), (QStringList{u"T"_s, QString(), u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
    // Only the title's own paragraph is centred; the switch centres until switched back.
    const QList<A> align{A::Center, A::Left, A::Left, A::Center, A::Center, A::Left};
    for (int i = 0; i < paras.size(); ++i)
        QCOMPARE(paras[i].alignment, align[i]);
}

void TestReportModel::pictureParagraph() {
    ReportBuilder w(rec_);
    w.WordPicture(u"vert.bmp"_s);
    w.WordText(u"after"_s);
    const auto paras = w.paragraphs();
    QCOMPARE(paras.size(), 3);
    QCOMPARE(paras[0].runs.size(), 1);
    QCOMPARE(paras[0].runs[0].picture, dir_.path() + u"/Picture/vert.bmp"_s);
    QVERIFY(paras[1].runs.isEmpty());
    QCOMPARE(paras[2].text(), u"after"_s);
    QVERIFY(rec_.messages.isEmpty());
}

void TestReportModel::missingPictureIsReportedAndNothingWritten() {
    ReportBuilder w(rec_);
    w.WordPicture(u"none.bmp"_s);
    w.WordText(u"after"_s);
    QCOMPARE(rec_.messages, QStringList{u"Ошибка. Графический файл "_s + dir_.path() +
                                        u"/Picture/none.bmp"_s + u" не найден."_s});
    QCOMPARE(texts(w.paragraphs()), QStringList{u"after"_s});
}

void TestReportModel::soilParagraph_data() {
    QTest::addColumn<QString>("k");
    QTest::addColumn<QString>("p");
    QTest::addColumn<double>("p0");
    QTest::addColumn<QStringList>("runs");
    QTest::addColumn<int>("paragraphs");
    const QString first =
        u"Грунт в месте расположения заземляющего устройства: суглинок с удельным сопротивлением "_s;
    QTest::newRow("K = 1, one line") << u"1"_s << u"100"_s << 100.0
                                     << QStringList{first, u"r"_s, u" = 100 Ом м."_s} << 1;
    QTest::newRow("K = 1,3, correction")
        << u"1,3"_s << u"130"_s << 100.0
        << QStringList{first,
                       u"r"_s,
                       u" = 100 Ом м."_s,
                       u"Поправочный коэффициент для удельного сопротивления "_s,
                       u"r"_s,
                       u": K = 1,3."_s,
                       u" С учетом поправочного коэффициента "_s,
                       u"r"_s,
                       u" = 100*1,3 = 130 Ом м."_s}
        << 2;
    QTest::newRow("p0 in the general format")
        << u"1"_s << u"45,5"_s << 45.5 << QStringList{first, u"r"_s, u" = 45,5 Ом м."_s} << 1;
}

void TestReportModel::soilParagraph() {
    QFETCH(QString, k);
    QFETCH(QString, p);
    QFETCH(double, p0);
    QFETCH(QStringList, runs);
    QFETCH(int, paragraphs);
    ReportBuilder w(rec_);
    w.WordSoilParagraph(u"суглинок"_s, k, p, p0);
    const auto paras = w.paragraphs();
    QCOMPARE(paras.size(), paragraphs);
    QStringList got;
    for (const ReportParagraph& para : paras)
        for (const ReportRun& r : para.runs) {
            got << r.text;
            QCOMPARE(r.font, r.text == u"r"_s ? u"Symbol"_s : u"Times New Roman Cyr"_s);
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
    QTest::newRow("round") << u"сталь круглая"_s << u"0,016"_s << u"0,016"_s
                           << u"Конструкция заземлителя - сталь круглая диаметром D = 0,016 м."_s << 0.016;
    QTest::newRow("tube") << u"сталь трубная"_s << u"0,032"_s << u"0,032"_s
                          << u"Конструкция заземлителя - сталь трубная диаметром D = 0,032 м."_s << 0.032;
    QTest::newRow("square") << u"сталь квадратная"_s << u"0,012"_s << u"0,012"_s
                            << u"Конструкция заземлителя - сталь квадратная со стороной 0,012 м, что "
                               u"соответствует диаметру D = 0,012 м."_s
                            << 0.012;
    // "В" of the width Cyrillic, "B" of the formula Latin.
    QTest::newRow("angle 50x5")
        << u"сталь угловая"_s << u"50x5"_s << u"47,5"_s
        << u"Конструкция заземлителя - сталь угловая 50x5 м с шириной полки В = 50 м, "
           u"что соответствует диаметру D = 0,95*B = 47,5 м."_s
        << 47.5;
    QTest::newRow("angle")
        << u"сталь угловая"_s << u"0,05x0,05x0,005"_s << u"0,048"_s
        << u"Конструкция заземлителя - сталь угловая 0,05x0,05x0,005 м с шириной полки В = 0,05 м, "
           u"что соответствует диаметру D = 0,95*B = 0,048 м."_s
        << 0.048;
    QTest::newRow("strip")
        << u"сталь полосовая"_s << u"0,04x0,004"_s << u"0,02"_s
        << u"Конструкция заземлителя - сталь полосовая 0,04x0,004 м с шириной полосы В = 0,04 м, "
           u"что соответствует диаметру D = 0,5*B = 0,02 м."_s
        << 0.02;
}

void TestReportModel::constructionParagraph() {
    QFETCH(QString, sech);
    QFETCH(QString, size);
    QFETCH(QString, equiv);
    QFETCH(QString, line);
    QFETCH(double, d);
    ReportBuilder w(rec_);
    const auto got = w.WordConstructionParagraph(sech, size, equiv, u"D"_s);
    QVERIFY(got);
    QCOMPARE(double(*got), d);
    const auto paras = w.paragraphs();
    QCOMPARE(paras.size(), 1);
    QCOMPARE(paras[0].runs.size(), 1);
    QCOMPARE(paras[0].text(), line);
}

void TestReportModel::installationParagraph() {
    InstallationValues eu;
    eu.type = u"напряжением выше 1 кВ с изолированной нейтралью"_s;
    eu.current = u"5"_s;
    eu.voltage = u"380"_s;
    eu.power = u"100"_s;
    eu.resistivity = u"100"_s;
    eu.permissible = u"10"_s;
    ReportBuilder w(rec_);
    w.WordInstallationParagraph(eu);
    QCOMPARE(texts(w.paragraphs()),
             (QStringList{u"Тип электроустановки: напряжением выше 1 кВ с изолированной нейтралью."_s,
                          u"Расчетный ток замыкания на землю: Iзо = 5 А."_s,
                          u"Линейное напряжение источника тока: Uлин. = 380 В."_s,
                          u"Суммарная мощность генераторов (трансформаторов): S = 100 кВА."_s,
                          u"Удельное сопротивление грунта: r = 100 Ом м."_s,
                          u"Допустимое сопротивление растеканию: Rдоп. = 10 Ом."_s}));
    QCOMPARE(w.paragraphs()[4].runs[1].font, u"Symbol"_s);

    // Inputs the type does not use are left out.
    eu.current.clear();
    eu.voltage.clear();
    eu.power.clear();
    eu.resistivity.clear();
    ReportBuilder w2(rec_);
    w2.WordInstallationParagraph(eu);
    QCOMPARE(texts(w2.paragraphs()),
             (QStringList{u"Тип электроустановки: напряжением выше 1 кВ с изолированной нейтралью."_s,
                          u"Допустимое сопротивление растеканию: Rдоп. = 10 Ом."_s}));
}

void TestReportModel::verdict_data() {
    QTest::addColumn<QString>("rmax");
    QTest::addColumn<double>("r");
    QTest::addColumn<QStringList>("lines");
    const QString yes =
        u"Так как R <= Rдоп., то заземлитель можно использовать в качестве заземляющего устройства."_s;
    const QString no =
        u"Так как R > Rдоп., то заземлитель нельзя использовать в качестве заземляющего устройства."_s;
    QTest::newRow("below") << u"4"_s << 2.18 << QStringList{yes};
    QTest::newRow("equal") << u"4"_s << 4.0 << QStringList{yes};
    QTest::newRow("above") << u"4"_s << 4.01 << QStringList{no};
    QTest::newRow("no Rдоп") << QString() << 4.0 << QStringList{};
}

void TestReportModel::verdict() {
    QFETCH(QString, rmax);
    QFETCH(double, r);
    QFETCH(QStringList, lines);
    InstallationValues eu;
    eu.permissible = rmax;
    ReportBuilder w(rec_);
    w.WordVerdict(eu, u"заземлитель"_s, r);
    QCOMPARE(texts(w.paragraphs()), lines);
}

void TestReportModel::rodReportWithTheDefaults() {
    ReportBuilder w(rec_);
    buriedrod::report(w, rodDefaults());
    const auto paras = w.paragraphs();
    QCOMPARE(
        texts(paras),
        (QStringList{
            u"Вертикальный заземлитель в земле."_s, QString(), u"[picture]"_s, QString(),
            u"Тип электроустановки: напряжением до 1 кВ с заземленной нейтралью."_s,
            u"Линейное напряжение источника тока: Uлин. = 380 В."_s,
            u"Удельное сопротивление грунта: r = 100 Ом м."_s,
            u"Допустимое сопротивление растеканию: Rдоп. = 4 Ом."_s,
            u"Грунт в месте расположения заземляющего устройства: суглинок с удельным сопротивлением r = "
            u"100 Ом м."_s,
            u"Заземляющее устройство представляет собой вертикальный заземлитель длиной L = 5 м."_s,
            u"Конструкция заземлителя - сталь круглая диаметром D = 0,016 м."_s,
            u"Расстояние от поверхности земли до верхнего края заземлителя: \u0422о = 0,7 м."_s,
            u"Глубина заложения заземлителя: \u0422 = 5/2 + 0,7 = 3,20 м."_s,
            u"Сопротивление растеканию заземлителя:"_s,
            u"R = r / (2*П*L) * [Ln(2*L/D) + 0,5*Ln((4*T+L)/(4*T-L))], Ом;"_s,
            u"R = 100/(2*3,14*5) * [Ln(2*5/0,016) + 0,5*Ln((4*3,20+5)/(4*3,20-5))] = 21,81 Ом."_s,
            u"Так как R > Rдоп., то заземлитель нельзя использовать в качестве заземляющего устройства."_s}));
    for (int i = 0; i < paras.size(); ++i) {
        const bool centred = i == 0 || i == 14 || i == 15;
        QCOMPARE(paras[i].alignment, centred ? A::Center : A::Left);
        for (const ReportRun& r : paras[i].runs) {
            if (r.isPicture())
                continue;
            QCOMPARE(r.bold, i == 0);
            QCOMPARE(r.size, 12);
            QCOMPARE(r.position, P::Normal);
            QCOMPARE(r.font, r.text == u"r"_s ? u"Symbol"_s : u"Times New Roman Cyr"_s);
        }
    }
    QCOMPARE(paras[2].runs[0].picture, dir_.path() + u"/Picture/vert.bmp"_s);
    // The formula's rho is a run of its own in the Symbol font.
    QCOMPARE(paras[14].runs.size(), 3);
    QCOMPARE(paras[14].runs[1].text, u"r"_s);
    QCOMPARE(paras[14].runs[1].font, u"Symbol"_s);
    QCOMPARE(w.progressCount(), 6);
    QVERIFY(rec_.messages.isEmpty());
}

void TestReportModel::rodReportThatMeetsThePermissibleResistance() {
    // Kп = 0,1: p = 10, R = 2,18 <= 4.
    ReportSource s = rodDefaults();
    s.texts[u"EditPKV"_s] = u"0,1"_s;
    s.texts[u"EditRo"_s] = u"10"_s;
    s.texts[u"EditVS1"_s] = u"2,18"_s;
    ReportBuilder w(rec_);
    buriedrod::report(w, s);
    const QStringList got = texts(w.paragraphs());
    QCOMPARE(got.size(), 18);
    QCOMPARE(got[8], u"Грунт в месте расположения заземляющего устройства: суглинок с удельным "
                     u"сопротивлением r = 100 Ом м."_s);
    QCOMPARE(got[9], u"Поправочный коэффициент для удельного сопротивления r: K = 0,1. С учетом поправочного "
                     u"коэффициента r = 100*0,1 = 10 Ом м."_s);
    QCOMPARE(got[16], u"R = 10/(2*3,14*5) * [Ln(2*5/0,016) + 0,5*Ln((4*3,20+5)/(4*3,20-5))] = 2,18 Ом."_s);
    QCOMPARE(got[17],
             u"Так как R <= Rдоп., то заземлитель можно использовать в качестве заземляющего устройства."_s);
}

void TestReportModel::rodReportWithoutInstallationOrPicture() {
    ReportSource s = rodDefaults();
    s.installation.include = false;
    s.picture = false;
    ReportBuilder w(rec_);
    buriedrod::report(w, s);
    const QStringList got = texts(w.paragraphs());
    QCOMPARE(got.size(), 10);
    QCOMPARE(got[0], u"Вертикальный заземлитель в земле."_s);
    QCOMPARE(got[1], QString());
    QCOMPARE(got[2].left(5), u"Грунт"_s);
    QCOMPARE(got.last(),
             u"R = 100/(2*3,14*5) * [Ln(2*5/0,016) + 0,5*Ln((4*3,20+5)/(4*3,20-5))] = 21,81 Ом."_s);
    QVERIFY(!got.join(QLatin1Char('\n')).contains(u"Rдоп"_s));
    QCOMPARE(w.progressCount(), 6);
}

void TestReportModel::reportFileName_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("file");
    QTest::newRow("rod") << u"Вертикальный заземлитель в земле."_s
                         << u"Вертикальный заземлитель в земле.docx"_s;
    QTest::newRow("refused characters") << u"Сетка 2/3: \"а\"?"_s << u"Сетка 2_3_ _а__.docx"_s;
    QTest::newRow("empty") << QString() << u"Отчет.docx"_s;
}

void TestReportModel::reportFileName() {
    QFETCH(QString, caption);
    QFETCH(QString, file);
    QCOMPARE(kz::reportFileName(caption), file);
}

QTEST_GUILESS_MAIN(TestReportModel)
#include "tst_reportmodel.moc"
