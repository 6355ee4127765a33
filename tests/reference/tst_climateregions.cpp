#include "store/DataModule.h"
#include "core/common/Messenger.h"
#include "store/ClimateRegions.h"
#include "core/rules/CorrectionRules.h"

#include <QFile>
#include <QtTest>

using namespace kz;

namespace {
struct Quiet : Messenger {
    void showMessage(const QString&) override {}
};
} // namespace

// Every coefficient of every region, read through the dialog's rule, against the shipped rows.
class TestClimateRegions : public QObject {
    Q_OBJECT
    DataModule data_;
    Quiet quiet_;

private slots:
    void initTestCase() {
        QVERIFY(data_[QStringLiteral("raion.db")].open(QStringLiteral(KELVOR_BIN_DIR "/Data/")));
    }

    void everyCoefficientOfTheRows_data() {
        QTest::addColumn<QString>("region");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QFile file(QStringLiteral(KELVOR_SOURCE_DIR "/data/tables/raion.db.tsv"));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QStringList header;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const QStringList cells = line.split(QLatin1Char('\t'));
            if (header.isEmpty()) {
                header = cells;
                continue;
            }
            for (int k = 0; k < 2; ++k)
                for (int l = 0; l < 2; ++l)
                    for (int m = 0; m < 3; ++m) {
                        const QString field = seasonalFieldName(ElectrodeKind(k), l == 1, SoilMoisture(m));
                        QTest::newRow(qPrintable(cells[0] + QLatin1Char(' ') + field))
                            << cells[0] << field << cells.value(header.indexOf(field));
                    }
        }
    }
    void everyCoefficientOfTheRows() {
        QFETCH(QString, region);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QCOMPARE(seasonalCoefficientText(data_[QStringLiteral("raion.db")], region, field), text);
    }

    void missingRegionGivesOne_data() {
        QTest::addColumn<QString>("region");
        QTest::newRow("none chosen") << QString();
        QTest::newRow("not in the table") << QStringLiteral("VII");
    }
    void missingRegionGivesOne() {
        QFETCH(QString, region);
        QCOMPARE(seasonalCoefficientText(data_[QStringLiteral("raion.db")], region, QStringLiteral("V3s")),
                 QStringLiteral("1"));
    }

    void theTableDoesNotMove() {
        DataTable& raion = data_[QStringLiteral("raion.db")];
        raion.first();
        seasonalCoefficientText(raion, QStringLiteral("IV"), QStringLiteral("G50m"));
        QCOMPARE(raion.recNo(), 0);
    }
};

QTEST_GUILESS_MAIN(TestClimateRegions)
#include "tst_climateregions.moc"
