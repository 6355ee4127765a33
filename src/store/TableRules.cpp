#include "store/TableRules.h"

#include "store/DataModule.h"
#include "store/DataTable.h"
#include "core/common/Messenger.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

bool refuse(const DataTable& table, const QString& message) {
    if (Messenger* m = table.reporter())
        m->showMessage(message);
    return false;
}

bool refuse(const DataTable& table, const char* message) {
    return refuse(table, QString::fromUtf8(message));
}

double num(const DataTable& table, const char* field) {
    return table.asFloat(QLatin1String(field));
}

bool within(double value, double low, double high) {
    return value >= low && value <= high;
}

// Complete-record rule that the range rules follow.
bool complete(const DataTable& table) {
    return !HasEmptyField(table) || refuse(table, "Ошибка. Заполнение всех полей обязательно.");
}

bool required(const DataTable& table, std::initializer_list<const char*> fields) {
    for (const char* f : fields)
        if (table.isNull(QLatin1String(f)))
            return refuse(table, "Ошибка. Заполнение всех полей обязательно.");
    return true;
}

bool masterIdle(const DataTable& table) {
    const DataTable* master = table.master();
    return !(master && master->isEditing()) || refuse(table, "Завершите работу с главной таблицей.");
}

const char* const twoLayerRatio =
    "Ошибка. Значение поля \"p1/p2\" (отношение удельных сопротивлений верхнего и нижнего слоев земли) "
    "должно быть в интервале 0,5 .. 10.";
const char* const twoLayerThickness =
    "Ошибка. Значение поля \"H, м\" (толщина (мощность) верхнего слоя земли) должно быть в интервале "
    "1 .. 5 м.";

} // namespace

bool HasEmptyField(const DataTable& table) {
    for (const FieldDef& f : table.def().fields)
        if (f.type != FieldType::AutoInc && table.text(f.name).isEmpty())
            return true;
    return false;
}

bool KIVZTableBeforePost(DataTable& table) {
    if (!complete(table))
        return false;
    const QString component = table.def().component;
    if (component != QLatin1String("KIVZTable") && component != QLatin1String("KIGZTable"))
        return true;
    const QString razm = table.asString(QStringLiteral("Razm"));
    const int n = table.asInteger(QStringLiteral("N"));
    if (razm == u"ряд"_s) {
        if (!within(n, 2, 20))
            return refuse(table,
                          "Ошибка. Значение поля \"Количество, шт.\" (количество вертикальных "
                          "стержней) при размещении стержней в ряд должно быть в диапазоне 2 .. 20 шт.");
    } else if (razm == u"контур"_s) {
        if (!within(n, 4, 100))
            return refuse(table, "Ошибка. Значение поля \"Количество, шт.\" (количество вертикальных "
                                 "стержней) при размещении стержней по контуру должно быть в диапазоне 4 .. "
                                 "100 шт.");
    } else {
        return refuse(table, "Ошибка. Поле \"Размещение\" (тип размещения вертикальных стержней) может "
                             "принимать только два значения: \"ряд\" или \"контур\".");
    }
    if (!within(table.asInteger(QStringLiteral("Otnosh")), 1, 3))
        return refuse(table, "Ошибка. Значение поля \"Отношение\" (отношение расстояния между вертикальными "
                             "стержнями к их длине) должно быть в диапазоне 1 .. 3.");
    return true;
}

bool TableKrugBeforePost(DataTable& table) {
    if (!complete(table))
        return false;
    if (num(table, "Diam") < 0.01)
        return refuse(table, "Ошибка. Минимально допустимый диаметр круглой стали 0,01 м.");
    return true;
}

bool TableKvadBeforePost(DataTable& table) {
    if (!complete(table))
        return false;
    if (num(table, "Storona") < 0.01)
        return refuse(table, "Ошибка. Минимально допустимая сторона квадратной стали 0,01 м.");
    return true;
}

bool TablePolosBeforePost(DataTable& table) {
    if (!complete(table))
        return false;
    if (num(table, "Tol") < 0.004)
        return refuse(table, "Ошибка. Минимально допустимая толщина полосовой стали 0,004 м.");
    // In whole micro-mm² so that 0,012 × 0,004 gives exactly 48 and not 47,999…
    const double section = std::round(num(table, "Shir") * num(table, "Tol") * 1e12) / 1e6;
    if (section < 48)
        return refuse(table, "Ошибка. Минимально допустимое сечение полосовой стали 48 кв. мм.");
    return true;
}

bool TableTrubaBeforePost(DataTable& table) {
    if (!complete(table))
        return false;
    if (num(table, "Tol") < 3.5)
        return refuse(table, "Ошибка. Минимально допустимая толщина стенки стальной трубы 3,5 мм.");
    return true;
}

bool TableUglovBeforePost(DataTable& table) {
    if (!complete(table))
        return false;
    if (num(table, "Tol") < 0.004)
        return refuse(table, "Ошибка. Минимально допустимая толщина полки угловой стали 0,004 м.");
    return true;
}

bool KippTableBeforePost(DataTable& table) {
    if (!complete(table))
        return false;
    if (!within(num(table, "Dlina"), 15, 200))
        return refuse(table,
                      "Ошибка. Значение поля \"L, м\" (длина полосы) должно быть в диапазоне 15 .. 200 м.");
    if (!within(table.asInteger(QStringLiteral("N")), 2, 20))
        return refuse(
            table, "Ошибка. Значение поля \"N, шт.\" (количество полос) должно быть в диапазоне 2 .. 20 шт.");
    if (!within(num(table, "Ras"), 1, 15))
        return refuse(table, "Ошибка. Значение поля \"S, м\" (расстояние между полосами) должно быть в "
                             "диапазоне 1 .. 15 м.");
    return true;
}

bool LuchTableBeforePost(DataTable& table) {
    if (!complete(table))
        return false;
    if (!within(table.asInteger(QStringLiteral("N")), 1, 7))
        return refuse(table, "Ошибка. Поле \"Тип\" (тип лучевого заземлителя) может принимать значения в "
                             "интервале 1 .. 7.");
    return true;
}

bool KIFundTableBeforePost(DataTable& table) {
    if (!complete(table))
        return false;
    if (!within(num(table, "Schema"), 1, 5))
        return refuse(table, "Ошибка. Поле \"Номер\" (номер схемы расположения фундаметов) может принимать "
                             "значения в интервале 1 .. 5.");
    return true;
}

bool SvFundTableBeforePost(DataTable& table) {
    return required(table, {"Marka", "Dlina", "Diam"});
}

bool SbFundTableBeforePost(DataTable& table) {
    return required(table, {"Marka", "DlinaSt", "DiamSt", "DlinaPl", "ShirPl", "VusPl"});
}

bool TableVZ2LandBeforePost(DataTable& table) {
    if (!complete(table))
        return false;
    const double d = num(table, "D");
    const bool d002 = d > 0.01999 && d < 0.02001;
    const bool d004 = d > 0.03999 && d < 0.04001;
    if (!d002 && !d004)
        return refuse(table, "Ошибка. Значение поля \"D, м\" (диаметр заземлителя) может принимать значения "
                             "0,02 или 0,04 м.");
    if (!within(num(table, "L"), 5, 20))
        return refuse(
            table, "Ошибка. Значение поля \"L, м\" (длина заземлителя) должно быть в интервале 5 .. 20 м.");
    if (!within(num(table, "H1"), 1, 5))
        return refuse(table, twoLayerThickness);
    if (!within(num(table, "P1_P2"), 0.49999, 10))
        return refuse(table, twoLayerRatio);
    return true;
}

bool TableGZ2landBeforePost(DataTable& table) {
    if (!complete(table))
        return false;
    if (!within(num(table, "L"), 5, 100))
        return refuse(
            table, "Ошибка. Значение поля \"L, м\" (длина заземлителя) должно быть в интервале 5 .. 100 м.");
    if (!within(num(table, "H1"), 1, 5))
        return refuse(table, twoLayerThickness);
    if (!within(num(table, "P1_P2"), 0.49999, 10))
        return refuse(table, twoLayerRatio);
    if (!within(num(table, "T"), 0.49999, 0.80001))
        return refuse(table, "Ошибка. Значение поля \"То, м\" (глубина заложения заземлителя) должно быть в "
                             "интервале 0,5 .. 0,8 м.");
    return true;
}

bool RoIncTableBeforePost(DataTable& table) {
    if (!complete(table))
        return false;
    if (!(num(table, "MaxValue") > num(table, "MinValue")))
        return refuse(table,
                      "Ошибка. Значение поля \"Максимум\" должно быть больше значения поля \"Минимум\".");
    const double inc1 = num(table, "Inc1"), inc2 = num(table, "Inc2"), inc3 = num(table, "Inc3");
    if (!(inc2 < inc1 && inc3 < inc1 && inc3 < inc2))
        return refuse(table,
                      "Ошибка. Значение поля \"Шаг 1\" должно быть больше значений полей \"Шаг 2\" и "
                      "\"Шаг 3\", а значение поля \"Шаг 2\" должно быть больше значения поля \"Шаг 3\".");
    return true;
}

bool TableKorGrunt1BeforePost(DataTable& table) {
    for (const FieldDef& f : table.def().fields)
        if (f.name != QLatin1String("Kod") && f.name != QLatin1String("Kod0") && table.isNull(f.name))
            return refuse(table, "Заполнение всех полей обязательно.");
    // The activity class at the head of the chain: the record itself or the master row.
    const DataTable* root = &table;
    while (root->master())
        root = root->master();
    if (!(num(*root, "Pmax") > num(*root, "Pmin")))
        return refuse(
            table,
            "Ошибка. Значение поля \"р макс, Ом м\" должно быть больше значения поля \"р мин, Ом м\".");
    return true;
}

bool TableKorGrunt1BeforeInsert(DataTable& table) {
    return masterIdle(table);
}

bool TableKorGrunt1BeforeEdit(DataTable& table) {
    return masterIdle(table);
}

bool TableKorGrunt3BeforeEdit(DataTable& table) {
    if (!masterIdle(table))
        return false;
    // The sizes below are texts of this construction; they would no longer match another one.
    for (const DataTable* detail : table.details())
        if (detail->isOpen() && !detail->isEmpty())
            return refuse(table,
                          "До начала редактирования поля \"Конструкция заземлителя\" удалите все записи "
                          "из подчиненной таблицы размеров заземлителя.");
    return true;
}

bool TableKorGrunt1BeforeDelete(DataTable& table) {
    if (!masterIdle(table))
        return false;
    for (const DataTable* detail : table.details())
        if (detail->isOpen() && !detail->isEmpty())
            return refuse(table,
                          "Удаление записи таблицы невозможно, так как она имеет связанные с ней записи в "
                          "подчиненных таблицах.");
    return true;
}

QString manualHistoryInsertMessage() {
    return u"Ошибка. Добавление набора параметров заземляющего устройства в ручном режиме запрещено."_s;
}

bool TableHistMK0BeforeDelete(DataTable& table) {
    for (DataTable* detail : table.details()) {
        if (!detail->isOpen())
            continue;
        detail->cancel();
        while (!detail->isEmpty()) {
            detail->first();
            if (!detail->remove())
                return false;
        }
    }
    return true;
}

bool TableSParPod1BeforeInsert(DataTable& table) {
    return refuse(table, "Добавление параметров подбора в таблицу запрещено.");
}

bool TableSParPod1BeforeDelete(DataTable& table) {
    return refuse(table, "Удаление параметров подбора из таблицы запрещено.");
}

void AttachTableRules(DataModule& data) {
    auto on = [&data](const char* component) -> DataTable& { return data[QLatin1String(component)]; };

    for (const char* t : {"TableRaion", "TableUde", "KIVZTable", "KIGZTable", "TableTruboprov", "TableZ05",
                          "TableZ075", "TableZ15", "MTable"})
        on(t).beforePost = KIVZTableBeforePost;
    on("TableKrug").beforePost = TableKrugBeforePost;
    on("TableKvad").beforePost = TableKvadBeforePost;
    on("TablePolos").beforePost = TablePolosBeforePost;
    on("TableTruba").beforePost = TableTrubaBeforePost;
    on("TableUglov").beforePost = TableUglovBeforePost;
    on("KippTable").beforePost = KippTableBeforePost;
    on("LuchTable").beforePost = LuchTableBeforePost;
    on("KIFundTable").beforePost = KIFundTableBeforePost;
    on("SvFundTable").beforePost = SvFundTableBeforePost;
    on("SbFundTable").beforePost = SbFundTableBeforePost;
    on("TableVZ2Land").beforePost = TableVZ2LandBeforePost;
    on("TableGZ2land").beforePost = TableGZ2landBeforePost;
    on("RoIncTable").beforePost = RoIncTableBeforePost;

    for (const char* t :
         {"TableKorGrunt0", "TableKorGrunt1", "TableKorGrunt2", "TableKorGrunt3", "TableKorGrunt4"})
        on(t).beforePost = TableKorGrunt1BeforePost;
    for (const char* t : {"TableKorGrunt1", "TableKorGrunt2", "TableKorGrunt3", "TableKorGrunt4"})
        on(t).beforeInsert = TableKorGrunt1BeforeInsert;
    for (const char* t : {"TableKorGrunt1", "TableKorGrunt2", "TableKorGrunt4"})
        on(t).beforeEdit = TableKorGrunt1BeforeEdit;
    on("TableKorGrunt3").beforeEdit = TableKorGrunt3BeforeEdit;
    for (const char* t : {"TableKorGrunt0", "TableKorGrunt1", "TableKorGrunt2", "TableKorGrunt3"})
        on(t).beforeDelete = TableKorGrunt1BeforeDelete;

    // The history tables are guarded against inserts by hand by their loaders, which wrap the
    // table's insert hook.
    on("TableHistMK0").beforeDelete = TableHistMK0BeforeDelete;

    for (const char* t : {"TableSParPod1", "TableIParPod1", "TableRParPod1"}) {
        on(t).beforeInsert = TableSParPod1BeforeInsert;
        on(t).beforeDelete = TableSParPod1BeforeDelete;
    }
}

} // namespace kz
