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

struct Recorder : Messenger {
    QStringList messages;
    void showMessage(const QString& text) override { messages << text; }
};

const QString incomplete = u"Ошибка. Заполнение всех полей обязательно."_s;

// A complete, valid row of each table with post rules, as "Field=text" pairs.
QString validRow(const QString& table) {
    static const QHash<QString, QString> rows = {
        {u"TableRaion"_s,
         u"Raion=I;JanTemp1=-20;JanTemp2=-15;JuneTemp1=16;JuneTemp2=18;IceWater1=190;IceWater2=170;"
         u"V3p=1,9;V3s=1,7;V3m=1,5;V5p=1,5;V5s=1,4;V5m=1,3;G10p=7,5;G10s=5,8;G10m=4;G50p=2,5;G50s=2,2;G50m=2"_s},
        {u"TableUde"_s, u"Grunt=глина;PMin=8;PMax=70;PDefault=40"_s},
        {u"KIVZTable"_s, u"Razm=ряд;N=5;Otnosh=2;KI=0,7"_s},
        {u"KIGZTable"_s, u"Razm=ряд;N=5;Otnosh=2;KI=0,7"_s},
        {u"TableTruboprov"_s, u"Diam=0,1;Tol=4"_s},
        {u"TableZ05"_s, u"L=1;Rp=10;Zo=2"_s},
        {u"TableZ075"_s, u"L=1;Rp=10;Zo=2"_s},
        {u"TableZ15"_s, u"L=1;Rp=10;Zo=2"_s},
        {u"MTable"_s, u"N=1;Otn=1;M=0,5"_s},
        {u"TableKrug"_s, u"Diam=0,016;Massa=1,58"_s},
        {u"TableKvad"_s, u"Storona=0,012;Massa=1,13"_s},
        {u"TablePolos"_s, u"Shir=0,04;Tol=0,004;Massa=1,26"_s},
        {u"TableTruba"_s, u"Diam=0,05;Tol=3,5"_s},
        {u"TableUglov"_s, u"Shir=0,05;Tol=0,005;Massa=3,77"_s},
        {u"KippTable"_s, u"Dlina=50;N=5;Ras=5;KI=0,5"_s},
        {u"LuchTable"_s, u"N=3;Dlina=10;KI=0,8"_s},
        {u"KIFundTable"_s, u"Schema=2;KI=0,6"_s},
        {u"SvFundTable"_s, u"Marka=С1;Dlina=6;Diam=0,3"_s},
        {u"SbFundTable"_s, u"Marka=Ф1;DlinaSt=1;DiamSt=0,5;DlinaPl=2;ShirPl=2;VusPl=0,3"_s},
        {u"TableVZ2Land"_s, u"D=0,02;L=10;H1=2;P1_P2=1;A=0,5"_s},
        {u"TableGZ2land"_s, u"L=50;H1=2;P1_P2=1;T=0,7;A=0,5"_s},
        {u"RoIncTable"_s, u"MinValue=10;MaxValue=100;Inc1=10;Inc2=1;Inc3=0,1"_s},
        {u"TableKorGrunt0"_s, u"Name=очень низкая;Pmin=20000000;Pmax=30000000"_s},
        {u"TableKorGrunt1"_s, u"Vid=вертикальный"_s},
        {u"TableKorGrunt2"_s, u"Status=рекомендуется"_s},
        {u"TableKorGrunt3"_s, u"Construct=сталь круглая"_s},
        {u"TableKorGrunt4"_s, u"Razmer=0,02"_s},
    };
    return rows.value(table);
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
    const QString full = incomplete;
    const QString razm =
        u"Ошибка. Поле \"Размещение\" (тип размещения вертикальных стержней) может принимать "
        u"только два значения: \"ряд\" или \"контур\"."_s;
    const QString inLine =
        u"Ошибка. Значение поля \"Количество, шт.\" (количество вертикальных стержней) при "
        u"размещении стержней в ряд должно быть в диапазоне 2 .. 20 шт."_s;
    const QString onContour = u"Ошибка. Значение поля \"Количество, шт.\" (количество вертикальных стержней) "
                              u"при размещении стержней по контуру должно быть в диапазоне 4 .. 100 шт."_s;
    const QString ratio = u"Ошибка. Значение поля \"Отношение\" (отношение расстояния между вертикальными "
                          u"стержнями к их длине) должно быть в диапазоне 1 .. 3."_s;
    auto row = [](const char* name, const char* table, const QString& changes, const QString& message) {
        QTest::newRow(name) << QString::fromLatin1(table) << changes << message;
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
    row("KIVZ complete record checked first", "KIVZTable", u"Razm=линия;N=500;KI="_s, full);
    row("KIVZ razm", "KIVZTable", u"Razm=линия;N=500"_s, razm);
    row("KIVZ razm case", "KIVZTable", u"Razm=Ряд"_s, razm);
    row("KIVZ row 1", "KIVZTable", u"Razm=ряд;N=1"_s, inLine);
    row("KIVZ row 2", "KIVZTable", u"Razm=ряд;N=2"_s, none);
    row("KIVZ row 20", "KIVZTable", u"Razm=ряд;N=20"_s, none);
    row("KIVZ row 21", "KIVZTable", u"Razm=ряд;N=21"_s, inLine);
    row("KIVZ contour 3", "KIVZTable", u"Razm=контур;N=3"_s, onContour);
    row("KIVZ contour 4", "KIVZTable", u"Razm=контур;N=4"_s, none);
    row("KIVZ contour 100", "KIVZTable", u"Razm=контур;N=100"_s, none);
    row("KIVZ contour 101", "KIVZTable", u"Razm=контур;N=101"_s, onContour);
    row("KIVZ count before ratio", "KIVZTable", u"Razm=ряд;N=21;Otnosh=5"_s, inLine);
    row("KIVZ ratio 0", "KIVZTable", u"Otnosh=0"_s, ratio);
    row("KIVZ ratio 1", "KIVZTable", u"Otnosh=1"_s, none);
    row("KIVZ ratio 3", "KIVZTable", u"Otnosh=3"_s, none);
    row("KIVZ ratio 4", "KIVZTable", u"Otnosh=4"_s, ratio);
    row("KIGZ contour 3", "KIGZTable", u"Razm=контур;N=3"_s, onContour);
    row("KIGZ row 21", "KIGZTable", u"Razm=ряд;N=21"_s, inLine);
    row("KIGZ ratio 4", "KIGZTable", u"Otnosh=4"_s, ratio);
    row("KIGZ razm", "KIGZTable", u"Razm=круг"_s, razm);
    // Placement, count and ratio belong to the coefficient tables only.
    row("m.DB has no placement", "MTable", u"N=500;Otn=50"_s, none);

    const QString krug = u"Ошибка. Минимально допустимый диаметр круглой стали 0,01 м."_s;
    const QString kvad = u"Ошибка. Минимально допустимая сторона квадратной стали 0,01 м."_s;
    const QString polosTol = u"Ошибка. Минимально допустимая толщина полосовой стали 0,004 м."_s;
    const QString polosSection = u"Ошибка. Минимально допустимое сечение полосовой стали 48 кв. мм."_s;
    const QString truba = u"Ошибка. Минимально допустимая толщина стенки стальной трубы 3,5 мм."_s;
    const QString uglov = u"Ошибка. Минимально допустимая толщина полки угловой стали 0,004 м."_s;
    row("krug 0,0099", "TableKrug", u"Diam=0,0099"_s, krug);
    row("krug 0,01", "TableKrug", u"Diam=0,01"_s, none);
    row("kvad 0,0099", "TableKvad", u"Storona=0,0099"_s, kvad);
    row("kvad 0,01", "TableKvad", u"Storona=0,01"_s, none);
    row("polos 0,04 x 0,001", "TablePolos", u"Shir=0,04;Tol=0,001"_s, polosTol);
    row("polos 0,012 x 0,004", "TablePolos", u"Shir=0,012;Tol=0,004"_s, none);
    row("polos 0,011 x 0,004", "TablePolos", u"Shir=0,011;Tol=0,004"_s, polosSection);
    row("polos 0,1 x 0,0039", "TablePolos", u"Shir=0,1;Tol=0,0039"_s, polosTol);
    row("polos 0,008 x 0,006", "TablePolos", u"Shir=0,008;Tol=0,006"_s, none);
    row("truba 3,49", "TableTruba", u"Tol=3,49"_s, truba);
    row("truba 3,5", "TableTruba", u"Tol=3,5"_s, none);
    row("uglov 0,0039", "TableUglov", u"Tol=0,0039"_s, uglov);
    row("uglov 0,004", "TableUglov", u"Tol=0,004"_s, none);

    const QString kippL =
        u"Ошибка. Значение поля \"L, м\" (длина полосы) должно быть в диапазоне 15 .. 200 м."_s;
    const QString kippN =
        u"Ошибка. Значение поля \"N, шт.\" (количество полос) должно быть в диапазоне 2 .. 20 шт."_s;
    const QString kippS =
        u"Ошибка. Значение поля \"S, м\" (расстояние между полосами) должно быть в диапазоне "
        u"1 .. 15 м."_s;
    row("kipp L 14,99", "KippTable", u"Dlina=14,99"_s, kippL);
    row("kipp L 15", "KippTable", u"Dlina=15"_s, none);
    row("kipp L 200", "KippTable", u"Dlina=200"_s, none);
    row("kipp L 200,01", "KippTable", u"Dlina=200,01"_s, kippL);
    row("kipp N 1", "KippTable", u"N=1"_s, kippN);
    row("kipp N 2", "KippTable", u"N=2"_s, none);
    row("kipp N 20", "KippTable", u"N=20"_s, none);
    row("kipp N 21", "KippTable", u"N=21"_s, kippN);
    row("kipp S 0,99", "KippTable", u"Ras=0,99"_s, kippS);
    row("kipp S 1", "KippTable", u"Ras=1"_s, none);
    row("kipp S 15", "KippTable", u"Ras=15"_s, none);
    row("kipp S 15,01", "KippTable", u"Ras=15,01"_s, kippS);
    row("kipp L before N and S", "KippTable", u"Dlina=10;N=30;Ras=30"_s, kippL);
    row("kipp N before S", "KippTable", u"N=30;Ras=30"_s, kippN);

    const QString luch =
        u"Ошибка. Поле \"Тип\" (тип лучевого заземлителя) может принимать значения в интервале "
        u"1 .. 7."_s;
    row("luch 0", "LuchTable", u"N=0"_s, luch);
    row("luch 1", "LuchTable", u"N=1"_s, none);
    row("luch 7", "LuchTable", u"N=7"_s, none);
    row("luch 8", "LuchTable", u"N=8"_s, luch);
    const QString fund =
        u"Ошибка. Поле \"Номер\" (номер схемы расположения фундаметов) может принимать значения "
        u"в интервале 1 .. 5."_s;
    row("kifund 0,99", "KIFundTable", u"Schema=0,99"_s, fund);
    row("kifund 1", "KIFundTable", u"Schema=1"_s, none);
    row("kifund 5", "KIFundTable", u"Schema=5"_s, none);
    row("kifund 6", "KIFundTable", u"Schema=6"_s, fund);
    row("sv_fund no diameter", "SvFundTable", u"Diam="_s, full);
    row("sb_fund no slab width", "SbFundTable", u"ShirPl="_s, full);

    const QString vzD =
        u"Ошибка. Значение поля \"D, м\" (диаметр заземлителя) может принимать значения 0,02 или "
        u"0,04 м."_s;
    const QString vzL =
        u"Ошибка. Значение поля \"L, м\" (длина заземлителя) должно быть в интервале 5 .. 20 м."_s;
    const QString gzL =
        u"Ошибка. Значение поля \"L, м\" (длина заземлителя) должно быть в интервале 5 .. 100 м."_s;
    const QString h1 =
        u"Ошибка. Значение поля \"H, м\" (толщина (мощность) верхнего слоя земли) должно быть в "
        u"интервале 1 .. 5 м."_s;
    const QString p1p2 =
        u"Ошибка. Значение поля \"p1/p2\" (отношение удельных сопротивлений верхнего и нижнего "
        u"слоев земли) должно быть в интервале 0,5 .. 10."_s;
    const QString gzT =
        u"Ошибка. Значение поля \"То, м\" (глубина заложения заземлителя) должно быть в интервале "
        u"0,5 .. 0,8 м."_s;
    row("vz2land D 0,03", "TableVZ2Land", u"D=0,03"_s, vzD);
    row("vz2land D 0,01999", "TableVZ2Land", u"D=0,01999"_s, vzD);
    row("vz2land D 0,019995", "TableVZ2Land", u"D=0,019995"_s, none);
    row("vz2land D 0,020005", "TableVZ2Land", u"D=0,020005"_s, none);
    row("vz2land D 0,02001", "TableVZ2Land", u"D=0,02001"_s, vzD);
    row("vz2land D 0,04", "TableVZ2Land", u"D=0,04"_s, none);
    row("vz2land D 0,04001", "TableVZ2Land", u"D=0,04001"_s, vzD);
    row("vz2land D before L", "TableVZ2Land", u"D=0,03;L=1"_s, vzD);
    row("vz2land L 4,99", "TableVZ2Land", u"L=4,99"_s, vzL);
    row("vz2land L 5", "TableVZ2Land", u"L=5"_s, none);
    row("vz2land L 20", "TableVZ2Land", u"L=20"_s, none);
    row("vz2land L 20,01", "TableVZ2Land", u"L=20,01"_s, vzL);
    row("vz2land H 0,99", "TableVZ2Land", u"H1=0,99"_s, h1);
    row("vz2land H 5,01", "TableVZ2Land", u"H1=5,01"_s, h1);
    row("vz2land p1/p2 0,49998", "TableVZ2Land", u"P1_P2=0,49998"_s, p1p2);
    row("vz2land p1/p2 0,49999", "TableVZ2Land", u"P1_P2=0,49999"_s, none);
    row("vz2land p1/p2 10", "TableVZ2Land", u"P1_P2=10"_s, none);
    row("vz2land p1/p2 10,01", "TableVZ2Land", u"P1_P2=10,01"_s, p1p2);
    row("vz2land A not ranged", "TableVZ2Land", u"A=1000"_s, none);
    row("gz2land L 4,99", "TableGZ2land", u"L=4,99"_s, gzL);
    row("gz2land L 100", "TableGZ2land", u"L=100"_s, none);
    row("gz2land L 100,01", "TableGZ2land", u"L=100,01"_s, gzL);
    row("gz2land H 0,99", "TableGZ2land", u"H1=0,99"_s, h1);
    row("gz2land H 5", "TableGZ2land", u"H1=5"_s, none);
    row("gz2land p1/p2 0,4", "TableGZ2land", u"P1_P2=0,4"_s, p1p2);
    row("gz2land p1/p2 before T", "TableGZ2land", u"P1_P2=11;T=1"_s, p1p2);
    row("gz2land T 0,49", "TableGZ2land", u"T=0,49"_s, gzT);
    row("gz2land T 0,5", "TableGZ2land", u"T=0,5"_s, none);
    row("gz2land T 0,8", "TableGZ2land", u"T=0,8"_s, none);
    row("gz2land T 0,80001", "TableGZ2land", u"T=0,80001"_s, none);
    row("gz2land T 0,81", "TableGZ2land", u"T=0,81"_s, gzT);
    row("gz2land A not ranged", "TableGZ2land", u"A=0"_s, none);

    const QString roMax =
        u"Ошибка. Значение поля \"Максимум\" должно быть больше значения поля \"Минимум\"."_s;
    const QString roSteps =
        u"Ошибка. Значение поля \"Шаг 1\" должно быть больше значений полей \"Шаг 2\" и "
        u"\"Шаг 3\", а значение поля \"Шаг 2\" должно быть больше значения поля \"Шаг 3\"."_s;
    row("ro_inc steps 10 1 0,1", "RoIncTable", u"Inc1=10;Inc2=1;Inc3=0,1"_s, none);
    row("ro_inc steps 1 1 0,1", "RoIncTable", u"Inc1=1;Inc2=1;Inc3=0,1"_s, roSteps);
    row("ro_inc steps 10 1 1", "RoIncTable", u"Inc1=10;Inc2=1;Inc3=1"_s, roSteps);
    row("ro_inc steps 10 0,1 1", "RoIncTable", u"Inc1=10;Inc2=0,1;Inc3=1"_s, roSteps);
    row("ro_inc steps 1 10 0,1", "RoIncTable", u"Inc1=1;Inc2=10;Inc3=0,1"_s, roSteps);
    row("ro_inc tiny third step", "RoIncTable", u"Inc1=0,001;Inc2=0,0001;Inc3=0,00001"_s, none);
    row("ro_inc max equal to min", "RoIncTable", u"MinValue=100;MaxValue=100"_s, roMax);
    row("ro_inc max below min", "RoIncTable", u"MinValue=100;MaxValue=10"_s, roMax);
    row("ro_inc range before steps", "RoIncTable", u"MinValue=100;MaxValue=10;Inc1=1;Inc2=1"_s, roMax);
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
             QStringList{u"До начала редактирования поля \"Конструкция заземлителя\" удалите все "
                         u"записи из подчиненной таблицы размеров заземлителя."_s});
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
             QStringList{u"Удаление записи таблицы невозможно, так как она имеет связанные с ней "
                         u"записи в подчиненных таблицах."_s});
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
    for (const QString& name : {u"первый"_s, u"второй"_s}) {
        QVERIFY(sets.insert());
        sets.setText(QStringLiteral("Name"), name);
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
