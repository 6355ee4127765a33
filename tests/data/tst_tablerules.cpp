#include "../calc/core/CalcTestFolder.h"
#include "store/DataModule.h"
#include "store/DataTable.h"
#include "store/TableRules.h"
#include "core/common/Messenger.h"
#include "core/common/Paths.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

QString u(const char* s) {
    return QString::fromUtf8(s);
}

struct Recorder : Messenger {
    QStringList messages;
    void showMessage(const QString& text) override { messages << text; }
};

const char* const incomplete = "Ошибка. Заполнение всех полей обязательно.";

// A complete, valid row of each table with post rules, as "Field=text" pairs.
QString validRow(const QString& table) {
    static const QHash<QString, const char*> rows = {
        {QStringLiteral("TableRaion"),
         "Raion=I;JanTemp1=-20;JanTemp2=-15;JuneTemp1=16;JuneTemp2=18;IceWater1=190;IceWater2=170;"
         "V3p=1,9;V3s=1,7;V3m=1,5;V5p=1,5;V5s=1,4;V5m=1,3;G10p=7,5;G10s=5,8;G10m=4;G50p=2,5;G50s=2,2;G50m=2"},
        {QStringLiteral("TableUde"), "Grunt=глина;PMin=8;PMax=70;PDefault=40"},
        {QStringLiteral("KIVZTable"), "Razm=ряд;N=5;Otnosh=2;KI=0,7"},
        {QStringLiteral("KIGZTable"), "Razm=ряд;N=5;Otnosh=2;KI=0,7"},
        {QStringLiteral("TableTruboprov"), "Diam=0,1;Tol=4"},
        {QStringLiteral("TableZ05"), "L=1;Rp=10;Zo=2"},
        {QStringLiteral("TableZ075"), "L=1;Rp=10;Zo=2"},
        {QStringLiteral("TableZ15"), "L=1;Rp=10;Zo=2"},
        {QStringLiteral("MTable"), "N=1;Otn=1;M=0,5"},
        {QStringLiteral("TableKrug"), "Diam=0,016;Massa=1,58"},
        {QStringLiteral("TableKvad"), "Storona=0,012;Massa=1,13"},
        {QStringLiteral("TablePolos"), "Shir=0,04;Tol=0,004;Massa=1,26"},
        {QStringLiteral("TableTruba"), "Diam=0,05;Tol=3,5"},
        {QStringLiteral("TableUglov"), "Shir=0,05;Tol=0,005;Massa=3,77"},
        {QStringLiteral("KippTable"), "Dlina=50;N=5;Ras=5;KI=0,5"},
        {QStringLiteral("LuchTable"), "N=3;Dlina=10;KI=0,8"},
        {QStringLiteral("KIFundTable"), "Schema=2;KI=0,6"},
        {QStringLiteral("SvFundTable"), "Marka=С1;Dlina=6;Diam=0,3"},
        {QStringLiteral("SbFundTable"), "Marka=Ф1;DlinaSt=1;DiamSt=0,5;DlinaPl=2;ShirPl=2;VusPl=0,3"},
        {QStringLiteral("TableVZ2Land"), "D=0,02;L=10;H1=2;P1_P2=1;A=0,5"},
        {QStringLiteral("TableGZ2land"), "L=50;H1=2;P1_P2=1;T=0,7;A=0,5"},
        {QStringLiteral("RoIncTable"), "MinValue=10;MaxValue=100;Inc1=10;Inc2=1;Inc3=0,1"},
        {QStringLiteral("TableKorGrunt0"), "Name=очень низкая;Pmin=20000000;Pmax=30000000"},
        {QStringLiteral("TableKorGrunt1"), "Vid=вертикальный"},
        {QStringLiteral("TableKorGrunt2"), "Status=рекомендуется"},
        {QStringLiteral("TableKorGrunt3"), "Construct=сталь круглая"},
        {QStringLiteral("TableKorGrunt4"), "Razmer=0,02"},
    };
    return u(rows.value(table));
}

// Field texts of a valid row with the changes applied ("Field=" leaves the field empty).
QList<QPair<QString, QString>> rowWith(const QString& table, const QString& changes) {
    QList<QPair<QString, QString>> fields;
    auto apply = [&fields](const QString& pairs) {
        for (const QString& pair : pairs.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString name = pair.section(QLatin1Char('='), 0, 0);
            const QString text = pair.section(QLatin1Char('='), 1);
            auto it =
                std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f.first == name; });
            if (it != fields.end())
                it->second = text;
            else
                fields.append({name, text});
        }
    };
    apply(validRow(table));
    apply(changes);
    return fields;
}

void removeAllRows(DataTable& t) {
    t.setFiltered(false);
    while (!t.isEmpty()) {
        t.first();
        QVERIFY(t.remove());
    }
}

} // namespace

class TestTableRules : public QObject {
    Q_OBJECT
private slots:
    void init();

    void postRules_data();
    void postRules();
    void refusedEditKeepsTheEditedRow();
    void duplicateKeyIsTranslated();
    void emptyFieldIgnoresTheAutoIncrementKey();

    void corrosionPost_data();
    void corrosionPost();
    void corrosionDetailNeedsAValidClass();
    void corrosionDetailWaitsForItsMaster_data();
    void corrosionDetailWaitsForItsMaster();
    void constructionEditNeedsNoSizes();
    void corrosionDeleteNeedsNoDetails_data();
    void corrosionDeleteNeedsNoDetails();
    void statusIsDeletedAfterItsConstructions();
    void sizesAreDeletedFreely();

    void deletingAFoundationFieldSetDeletesItsCoordinates();
    void selectionSettingsAreOnlyEdited_data();
    void selectionSettingsAreOnlyEdited();

    void rulesAreAttachedToTheirTables_data();
    void rulesAreAttachedToTheirTables();

private:
    // Inserts a row of the given texts and posts it; the table's messages are recorded.
    bool insertRow(DataTable& t, const QList<QPair<QString, QString>>& fields);
    DataTable& table(const char* name) { return (*folder_->data)[QLatin1String(name)]; }

    Recorder rec_;
    std::unique_ptr<CalcTestFolder> folder_;
    QString folderFor_;
};

// A fresh folder per test function; the rows of one function's data leave the tables as found.
void TestTableRules::init() {
    if (!folder_ || folderFor_ != QLatin1String(QTest::currentTestFunction())) {
        folder_.reset();
        folder_ = std::make_unique<CalcTestFolder>(rec_);
        folderFor_ = QLatin1String(QTest::currentTestFunction());
    }
    rec_.messages.clear();
}

bool TestTableRules::insertRow(DataTable& t, const QList<QPair<QString, QString>>& fields) {
    if (!t.insert())
        return false;
    for (const auto& f : fields)
        if (!t.setText(f.first, f.second))
            qWarning() << "cannot set" << f.first << f.second;
    return t.post();
}

void TestTableRules::postRules_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("message"); // empty when the row is accepted

    const QString none;
    const QString full = u(incomplete);
    const QString razm =
        u("Ошибка. Поле \"Размещение\" (тип размещения вертикальных стержней) может принимать "
          "только два значения: \"ряд\" или \"контур\".");
    const QString inLine =
        u("Ошибка. Значение поля \"Количество, шт.\" (количество вертикальных стержней) при "
          "размещении стержней в ряд должно быть в диапазоне 2 .. 20 шт.");
    const QString onContour =
        u("Ошибка. Значение поля \"Количество, шт.\" (количество вертикальных стержней) "
          "при размещении стержней по контуру должно быть в диапазоне 4 .. 100 шт.");
    const QString ratio = u("Ошибка. Значение поля \"Отношение\" (отношение расстояния между вертикальными "
                            "стержнями к их длине) должно быть в диапазоне 1 .. 3.");
    auto row = [](const char* name, const char* table, const char* changes, const QString& message) {
        QTest::newRow(name) << QString::fromLatin1(table) << u(changes) << message;
    };

    // Complete records, on every table that demands them.
    for (const char* t :
         {"TableRaion",  "TableUde",     "KIVZTable",    "KIGZTable", "TableTruboprov", "TableZ05",
          "TableZ075",   "TableZ15",     "MTable",       "TableKrug", "TableKvad",      "TablePolos",
          "TableTruba",  "TableUglov",   "KippTable",    "LuchTable", "KIFundTable",    "SvFundTable",
          "SbFundTable", "TableVZ2Land", "TableGZ2land", "RoIncTable"}) {
        const QString name = QString::fromLatin1(t);
        const QString first = rowWith(name, {}).first().first;
        const QString last = rowWith(name, {}).last().first;
        QTest::newRow(qPrintable(name + QStringLiteral(" complete"))) << name << QString() << none;
        QTest::newRow(qPrintable(name + QStringLiteral(" no ") + first))
            << name << first + QLatin1Char('=') << full;
        QTest::newRow(qPrintable(name + QStringLiteral(" no ") + last))
            << name << last + QLatin1Char('=') << full;
    }
    row("KIVZ complete record checked first", "KIVZTable", "Razm=линия;N=500;KI=", full);
    row("KIVZ razm", "KIVZTable", "Razm=линия;N=500", razm);
    row("KIVZ razm case", "KIVZTable", "Razm=Ряд", razm);
    row("KIVZ row 1", "KIVZTable", "Razm=ряд;N=1", inLine);
    row("KIVZ row 2", "KIVZTable", "Razm=ряд;N=2", none);
    row("KIVZ row 20", "KIVZTable", "Razm=ряд;N=20", none);
    row("KIVZ row 21", "KIVZTable", "Razm=ряд;N=21", inLine);
    row("KIVZ contour 3", "KIVZTable", "Razm=контур;N=3", onContour);
    row("KIVZ contour 4", "KIVZTable", "Razm=контур;N=4", none);
    row("KIVZ contour 100", "KIVZTable", "Razm=контур;N=100", none);
    row("KIVZ contour 101", "KIVZTable", "Razm=контур;N=101", onContour);
    row("KIVZ count before ratio", "KIVZTable", "Razm=ряд;N=21;Otnosh=5", inLine);
    row("KIVZ ratio 0", "KIVZTable", "Otnosh=0", ratio);
    row("KIVZ ratio 1", "KIVZTable", "Otnosh=1", none);
    row("KIVZ ratio 3", "KIVZTable", "Otnosh=3", none);
    row("KIVZ ratio 4", "KIVZTable", "Otnosh=4", ratio);
    row("KIGZ contour 3", "KIGZTable", "Razm=контур;N=3", onContour);
    row("KIGZ row 21", "KIGZTable", "Razm=ряд;N=21", inLine);
    row("KIGZ ratio 4", "KIGZTable", "Otnosh=4", ratio);
    row("KIGZ razm", "KIGZTable", "Razm=круг", razm);
    // Placement, count and ratio belong to the coefficient tables only.
    row("m.DB has no placement", "MTable", "N=500;Otn=50", none);

    const QString krug = u"Ошибка. Минимально допустимый диаметр круглой стали 0,01 м."_s;
    const QString kvad = u"Ошибка. Минимально допустимая сторона квадратной стали 0,01 м."_s;
    const QString polosTol = u"Ошибка. Минимально допустимая толщина полосовой стали 0,004 м."_s;
    const QString polosSection = u"Ошибка. Минимально допустимое сечение полосовой стали 48 кв. мм."_s;
    const QString truba = u"Ошибка. Минимально допустимая толщина стенки стальной трубы 3,5 мм."_s;
    const QString uglov = u"Ошибка. Минимально допустимая толщина полки угловой стали 0,004 м."_s;
    row("krug 0,0099", "TableKrug", "Diam=0,0099", krug);
    row("krug 0,01", "TableKrug", "Diam=0,01", none);
    row("kvad 0,0099", "TableKvad", "Storona=0,0099", kvad);
    row("kvad 0,01", "TableKvad", "Storona=0,01", none);
    row("polos 0,04 x 0,001", "TablePolos", "Shir=0,04;Tol=0,001", polosTol);
    row("polos 0,012 x 0,004", "TablePolos", "Shir=0,012;Tol=0,004", none);
    row("polos 0,011 x 0,004", "TablePolos", "Shir=0,011;Tol=0,004", polosSection);
    row("polos 0,1 x 0,0039", "TablePolos", "Shir=0,1;Tol=0,0039", polosTol);
    row("polos 0,008 x 0,006", "TablePolos", "Shir=0,008;Tol=0,006", none);
    row("truba 3,49", "TableTruba", "Tol=3,49", truba);
    row("truba 3,5", "TableTruba", "Tol=3,5", none);
    row("uglov 0,0039", "TableUglov", "Tol=0,0039", uglov);
    row("uglov 0,004", "TableUglov", "Tol=0,004", none);

    const QString kippL =
        u"Ошибка. Значение поля \"L, м\" (длина полосы) должно быть в диапазоне 15 .. 200 м."_s;
    const QString kippN =
        u"Ошибка. Значение поля \"N, шт.\" (количество полос) должно быть в диапазоне 2 .. 20 шт."_s;
    const QString kippS =
        u("Ошибка. Значение поля \"S, м\" (расстояние между полосами) должно быть в диапазоне "
          "1 .. 15 м.");
    row("kipp L 14,99", "KippTable", "Dlina=14,99", kippL);
    row("kipp L 15", "KippTable", "Dlina=15", none);
    row("kipp L 200", "KippTable", "Dlina=200", none);
    row("kipp L 200,01", "KippTable", "Dlina=200,01", kippL);
    row("kipp N 1", "KippTable", "N=1", kippN);
    row("kipp N 2", "KippTable", "N=2", none);
    row("kipp N 20", "KippTable", "N=20", none);
    row("kipp N 21", "KippTable", "N=21", kippN);
    row("kipp S 0,99", "KippTable", "Ras=0,99", kippS);
    row("kipp S 1", "KippTable", "Ras=1", none);
    row("kipp S 15", "KippTable", "Ras=15", none);
    row("kipp S 15,01", "KippTable", "Ras=15,01", kippS);
    row("kipp L before N and S", "KippTable", "Dlina=10;N=30;Ras=30", kippL);
    row("kipp N before S", "KippTable", "N=30;Ras=30", kippN);

    const QString luch =
        u("Ошибка. Поле \"Тип\" (тип лучевого заземлителя) может принимать значения в интервале "
          "1 .. 7.");
    row("luch 0", "LuchTable", "N=0", luch);
    row("luch 1", "LuchTable", "N=1", none);
    row("luch 7", "LuchTable", "N=7", none);
    row("luch 8", "LuchTable", "N=8", luch);
    const QString fund =
        u("Ошибка. Поле \"Номер\" (номер схемы расположения фундаметов) может принимать значения "
          "в интервале 1 .. 5.");
    row("kifund 0,99", "KIFundTable", "Schema=0,99", fund);
    row("kifund 1", "KIFundTable", "Schema=1", none);
    row("kifund 5", "KIFundTable", "Schema=5", none);
    row("kifund 6", "KIFundTable", "Schema=6", fund);
    row("sv_fund no diameter", "SvFundTable", "Diam=", full);
    row("sb_fund no slab width", "SbFundTable", "ShirPl=", full);

    const QString vzD =
        u("Ошибка. Значение поля \"D, м\" (диаметр заземлителя) может принимать значения 0,02 или "
          "0,04 м.");
    const QString vzL =
        u"Ошибка. Значение поля \"L, м\" (длина заземлителя) должно быть в интервале 5 .. 20 м."_s;
    const QString gzL =
        u"Ошибка. Значение поля \"L, м\" (длина заземлителя) должно быть в интервале 5 .. 100 м."_s;
    const QString h1 =
        u("Ошибка. Значение поля \"H, м\" (толщина (мощность) верхнего слоя земли) должно быть в "
          "интервале 1 .. 5 м.");
    const QString p1p2 =
        u("Ошибка. Значение поля \"p1/p2\" (отношение удельных сопротивлений верхнего и нижнего "
          "слоев земли) должно быть в интервале 0,5 .. 10.");
    const QString gzT =
        u("Ошибка. Значение поля \"То, м\" (глубина заложения заземлителя) должно быть в интервале "
          "0,5 .. 0,8 м.");
    row("vz2land D 0,03", "TableVZ2Land", "D=0,03", vzD);
    row("vz2land D 0,01999", "TableVZ2Land", "D=0,01999", vzD);
    row("vz2land D 0,019995", "TableVZ2Land", "D=0,019995", none);
    row("vz2land D 0,020005", "TableVZ2Land", "D=0,020005", none);
    row("vz2land D 0,02001", "TableVZ2Land", "D=0,02001", vzD);
    row("vz2land D 0,04", "TableVZ2Land", "D=0,04", none);
    row("vz2land D 0,04001", "TableVZ2Land", "D=0,04001", vzD);
    row("vz2land D before L", "TableVZ2Land", "D=0,03;L=1", vzD);
    row("vz2land L 4,99", "TableVZ2Land", "L=4,99", vzL);
    row("vz2land L 5", "TableVZ2Land", "L=5", none);
    row("vz2land L 20", "TableVZ2Land", "L=20", none);
    row("vz2land L 20,01", "TableVZ2Land", "L=20,01", vzL);
    row("vz2land H 0,99", "TableVZ2Land", "H1=0,99", h1);
    row("vz2land H 5,01", "TableVZ2Land", "H1=5,01", h1);
    row("vz2land p1/p2 0,49998", "TableVZ2Land", "P1_P2=0,49998", p1p2);
    row("vz2land p1/p2 0,49999", "TableVZ2Land", "P1_P2=0,49999", none);
    row("vz2land p1/p2 10", "TableVZ2Land", "P1_P2=10", none);
    row("vz2land p1/p2 10,01", "TableVZ2Land", "P1_P2=10,01", p1p2);
    row("vz2land A not ranged", "TableVZ2Land", "A=1000", none);
    row("gz2land L 4,99", "TableGZ2land", "L=4,99", gzL);
    row("gz2land L 100", "TableGZ2land", "L=100", none);
    row("gz2land L 100,01", "TableGZ2land", "L=100,01", gzL);
    row("gz2land H 0,99", "TableGZ2land", "H1=0,99", h1);
    row("gz2land H 5", "TableGZ2land", "H1=5", none);
    row("gz2land p1/p2 0,4", "TableGZ2land", "P1_P2=0,4", p1p2);
    row("gz2land p1/p2 before T", "TableGZ2land", "P1_P2=11;T=1", p1p2);
    row("gz2land T 0,49", "TableGZ2land", "T=0,49", gzT);
    row("gz2land T 0,5", "TableGZ2land", "T=0,5", none);
    row("gz2land T 0,8", "TableGZ2land", "T=0,8", none);
    row("gz2land T 0,80001", "TableGZ2land", "T=0,80001", none);
    row("gz2land T 0,81", "TableGZ2land", "T=0,81", gzT);
    row("gz2land A not ranged", "TableGZ2land", "A=0", none);

    const QString roMax =
        u"Ошибка. Значение поля \"Максимум\" должно быть больше значения поля \"Минимум\"."_s;
    const QString roSteps =
        u("Ошибка. Значение поля \"Шаг 1\" должно быть больше значений полей \"Шаг 2\" и "
          "\"Шаг 3\", а значение поля \"Шаг 2\" должно быть больше значения поля \"Шаг 3\".");
    row("ro_inc steps 10 1 0,1", "RoIncTable", "Inc1=10;Inc2=1;Inc3=0,1", none);
    row("ro_inc steps 1 1 0,1", "RoIncTable", "Inc1=1;Inc2=1;Inc3=0,1", roSteps);
    row("ro_inc steps 10 1 1", "RoIncTable", "Inc1=10;Inc2=1;Inc3=1", roSteps);
    row("ro_inc steps 10 0,1 1", "RoIncTable", "Inc1=10;Inc2=0,1;Inc3=1", roSteps);
    row("ro_inc steps 1 10 0,1", "RoIncTable", "Inc1=1;Inc2=10;Inc3=0,1", roSteps);
    row("ro_inc tiny third step", "RoIncTable", "Inc1=0,001;Inc2=0,0001;Inc3=0,00001", none);
    row("ro_inc max equal to min", "RoIncTable", "MinValue=100;MaxValue=100", roMax);
    row("ro_inc max below min", "RoIncTable", "MinValue=100;MaxValue=10", roMax);
    row("ro_inc range before steps", "RoIncTable", "MinValue=100;MaxValue=10;Inc1=1;Inc2=1", roMax);
}

void TestTableRules::postRules() {
    QFETCH(QString, table);
    QFETCH(QString, changes);
    QFETCH(QString, message);
    DataTable& t = (*folder_->data)[table];
    t.setFiltered(false);
    const auto fields = rowWith(table, changes);
    // A stored row with the same primary key would be refused by the store, not by the rules.
    if (const IndexDef* key = t.def().index(QString()); key && key->unique) {
        QStringList names;
        QVariantList values;
        for (const auto& f : fields)
            if (key->fields.contains(f.first)) {
                names << f.first;
                values << f.second;
            }
        if (names.size() == key->fields.size() && t.locate(names, values))
            QVERIFY(t.remove());
    }
    const int rows = t.recordCount();

    const bool posted = insertRow(t, fields);

    if (message.isEmpty()) {
        QVERIFY2(posted, qPrintable(rec_.messages.join(QLatin1Char('\n'))));
        QCOMPARE(rec_.messages, QStringList());
        QCOMPARE(t.state(), DataTable::State::Browse);
        QCOMPARE(t.recordCount(), rows + 1);
    } else {
        QVERIFY(!posted);
        QCOMPARE(rec_.messages, QStringList{message});
        // Refused silently: still inserting, nothing stored.
        QCOMPARE(t.state(), DataTable::State::Insert);
        t.cancel();
        QCOMPARE(t.recordCount(), rows);
    }
}

void TestTableRules::refusedEditKeepsTheEditedRow() {
    DataTable& t = table("TablePolos");
    t.first();
    const QString before = t.text(QStringLiteral("Tol"));
    QVERIFY(t.edit());
    t.setText(QStringLiteral("Tol"), QStringLiteral("0,001"));
    QVERIFY(!t.post());
    QCOMPARE(rec_.messages, QStringList{u"Ошибка. Минимально допустимая толщина полосовой стали 0,004 м."_s});
    QCOMPARE(t.state(), DataTable::State::Edit);
    QCOMPARE(t.text(QStringLiteral("Tol")), QStringLiteral("0,001"));
    t.cancel();
    QCOMPARE(t.text(QStringLiteral("Tol")), before);
}

void TestTableRules::duplicateKeyIsTranslated() {
    DataTable& t = table("KIVZTable");
    t.first();
    const QString changes = QStringLiteral("Razm=%1;N=%2;Otnosh=%3")
                                .arg(t.text(QStringLiteral("Razm")), t.text(QStringLiteral("N")),
                                     t.text(QStringLiteral("Otnosh")));
    const int rows = t.recordCount();
    QVERIFY(!insertRow(t, rowWith(QStringLiteral("KIVZTable"), changes)));
    QCOMPARE(rec_.messages, QStringList{u"Нарушение первичного ключа."_s});
    QCOMPARE(t.state(), DataTable::State::Insert);
    t.cancel();
    QCOMPARE(t.recordCount(), rows);
}

void TestTableRules::emptyFieldIgnoresTheAutoIncrementKey() {
    DataTable& t = table("RoIncTable");
    QVERIFY(t.insert());
    for (const auto& f : rowWith(QStringLiteral("RoIncTable"), {}))
        t.setText(f.first, f.second);
    QVERIFY(t.isNull(QStringLiteral("Kod")));
    QVERIFY(!HasEmptyField(t));
    t.setText(QStringLiteral("Inc3"), QString());
    QVERIFY(HasEmptyField(t));
    t.cancel();
}

void TestTableRules::corrosionPost_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("message");
    const QString none;
    const QString full = u"Заполнение всех полей обязательно."_s;
    const QString range =
        u"Ошибка. Значение поля \"р макс, Ом м\" должно быть больше значения поля \"р мин, Ом м\"."_s;
    QTest::newRow("class") << QStringLiteral("TableKorGrunt0") << QString() << none;
    QTest::newRow("class without name")
        << QStringLiteral("TableKorGrunt0") << QStringLiteral("Name=") << full;
    QTest::newRow("class without pmax")
        << QStringLiteral("TableKorGrunt0") << QStringLiteral("Pmax=") << full;
    QTest::newRow("class pmax = pmin")
        << QStringLiteral("TableKorGrunt0") << QStringLiteral("Pmin=50;Pmax=50") << range;
    QTest::newRow("class pmax < pmin")
        << QStringLiteral("TableKorGrunt0") << QStringLiteral("Pmin=50;Pmax=20") << range;
    for (const char* t : {"TableKorGrunt1", "TableKorGrunt2", "TableKorGrunt3", "TableKorGrunt4"}) {
        const QString name = QString::fromLatin1(t);
        const QString field = rowWith(name, {}).first().first;
        QTest::newRow(t) << name << QString() << none;
        QTest::newRow(qPrintable(name + QStringLiteral(" empty")))
            << name << field + QLatin1Char('=') << full;
    }
}

void TestTableRules::corrosionPost() {
    QFETCH(QString, table);
    QFETCH(QString, changes);
    QFETCH(QString, message);
    DataTable& t = (*folder_->data)[table];
    const int rows = t.recordCount();

    const bool posted = insertRow(t, rowWith(table, changes));

    if (message.isEmpty()) {
        QVERIFY2(posted, qPrintable(rec_.messages.join(QLatin1Char('\n'))));
        QCOMPARE(rec_.messages, QStringList());
        QCOMPARE(t.recordCount(), rows + 1);
    } else {
        QVERIFY(!posted);
        QCOMPARE(rec_.messages, QStringList{message});
        QCOMPARE(t.state(), DataTable::State::Insert);
        t.cancel();
        QCOMPARE(t.recordCount(), rows);
    }
}

void TestTableRules::corrosionDetailNeedsAValidClass() {
    // A class stored with a reversed range (written around the rule) refuses new rows below it.
    DataTable& classes = table("TableKorGrunt0");
    classes.first();
    const auto rule = std::exchange(classes.beforePost, nullptr);
    QVERIFY(classes.edit());
    classes.setText(QStringLiteral("Pmax"), QStringLiteral("0"));
    QVERIFY(classes.post());
    classes.beforePost = rule;

    DataTable& kinds = table("TableKorGrunt1");
    QVERIFY(!insertRow(kinds, rowWith(QStringLiteral("TableKorGrunt1"), {})));
    QCOMPARE(
        rec_.messages,
        QStringList{
            u"Ошибка. Значение поля \"р макс, Ом м\" должно быть больше значения поля \"р мин, Ом м\"."_s});
    QCOMPARE(kinds.state(), DataTable::State::Insert);
}

void TestTableRules::corrosionDetailWaitsForItsMaster_data() {
    QTest::addColumn<QString>("master");
    QTest::addColumn<bool>("masterInserts");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("operation");
    const auto add = [](const char* name, const char* master, bool inserts, const char* detail,
                        const char* op) {
        QTest::newRow(name) << QString::fromLatin1(master) << inserts << QString::fromLatin1(detail)
                            << QString::fromLatin1(op);
    };
    add("kind insert, class edited", "TableKorGrunt0", false, "TableKorGrunt1", "insert");
    add("kind insert, class inserted", "TableKorGrunt0", true, "TableKorGrunt1", "insert");
    add("kind edit, class edited", "TableKorGrunt0", false, "TableKorGrunt1", "edit");
    add("kind delete, class edited", "TableKorGrunt0", false, "TableKorGrunt1", "delete");
    add("status insert, kind edited", "TableKorGrunt1", false, "TableKorGrunt2", "insert");
    add("status edit, kind edited", "TableKorGrunt1", false, "TableKorGrunt2", "edit");
    add("status delete, kind edited", "TableKorGrunt1", false, "TableKorGrunt2", "delete");
    add("construction insert, status edited", "TableKorGrunt2", false, "TableKorGrunt3", "insert");
    add("construction edit, status edited", "TableKorGrunt2", false, "TableKorGrunt3", "edit");
    add("construction delete, status edited", "TableKorGrunt2", false, "TableKorGrunt3", "delete");
    add("size insert, construction inserted", "TableKorGrunt3", true, "TableKorGrunt4", "insert");
}

void TestTableRules::corrosionDetailWaitsForItsMaster() {
    QFETCH(QString, master);
    QFETCH(bool, masterInserts);
    QFETCH(QString, detail);
    QFETCH(QString, operation);
    DataTable& m = (*folder_->data)[master];
    DataTable& d = (*folder_->data)[detail];
    const int rows = d.recordCount();
    QVERIFY(masterInserts ? m.insert() : m.edit());

    const bool done = operation == QLatin1String("insert") ? d.insert()
                      : operation == QLatin1String("edit") ? d.edit()
                                                           : d.remove();

    QVERIFY(!done);
    QCOMPARE(rec_.messages, QStringList{u"Завершите работу с главной таблицей."_s});
    QCOMPARE(d.state(), DataTable::State::Browse);
    QVERIFY(m.isEditing());
    m.cancel();
    QCOMPARE(d.recordCount(), rows);
}

void TestTableRules::constructionEditNeedsNoSizes() {
    DataTable& constructions = table("TableKorGrunt3");
    DataTable& sizes = table("TableKorGrunt4");
    constructions.first();
    QVERIFY(!sizes.isEmpty());

    QVERIFY(!constructions.edit());
    QCOMPARE(rec_.messages,
             QStringList{u("До начала редактирования поля \"Конструкция заземлителя\" удалите все "
                           "записи из подчиненной таблицы размеров заземлителя.")});
    QCOMPARE(constructions.state(), DataTable::State::Browse);

    rec_.messages.clear();
    removeAllRows(sizes);
    QVERIFY(constructions.edit());
    constructions.setText(QStringLiteral("Construct"), u"сталь квадратная"_s);
    QVERIFY(constructions.post());
    QCOMPARE(rec_.messages, QStringList());
}

void TestTableRules::corrosionDeleteNeedsNoDetails_data() {
    QTest::addColumn<QString>("table");
    for (const char* t : {"TableKorGrunt0", "TableKorGrunt1", "TableKorGrunt2", "TableKorGrunt3"})
        QTest::newRow(t) << QString::fromLatin1(t);
}

void TestTableRules::corrosionDeleteNeedsNoDetails() {
    QFETCH(QString, table);
    DataTable& t = (*folder_->data)[table];
    t.first();
    const int rows = t.recordCount();
    QVERIFY(!t.remove());
    QCOMPARE(rec_.messages,
             QStringList{u("Удаление записи таблицы невозможно, так как она имеет связанные с ней "
                           "записи в подчиненных таблицах.")});
    QCOMPARE(t.recordCount(), rows);
}

void TestTableRules::statusIsDeletedAfterItsConstructions() {
    DataTable& statuses = table("TableKorGrunt2");
    DataTable& constructions = table("TableKorGrunt3");
    DataTable& sizes = table("TableKorGrunt4");
    statuses.first();
    const int rows = statuses.recordCount();
    QVERIFY(!statuses.remove());
    QCOMPARE(rec_.messages.size(), 1);

    rec_.messages.clear();
    while (!constructions.isEmpty()) {
        constructions.first();
        removeAllRows(sizes);
        QVERIFY(constructions.remove());
    }
    QVERIFY(statuses.remove());
    QCOMPARE(rec_.messages, QStringList());
    QCOMPARE(statuses.recordCount(), rows - 1);
}

void TestTableRules::sizesAreDeletedFreely() {
    DataTable& sizes = table("TableKorGrunt4");
    const int rows = sizes.recordCount();
    QVERIFY(rows > 0);
    QVERIFY(sizes.remove());
    QCOMPARE(sizes.recordCount(), rows - 1);
    QCOMPARE(rec_.messages, QStringList());
}

void TestTableRules::deletingAFoundationFieldSetDeletesItsCoordinates() {
    DataTable& sets = table("TableHistMK0");
    DataTable& columns = table("TableHistMK1");
    removeAllRows(sets);
    for (const char* name : {"первый", "второй"}) {
        QVERIFY(sets.insert());
        sets.setText(QStringLiteral("Name"), u(name));
        QVERIFY(sets.post());
        for (int i = 1; i <= 3; ++i) {
            QVERIFY(columns.insert());
            columns.setValue(QStringLiteral("Xi"), i);
            QVERIFY(columns.post());
        }
    }
    QVERIFY(sets.locate(QStringLiteral("Name"), u"первый"_s));
    const qint64 kept = [&] {
        sets.locate(QStringLiteral("Name"), u"второй"_s);
        return sets.value(QStringLiteral("Kod")).toLongLong();
    }();
    QVERIFY(sets.locate(QStringLiteral("Name"), u"первый"_s));

    QVERIFY(sets.remove());

    QCOMPARE(rec_.messages, QStringList());
    QCOMPARE(sets.recordCount(), 1);
    DataTable all(*findTableDef(QStringLiteral("histmk1.db")));
    QVERIFY(all.open(dataDir()));
    QCOMPARE(all.recordCount(), 3);
    for (all.first(); !all.eof(); all.next())
        QCOMPARE(all.value(QStringLiteral("Kod0")).toLongLong(), kept);
}

void TestTableRules::selectionSettingsAreOnlyEdited_data() {
    QTest::addColumn<QString>("table");
    for (const char* t : {"TableSParPod1", "TableIParPod1", "TableRParPod1"})
        QTest::newRow(t) << QString::fromLatin1(t);
}

void TestTableRules::selectionSettingsAreOnlyEdited() {
    QFETCH(QString, table);
    DataTable& sets = this->table("TableParPod0");
    DataTable& t = (*folder_->data)[table];
    sets.setFiltered(false);
    for (sets.first(); !sets.eof() && t.isEmpty(); sets.next()) {
    }
    QVERIFY(!t.isEmpty());
    const int rows = t.recordCount();

    QVERIFY(!t.insert());
    QCOMPARE(rec_.messages, QStringList{u"Добавление параметров подбора в таблицу запрещено."_s});
    QVERIFY(!t.remove());
    QCOMPARE(rec_.messages.last(), u"Удаление параметров подбора из таблицы запрещено."_s);
    QCOMPARE(t.recordCount(), rows);

    rec_.messages.clear();
    QVERIFY(t.edit());
    t.setText(QStringLiteral("Shag"), QStringLiteral("2"));
    QVERIFY(t.post());
    QCOMPARE(t.text(QStringLiteral("Shag")), QStringLiteral("2"));
    QCOMPARE(rec_.messages, QStringList());
}

void TestTableRules::rulesAreAttachedToTheirTables_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("hooks"); // p post, i insert, e edit, d delete
    const char* const rules[][2] = {
        {"TableRaion", "p"},        {"TableUde", "p"},          {"KIGZTable", "p"},
        {"KIVZTable", "p"},         {"KippTable", "p"},         {"TableKrug", "p"},
        {"TableKvad", "p"},         {"TablePolos", "p"},        {"TableTruba", "p"},
        {"TableUglov", "p"},        {"TableHist1", ""},         {"TableTruboprov", "p"},
        {"TableHistMK0", "d"},      {"TableHistMK1", ""},       {"TableZ05", "p"},
        {"TableZ075", "p"},         {"TableZ15", "p"},          {"MTable", "p"},
        {"LuchTable", "p"},         {"SvFundTable", "p"},       {"SbFundTable", "p"},
        {"KIFundTable", "p"},       {"TableParPod0", ""},       {"TableSParPod1", "id"},
        {"TableIParPod1", "id"},    {"TableRParPod1", "id"},    {"RoIncTable", "p"},
        {"TableVZ2Land", "p"},      {"TableGZ2land", "p"},      {"TableKorGrunt0", "pd"},
        {"TableKorGrunt1", "pied"}, {"TableKorGrunt2", "pied"}, {"TableKorGrunt3", "pied"},
        {"TableKorGrunt4", "pie"}};
    for (const auto& r : rules)
        QTest::newRow(r[0]) << QString::fromLatin1(r[0]) << QString::fromLatin1(r[1]);
}

void TestTableRules::rulesAreAttachedToTheirTables() {
    QFETCH(QString, table);
    QFETCH(QString, hooks);
    const DataTable& t = (*folder_->data)[table];
    QString found;
    if (t.beforePost)
        found += QLatin1Char('p');
    if (t.beforeInsert)
        found += QLatin1Char('i');
    if (t.beforeEdit)
        found += QLatin1Char('e');
    if (t.beforeDelete)
        found += QLatin1Char('d');
    QCOMPARE(found, hooks);
}

QTEST_GUILESS_MAIN(TestTableRules)
#include "tst_tablerules.moc"
