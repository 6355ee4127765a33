// Saves foundation-field sets over and over into the data folder given, so that a test can kill
// it in the middle of a save. Set n holds A = n and every bolt at Xi = n.
#include "store/BoltFieldHistoryStore.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace Qt::StringLiterals;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString dataDir = app.arguments().value(1);
    for (int n = 1;; ++n) {
        kz::BoltFieldSet set;
        set.name = u"набор %1"_s.arg(n % 3);
        set.fields.insert(u"A"_s, QString::number(n));
        for (int bolt = 0; bolt < 3000; ++bolt)
            set.distances << QStringList{QString::number(n), QString::number(bolt), u"1"_s};
        QString error;
        if (!kz::saveBoltFieldSet(dataDir, set, &error)) {
            QTextStream(stderr) << error << '\n';
            return 1;
        }
        // The test waits for the first set saved whole.
        QTextStream(stdout) << n << Qt::endl;
    }
}
