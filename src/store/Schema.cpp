#include "store/Schema.h"

namespace kz {

namespace {

FieldDef str(const QString& name, int size = 20, const QString& label = {}, int width = 0) {
    return {name, FieldType::String, size, false, label, width, true, {}};
}
FieldDef num(const QString& name, const QString& label = {}, int width = 0) {
    return {name, FieldType::Float, 0, false, label, width, true, {}};
}
FieldDef integer(const QString& name, const QString& label = {}, int width = 0) {
    return {name, FieldType::Integer, 0, false, label, width, true, {}};
}
FieldDef autoKey(int width = 0, bool visible = true) {
    return {QStringLiteral("Kod"), FieldType::AutoInc, 0, false, {}, width, visible, {}};
}
FieldDef required(FieldDef f) {
    f.required = true;
    return f;
}
FieldDef formatted(FieldDef f, const QString& format) {
    f.displayFormat = format;
    return f;
}
FieldDef hidden(FieldDef f) {
    f.visible = false;
    return f;
}

QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

TableDef table(const char* component, const char* source, const char* file, QList<FieldDef> fields) {
    TableDef t;
    t.component = QString::fromLatin1(component);
    t.source = QString::fromLatin1(source);
    t.fileName = QString::fromLatin1(file);
    t.fields = std::move(fields);
    return t;
}

TableDef detail(TableDef t, const char* masterFile) {
    t.masterFile = QString::fromLatin1(masterFile);
    t.indices.append({QStringLiteral("Kod0"), {QStringLiteral("Kod0")}, false, false});
    return t;
}

TableDef userData(TableDef t) {
    t.role = TableRole::UserData;
    return t;
}

TableDef withFilter(TableDef t, const char* filter) {
    t.filter = QString::fromLatin1(filter);
    t.filtered = true;
    return t;
}

QList<FieldDef> coefficientFields(bool allRequired) {
    auto f = [&](FieldDef d) { return allRequired ? required(d) : d; };
    return {f(str(QStringLiteral("Razm"), 10, s("Размещение"))), required(integer(QStringLiteral("N"))),
            f(integer(QStringLiteral("Otnosh"), s("Отношение"))), f(num(QStringLiteral("KI"), s("КИ")))};
}

QList<FieldDef> trestleFields() {
    return {num(QStringLiteral("L")), num(QStringLiteral("Rp")), num(QStringLiteral("Zo"))};
}

QList<TableDef> buildDataModuleTables() {
    const QString massa = s("Масса 1 м, кг");
    QList<TableDef> t;
    t << table("TableRaion", "SourceRaion", "raion.db",
               {str(QStringLiteral("Raion")), integer(QStringLiteral("JanTemp1")),
                integer(QStringLiteral("JanTemp2")), integer(QStringLiteral("JuneTemp1")),
                integer(QStringLiteral("JuneTemp2")), integer(QStringLiteral("IceWater1")),
                integer(QStringLiteral("IceWater2")), num(QStringLiteral("V3p")), num(QStringLiteral("V3s")),
                num(QStringLiteral("V3m")), num(QStringLiteral("V5p")), num(QStringLiteral("V5s")),
                num(QStringLiteral("V5m")), num(QStringLiteral("G10p")), num(QStringLiteral("G10s")),
                num(QStringLiteral("G10m")), num(QStringLiteral("G50p")), num(QStringLiteral("G50s")),
                num(QStringLiteral("G50m"))});
    t << table("TableUde", "SourceUde", "P_udel.DB",
               {str(QStringLiteral("Grunt"), 20, s("Грунт")), num(QStringLiteral("PMin")),
                num(QStringLiteral("PMax")), num(QStringLiteral("PDefault"))});
    t << table("KIGZTable", "KIGZSource", "KIGZ.DB", coefficientFields(false));
    {
        TableDef kivz = table("KIVZTable", "KIVZSource", "Kivz.DB", coefficientFields(true));
        kivz.indices = {
            {QString(), {QStringLiteral("Razm"), QStringLiteral("N"), QStringLiteral("Otnosh")}, true, false},
            {QStringLiteral("iOtnosh"), {QStringLiteral("Razm"), QStringLiteral("Otnosh")}, false, true}};
        t << kivz;
    }
    t << table("KippTable", "KippSource", "Kipp.DB",
               {required(num(QStringLiteral("Dlina"))), required(integer(QStringLiteral("N"))),
                required(num(QStringLiteral("Ras"))), required(num(QStringLiteral("KI")))});
    // The first letter of the round-steel mass label is a Latin M.
    t << table(
        "TableKrug", "SourceKrug", "st_krug.db",
        {num(QStringLiteral("Diam"), s("Диаметр, м")), num(QStringLiteral("Massa"), s("Mасса 1 м, кг"))});
    t << table(
        "TableKvad", "SourceKvad", "st_kvad.db",
        {num(QStringLiteral("Storona"), s("Сторона квадрата, м")), num(QStringLiteral("Massa"), massa)});
    t << table("TablePolos", "SourcePolos", "st_polos.db",
               {num(QStringLiteral("Shir"), s("Ширина полосы, м")),
                num(QStringLiteral("Tol"), s("Толщина полосы, м")), num(QStringLiteral("Massa"), massa)});
    t << table("TableTruba", "SourceTruba", "st_truba.db",
               {num(QStringLiteral("Diam"), s("Диаметр внешний, м")),
                num(QStringLiteral("Tol"), s("Толщина стенки, мм"))});
    t << table("TableUglov", "SourceUglov", "st_uglov.db",
               {num(QStringLiteral("Shir"), s("Ширина полки, м")),
                num(QStringLiteral("Tol"), s("Толщина полки, мм")), num(QStringLiteral("Massa"), massa)});
    t << userData(table("TableHist1", "SourceHist1", "hist1.db",
                        {autoKey(12),
                         integer(QStringLiteral("KodTip"), {}, 12),
                         str(QStringLiteral("Name"), 150, s("Наименование")),
                         str(QStringLiteral("Grunt"), 30, s("Тип грунта"), 17),
                         num(QStringLiteral("P"), s("р, Ом м"), 9),
                         num(QStringLiteral("KP"), s("Коэф. поправки"), 16),
                         str(QStringLiteral("Construct"), 30, s("Конструкция")),
                         str(QStringLiteral("Construct1"), 30),
                         num(QStringLiteral("D1"), s("D1, м"), 8),
                         num(QStringLiteral("T"), s("T, м"), 6),
                         num(QStringLiteral("L"), s("L, м"), 5),
                         num(QStringLiteral("D2"), s("D2, м"), 7),
                         num(QStringLiteral("A"), s("A, м"), 6),
                         num(QStringLiteral("B"), s("B, м"), 6),
                         num(QStringLiteral("Gor")),
                         num(QStringLiteral("Vert")),
                         num(QStringLiteral("N")),
                         num(QStringLiteral("Schema")),
                         num(QStringLiteral("S"), s("S, м2")),
                         str(QStringLiteral("Razmer"), 30),
                         num(QStringLiteral("R"))}));
    t << table("TableTruboprov", "SourceTruboprov", "truboprov.DB",
               {num(QStringLiteral("Diam"), s("Внешний диаметр, м")),
                num(QStringLiteral("Tol"), s("Толщина стенки, мм"))});
    t << userData(table("TableHistMK0", "SourceHistMK0", "histmk0.db",
                        {autoKey(), str(QStringLiteral("Name"), 50), num(QStringLiteral("A")),
                         num(QStringLiteral("B")), num(QStringLiteral("S")), num(QStringLiteral("Pe")),
                         num(QStringLiteral("P1")), num(QStringLiteral("Pb")), num(QStringLiteral("L")),
                         num(QStringLiteral("Db")), num(QStringLiteral("Dbb")), integer(QStringLiteral("Nb")),
                         integer(QStringLiteral("Nf")), num(QStringLiteral("R"))}));
    t << userData(detail(table("TableHistMK1", "SourceHistMK1", "histmk1.db",
                               {autoKey(), integer(QStringLiteral("Kod0")), num(QStringLiteral("Xi")),
                                num(QStringLiteral("Yi")), num(QStringLiteral("Zi"))}),
                         "histmk0.db"));
    t << table("TableZ05", "SourceZ05", "Z05.db", trestleFields());
    t << table("TableZ075", "SourceZ075", "Z075.db", trestleFields());
    t << table("TableZ15", "SourceZ15", "Z15.db", trestleFields());
    t << withFilter(
        table("MTable", "MSource", "m.DB",
              {integer(QStringLiteral("N")), num(QStringLiteral("Otn")), num(QStringLiteral("M"))}),
        "[N]=1");
    t << withFilter(table("LuchTable", "LuchSource", "Kiluch.DB",
                          {integer(QStringLiteral("N"), s("Тип")), num(QStringLiteral("Dlina")),
                           num(QStringLiteral("KI"))}),
                    "[N]=1");
    // Labels mix Cyrillic and Latin letters on purpose: "с, м" here is Cyrillic.
    t << table("SvFundTable", "SvFundSource", "sv_fund.db",
               {hidden(autoKey()), str(QStringLiteral("Marka"), 20, s("Марка"), 9),
                num(QStringLiteral("Dlina"), s("h, м"), 5), num(QStringLiteral("Diam"), s("\u0441, м"), 5)});
    // ...and here "c, м" is Latin, "а, м" Cyrillic.
    t << table("SbFundTable", "SbFundSource", "sb_fund.db",
               {hidden(autoKey()), str(QStringLiteral("Marka"), 20, s("Марка"), 9),
                num(QStringLiteral("DlinaSt"), s("h, м"), 5), num(QStringLiteral("DiamSt"), s("c, м"), 5),
                num(QStringLiteral("DlinaPl"), s("\u0430, м"), 5),
                num(QStringLiteral("ShirPl"), s("b, м"), 5), num(QStringLiteral("VusPl"), s("d, м"), 5)});
    t << withFilter(table("KIFundTable", "KIFundSource", "kifund.db",
                          {num(QStringLiteral("Schema")), num(QStringLiteral("KI"))}),
                    "[Schema]=1");
    t << userData(
        table("TableParPod0", "SourceParPod0", "parpod0.db", {autoKey(), integer(QStringLiteral("KodTip"))}));
    t << userData(detail(table("TableSParPod1", "SourceSParPod1", "sparpod1.DB",
                               {autoKey(), integer(QStringLiteral("Kod0")), str(QStringLiteral("Param"), 100),
                                num(QStringLiteral("Shag"))}),
                         "parpod0.db"));
    t << userData(detail(table("TableIParPod1", "SourceIParPod1", "iparpod1.DB",
                               {autoKey(), integer(QStringLiteral("Kod0")), str(QStringLiteral("Param"), 100),
                                integer(QStringLiteral("BValue")), integer(QStringLiteral("EValue")),
                                integer(QStringLiteral("Shag"))}),
                         "parpod0.db"));
    t << userData(detail(
        table("TableRParPod1", "SourceRParPod1", "rparpod1.DB",
              {autoKey(), integer(QStringLiteral("Kod0")), str(QStringLiteral("Param"), 100),
               num(QStringLiteral("BValue")), num(QStringLiteral("EValue")), num(QStringLiteral("Shag"))}),
        "parpod0.db"));
    t << table("RoIncTable", "RoIncSource", "ro_inc.db",
               {autoKey(), num(QStringLiteral("MinValue")), num(QStringLiteral("MaxValue")),
                num(QStringLiteral("Inc1")), num(QStringLiteral("Inc2")),
                formatted(num(QStringLiteral("Inc3")), QStringLiteral("0.#####"))});
    t << table("TableVZ2Land", "SourceVZ2Land", "vz2land.DB",
               {required(num(QStringLiteral("D"))), required(num(QStringLiteral("L"))),
                required(num(QStringLiteral("H1"))), required(num(QStringLiteral("P1_P2"))),
                num(QStringLiteral("A"))});
    t << table("TableGZ2land", "SourceGZ2land", "gz2land.DB",
               {required(num(QStringLiteral("L"))), required(num(QStringLiteral("H1"))),
                required(num(QStringLiteral("P1_P2"))), required(num(QStringLiteral("T"))),
                num(QStringLiteral("A"))});
    t << table("TableKorGrunt0", "SourceKorGrunt0", "korgrunt0.db",
               {autoKey(), str(QStringLiteral("Name"), 30), num(QStringLiteral("Pmin")),
                num(QStringLiteral("Pmax"))});
    t << detail(table("TableKorGrunt1", "SourceKorGrunt1", "korgrunt1.DB",
                      {autoKey(), integer(QStringLiteral("Kod0")), str(QStringLiteral("Vid"))}),
                "korgrunt0.db");
    t << detail(table("TableKorGrunt2", "SourceKorGrunt2", "korgrunt2.DB",
                      {autoKey(), integer(QStringLiteral("Kod0")), str(QStringLiteral("Status"))}),
                "korgrunt1.DB");
    t << detail(table("TableKorGrunt3", "SourceKorGrunt3", "korgrunt3.DB",
                      {autoKey(), integer(QStringLiteral("Kod0")), str(QStringLiteral("Construct"), 30)}),
                "korgrunt2.DB");
    t << detail(table("TableKorGrunt4", "SourceKorGrunt4", "korgrunt4.DB",
                      {autoKey(), integer(QStringLiteral("Kod0")), str(QStringLiteral("Razmer"))}),
                "korgrunt3.DB");
    return t;
}

QList<TableDef> buildWindowTables() {
    QList<TableDef> t;
    auto req = [](FieldDef f) { return required(f); };
    t << userData(table("TableHistory", "SourceHistory", "history.DB",
                        {autoKey(),
                         req(str(QStringLiteral("Name"), 100)),
                         req(num(QStringLiteral("PKV"))),
                         req(str(QStringLiteral("SechV"), 25)),
                         req(str(QStringLiteral("GruntV"), 25)),
                         req(num(QStringLiteral("RoV"))),
                         req(num(QStringLiteral("DlinaV"))),
                         req(num(QStringLiteral("GlubV"))),
                         req(str(QStringLiteral("Razm"), 10)),
                         req(num(QStringLiteral("RasSt"))),
                         req(integer(QStringLiteral("NV"))),
                         req(num(QStringLiteral("PKG"))),
                         req(str(QStringLiteral("SechG"), 25)),
                         req(str(QStringLiteral("GruntG"), 25)),
                         req(num(QStringLiteral("RoG"))),
                         str(QStringLiteral("RazmerV"), 30),
                         str(QStringLiteral("RazmerG"), 30),
                         integer(QStringLiteral("BtnDownV")),
                         integer(QStringLiteral("BtnDownG")),
                         num(QStringLiteral("R"))}));
    t << userData(table("TablePodbor0", "SourcePodbor0", "podbor0.DB",
                        {autoKey(), str(QStringLiteral("Name"), 50, s("Наименование подбора")),
                         num(QStringLiteral("R"), s("Сопротивление, Ом"))}));
    t << userData(detail(
        table("TablePodbor1", "SourcePodbor1", "podbor1.DB",
              {autoKey(), integer(QStringLiteral("Kod0")), str(QStringLiteral("Param"), 100, s("Параметр")),
               num(QStringLiteral("BValue"), s("Начало")), num(QStringLiteral("EValue"), s("Конец")),
               num(QStringLiteral("Shag"), s("Шаг"))}),
        "podbor0.DB"));
    return t;
}

QString sqlType(FieldType type) {
    switch (type) {
    case FieldType::String:
        return QStringLiteral("TEXT");
    case FieldType::Integer:
    case FieldType::AutoInc:
        return QStringLiteral("INTEGER");
    case FieldType::Float:
        return QStringLiteral("REAL");
    }
    return QStringLiteral("TEXT");
}

} // namespace

QString TableDef::sqlName() const {
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? fileName : fileName.left(dot);
}

const FieldDef* TableDef::field(const QString& name) const {
    const int i = fieldIndex(name);
    return i < 0 ? nullptr : &fields[i];
}

int TableDef::fieldIndex(const QString& name) const {
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool TableDef::hasAutoIncKey() const {
    for (const auto& f : fields)
        if (f.type == FieldType::AutoInc)
            return true;
    return false;
}

const IndexDef* TableDef::index(const QString& name) const {
    for (const auto& i : indices)
        if (i.name.compare(name, Qt::CaseInsensitive) == 0)
            return &i;
    return nullptr;
}

const QList<TableDef>& dataModuleTables() {
    static const QList<TableDef> tables = buildDataModuleTables();
    return tables;
}

const QList<TableDef>& windowTables() {
    static const QList<TableDef> tables = buildWindowTables();
    return tables;
}

const TableDef* findTableDef(const QString& fileName) {
    for (const auto* list : {&dataModuleTables(), &windowTables()})
        for (const auto& t : *list)
            if (t.fileName == fileName)
                return &t;
    return nullptr;
}

const TableDef* findTableBySqlName(const QString& sqlName) {
    for (const auto* list : {&dataModuleTables(), &windowTables()})
        for (const auto& t : *list)
            if (t.sqlName().compare(sqlName, Qt::CaseInsensitive) == 0)
                return &t;
    return nullptr;
}

QString tableFileName(const QString& name) {
    for (const auto* list : {&dataModuleTables(), &windowTables()})
        for (const auto& t : *list)
            if (t.component == name || t.fileName == name)
                return t.fileName;
    const TableDef* byQuery = findTableBySqlName(name);
    return byQuery ? byQuery->fileName : name;
}

QStringList createStatements(const TableDef& def) {
    QStringList columns;
    for (const auto& f : def.fields) {
        QString c = QLatin1Char('"') + f.name + QStringLiteral("\" ") + sqlType(f.type);
        if (f.type == FieldType::AutoInc)
            c += QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
        if (f.required)
            c += QStringLiteral(" NOT NULL");
        columns << c;
    }
    for (const auto& i : def.indices)
        if (i.name.isEmpty())
            columns << QStringLiteral("PRIMARY KEY (\"%1\")").arg(i.fields.join(QStringLiteral("\", \"")));
    QStringList statements;
    statements
        << QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(def.sqlName(), columns.join(QStringLiteral(", ")));
    for (const auto& i : def.indices) {
        if (i.name.isEmpty())
            continue;
        QStringList cols;
        for (const auto& f : i.fields)
            cols << QLatin1Char('"') + f + QLatin1Char('"') +
                        (i.caseInsensitive ? QStringLiteral(" COLLATE NOCASE") : QString());
        statements << QStringLiteral("CREATE %1INDEX \"%2_%3\" ON \"%2\" (%4)")
                          .arg(i.unique ? QStringLiteral("UNIQUE ") : QString(), def.sqlName(), i.name,
                               cols.join(QStringLiteral(", ")));
    }
    return statements;
}

} // namespace kz
