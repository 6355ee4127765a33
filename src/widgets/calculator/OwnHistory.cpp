#include "widgets/calculator/OwnHistory.h"

#include "widgets/calculator/BoltFieldHistoryDialog.h"

#include <QMap>

namespace kz {

const OwnHistory* findOwnHistory(const QString& key) {
    static const QMap<QString, OwnHistory> all = {
        {QStringLiteral("histmk"), boltFieldHistory()},
    };
    const auto it = all.constFind(key);
    return it == all.cend() ? nullptr : &it.value();
}

} // namespace kz
