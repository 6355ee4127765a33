#include "widgets/reference/TrestleTablesDialog.h"

#include "widgets/reference/RadioGroup.h"
#include "widgets/reference/TableGrid.h"
#include "store/DataModule.h"

using namespace Qt::StringLiterals;

namespace kz {

namespace {
const QStringList fields = {u"L"_s, u"Rp"_s, u"Zo"_s};
} // namespace

TrestleTablesDialog::TrestleTablesDialog(DataModule& data, QWidget* parent)
    : ReferenceDialog(u"TZ05Form"_s, u"Входное сопротивление технологической эстакады."_s, helpContext,
                      QDialog::Accepted, parent) {
    const char* const files[3] = {"Z15.db", "Z075.db", "Z05.db"};
    for (int i = 0; i < 3; ++i)
        tables_[i] = data.table(QLatin1String(files[i]));
    radio_ = new RadioGroup(u"RadioGroup1"_s, u" Продольное сопротивление технологической эстакады "_s,
                            {u"Zo = 1,5 Ом/км (одна-две проложенные стальные трубы)"_s,
                             u"Zo = 0,75 Ом/км (три-четыре проложенные стальные трубы)"_s,
                             u"Zo = 0,5 Ом/км (пять и более проложенных стальных труб)"_s},
                            1, this);
    radio_->setItemIndex(0);
    addWidget(radio_);
    grid_ = addGrid(tables_[0], fields, u"DBGrid1"_s, u"DBNavigator1"_s, &navigator_);
    connect(radio_, &RadioGroup::itemIndexChanged, this, [this] { bind(); });
    addNote({u"L, км - длина эстакады."_s, u"Rпер., Ом км - переходное сопротивление эстакады."_s,
             u"Zвх, Ом - входное сопротивление эстакады."_s});
    bind();
    // The longest Zo option keeps a margin from the frame.
    resize(std::max(460, sizeHint().width() + 24), 560);
}

int TrestleTablesDialog::itemOf(const QString& zo) {
    if (zo == u"1,5"_s)
        return 0;
    if (zo == u"0,75"_s)
        return 1;
    if (zo == u"0,5"_s)
        return 2;
    return -1;
}

int TrestleTablesDialog::runAt(const QString& zo) {
    if (const int item = itemOf(zo); item >= 0)
        radio_->setItemIndex(item);
    return run();
}

void TrestleTablesDialog::showEvent(QShowEvent* event) {
    bind();
    ReferenceDialog::showEvent(event);
}

void TrestleTablesDialog::bind() {
    const int item = std::max(0, radio_->itemIndex());
    DataTable* table = tables_[item];
    if (grid_->table() != table) {
        grid_->setTable(table, fields);
        grid_->setAllEditable();
        navigator_->setTable(table);
    }
    grid_->setTitle(u"L"_s, u"L, км"_s);
    grid_->setTitle(u"Rp"_s, u"Rпер., Ом км"_s);
    grid_->setTitle(u"Zo"_s, u"Zвх., Ом"_s);
    grid_->setPickList(u"L"_s, {u"0,05"_s, u"0,07"_s, u"0,1"_s, u"0,2"_s, u"0,3"_s, u"0,5"_s, u"0,7"_s,
                                u"1"_s, u"1,5"_s, u"2"_s, u"3"_s, u"5"_s});
    grid_->setPickList(u"Rp"_s, {u"0,01"_s, u"0,025"_s, u"0,05"_s, u"0,1"_s, u"0,25"_s, u"0,5"_s, u"1"_s,
                                 u"2,5"_s, u"5"_s, u"10"_s});
    for (const QString& f : fields)
        grid_->setColumnAlignment(f, Qt::AlignCenter);
}

} // namespace kz
