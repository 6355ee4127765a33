#include "store/DataModule.h"

#include "core/common/Messenger.h"
#include "core/common/Paths.h"
#include "store/FileCheck.h"
#include "store/StoredCoefficients.h"
#include "store/TableProcedures.h"
#include "store/TableRules.h"

#include <QFileInfo>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace kz {

void TranslateDbError(StoreError& error) {
    switch (error.kind) {
    case StoreError::Kind::DuplicateKey:
        error.message = u"Нарушение первичного ключа."_s;
        break;
    case StoreError::Kind::DuplicateIndexKey:
        error.message = u"Нарушение уникального ключа."_s;
        break;
    case StoreError::Kind::MasterHasDetails:
        error.message = QString::fromUtf8("Запись главной таблицы имеет подчиненные записи в в других "
                                          "таблицах. Ее удаление или изменение запрещено");
        break;
    case StoreError::Kind::LookupRange:
        error.message = u"Значение поля таблицы выходит за пределы диапазона значений таблицы для просмотра"_s;
        break;
    case StoreError::Kind::MasterMissing:
        error.message = u"Нарушение ссылочной целостности связанных таблиц"_s;
        break;
    default:
        break;
    }
}

DataModule::DataModule(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("DataModule1"));
    static const QStringList translated = {
        QStringLiteral("raion.db"),    QStringLiteral("P_udel.DB"),    QStringLiteral("Kivz.DB"),
        QStringLiteral("KIGZ.DB"),     QStringLiteral("truboprov.DB"), QStringLiteral("Z05.db"),
        QStringLiteral("Z075.db"),     QStringLiteral("Z15.db"),       QStringLiteral("m.DB"),
        QStringLiteral("st_krug.db"),  QStringLiteral("st_kvad.db"),   QStringLiteral("st_polos.db"),
        QStringLiteral("st_truba.db"), QStringLiteral("st_uglov.db"),  QStringLiteral("Kipp.DB"),
        QStringLiteral("Kiluch.DB"),   QStringLiteral("sv_fund.db"),   QStringLiteral("parpod0.db"),
        QStringLiteral("sb_fund.db"),  QStringLiteral("kifund.db"),    QStringLiteral("vz2land.DB"),
        QStringLiteral("gz2land.DB")};
    for (const TableDef& def : dataModuleTables()) {
        auto t = std::make_unique<DataTable>(def, this);
        if (translated.contains(def.fileName))
            t->onPostError = [](DataTable&, StoreError& e) { TranslateDbError(e); };
        tables_.push_back(std::move(t));
    }
    for (const auto& t : tables_)
        if (!t->def().masterFile.isEmpty())
            t->setMaster(table(t->def().masterFile));
    AttachTableRules(*this);
}

DataModule::~DataModule() {
    coefficients_.reset();
    closeAll();
}

const CoefficientTables& DataModule::coefficients() {
    if (!coefficients_)
        coefficients_ = std::make_unique<StoredCoefficients>(*this);
    return *coefficients_;
}

namespace {
struct CollectedMessages : Messenger {
    QStringList texts;
    void showMessage(const QString& text) override { texts << text; }
};
} // namespace

void DataModule::openAll(Messenger& messenger) {
    // One box for everything that could not be opened, not one box per table.
    CollectedMessages collected;
    for (const auto& t : tables_) {
        OpenDataTable(*t, collected);
        t->setReporter(&messenger);
    }
    // The tables single windows open for themselves are checked now too, so that a damaged one
    // is named at start-up rather than when its window fails.
    for (const TableDef& def : windowTables()) {
        const QString path = dataDir() + def.fileName;
        const FileCheck check =
            QFileInfo(path).isFile()
                ? checkTableFileAt(path, def)
                : FileCheck{FileProblem::Missing, fileProblemMessage(FileProblem::Missing, path), {}};
        if (check)
            collected.showMessage(check.message);
    }
    if (collected.texts.size() == 1)
        messenger.showMessage(collected.texts.first());
    else if (!collected.texts.isEmpty())
        messenger.showMessage(u"Не удалось открыть таблицы (%1), программа работает без них:\n"_s.arg(
                                  collected.texts.size()) +
                              collected.texts.join(QLatin1Char('\n')));
}

void DataModule::closeAll() {
    for (const auto& t : tables_)
        CloseDataTable(*t);
    for (const auto& t : windowTables_)
        CloseDataTable(*t);
}

DataTable* DataModule::table(const QString& name) const {
    for (const auto& t : tables_)
        if (t->def().component == name || t->def().fileName == name) {
            // A file that was only locked for a moment is taken up again when it is needed.
            t->reopenIfLocked();
            return t.get();
        }
    for (const auto& t : windowTables_)
        if (t->def().component == name || t->def().fileName == name)
            return t.get();
    return nullptr;
}

DataTable* DataModule::windowTable(const QString& name) {
    for (const TableDef& def : windowTables())
        if (def.component == name || def.fileName == name) {
            if (DataTable* made = table(name))
                return made;
            windowTables_.push_back(std::make_unique<DataTable>(def, this));
            return windowTables_.back().get();
        }
    return nullptr;
}

DataTable& DataModule::operator[](const QString& name) const {
    DataTable* t = table(name);
    if (!t)
        throw std::invalid_argument("unknown table");
    return *t;
}

} // namespace kz
