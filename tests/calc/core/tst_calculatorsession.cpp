// The calculator session as the windows drive it: an edit says what it changed, only the user's
// edit moves a linked input, and what the session says goes to its listener.
#include "CalcTestFolder.h"
#include "core/calculators/plates/BuriedRing.h"
#include "core/rules/PermissibleResistance.h"
#include "core/session/CalculatorSession.h"
#include "store/StoredFrameData.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kz;

namespace {

struct Quiet : Messenger {
    void showMessage(const QString&) override {}
};

struct Heard : SessionListener {
    QStringList said_;
    QList<std::pair<CheckFailure, bool>> failed_;
    void said(const QString& message) override { said_ << message; }
    void failed(const CheckFailure& failure, bool shown) override { failed_.append({failure, shown}); }
};

QString shown(const CalculatorSession& s, const QString& name) {
    for (const auto& [n, text] : s.outputs())
        if (n == name)
            return text;
    return u"<none>"_s;
}

} // namespace

class TestCalculatorSession : public QObject {
    Q_OBJECT
    Quiet quiet_;
    std::unique_ptr<CalcTestFolder> folder_;
    std::unique_ptr<StoredFrameData> frames_;

    CalculatorSession opened() {
        CalculatorSession s(buriedring::calculator(), *frames_);
        s.open();
        return s;
    }

private slots:
    void initTestCase() {
        folder_ = std::make_unique<CalcTestFolder>(quiet_);
        frames_ = std::make_unique<StoredFrameData>(*folder_->data);
    }

    // The ring D = 1 m with T = 0,7 m breaks D > 2T: with linking on, the user's D moves T to
    // D/2 - 0,1 = 0,4 m; the program's D moves nothing.
    void onlyTheUsersEditMovesTheLinkedInput_data() {
        QTest::addColumn<bool>("byUser");
        QTest::addColumn<QString>("depth");
        QTest::newRow("user") << true << u"0,4"_s;
        QTest::newRow("program") << false << u"0,7"_s;
    }
    void onlyTheUsersEditMovesTheLinkedInput() {
        QFETCH(bool, byUser);
        QFETCH(QString, depth);
        CalculatorSession s = opened();
        QString error;
        QVERIFY(s.set(u"btnLinkParam"_s, true, &error));
        const CalculatorSession::Edit done = s.edit(u"EditDiam"_s, u"1"_s, byUser);
        QVERIFY2(done.taken, qPrintable(done.error));
        QCOMPARE(shown(s, u"EditGlub"_s), depth);
        QCOMPARE(done.changed.contains(u"EditGlub"_s), byUser);
    }

    // T = 0,5 m: the range of D becomes ( D > 2T = 1 ); the range of T follows D alone.
    void anEditNamesWhatItChanged() {
        CalculatorSession s = opened();
        const CalculatorSession::Edit done = s.edit(u"EditGlub"_s, u"0,5"_s, true);
        QVERIFY(done.taken);
        QVERIFY(done.changed.contains(u"EditGlub"_s));
        QVERIFY(done.changed.contains(u"lblRangeD"_s));
        QCOMPARE(shown(s, u"lblRangeD"_s), u"( D > 1 )"_s);
        QVERIFY(!done.changed.contains(u"lblRangeT"_s));
        const CalculatorSession::Edit refused = s.edit(u"EditGlub"_s, u"0.5"_s, true);
        QVERIFY(!refused.taken);
        QVERIFY(!refused.error.isEmpty());
        QVERIFY(refused.changed.isEmpty());
    }

    // With automatic calculation a failed check reaches the listener, with its input to focus;
    // nothing is collected beside it.
    void aListenerHearsTheFailedCheck() {
        CalculatorSession s = opened();
        Heard heard;
        s.setListener(&heard);
        QString error;
        QVERIFY(s.set(u"btnAutoScore"_s, true, &error));
        QVERIFY(s.edit(u"EditGlub"_s, u"0"_s, true).taken);
        QCOMPARE(heard.failed_.size(), 1);
        QCOMPARE(heard.failed_.first().first.focus, u"EditGlub"_s);
        QVERIFY(heard.failed_.first().second);
        QVERIFY(s.messages().isEmpty());
        QVERIFY(!s.hasResult());
    }

    // Opened again, the session keeps the user's soil, p0 and inputs; the lists are read again.
    void reopeningKeepsTheUsersValues() {
        CalculatorSession s = opened();
        const QString soil = frames_->soilNames().value(1);
        QVERIFY(!soil.isEmpty() && soil != s.text(u"ComboGrunt"_s));
        for (const auto& [name, text] : {std::pair{u"ComboGrunt"_s, soil}, std::pair{u"EditRo0"_s, u"555"_s},
                                         std::pair{u"EditGlub"_s, u"0,9"_s}})
            QVERIFY(s.edit(name, text, true).taken);
        s.reopen();
        QCOMPARE(s.text(u"ComboGrunt"_s), soil);
        QCOMPARE(s.text(u"EditRo0"_s), u"555"_s);
        QCOMPARE(s.text(u"EditRo"_s), u"555"_s); // p = p0·Kп, Kп = 1
        QCOMPARE(s.text(u"EditGlub"_s), u"0,9"_s);
    }

    // A case names an item of a list; a window's list may have nothing chosen (a stored size no
    // longer offered), which its check then names. A radio list always has an item.
    void aWindowsListMayHaveNothingChosen() {
        CalculatorSession s = opened();
        QVERIFY(!s.edit(u"cmbDiam"_s, u"0,777"_s, false).taken);
        QCOMPARE(s.text(u"cmbDiam"_s), u"0,016"_s);
        s.setDriver(CalculatorSession::Driver::Window);
        QVERIFY(s.edit(u"cmbDiam"_s, u"0,777"_s, false).taken);
        QCOMPARE(s.text(u"cmbDiam"_s), QString());
        const auto failure = s.check();
        QVERIFY(failure);
        QCOMPARE(failure->focus, u"cmbDiam"_s);
    }

    // A run's last combination written back: D = 4 m, T = 0,7 m, d = 0,016 m gives
    // R = 100/(2π²·4)·ln(4π·4·4/(0,016·0,7)) = 1,266515·9,795530 = 12,41 Ом (the run hands on the
    // formula's rounded result); an inadmissible one leaves no result.
    void aSelectionRunsResultIsShown_data() {
        QTest::addColumn<bool>("inadmissible");
        QTest::addColumn<QString>("result");
        QTest::newRow("found") << false << u"12,41"_s;
        QTest::newRow("inadmissible") << true << QString();
    }
    void aSelectionRunsResultIsShown() {
        QFETCH(bool, inadmissible);
        QFETCH(QString, result);
        CalculatorSession s = opened();
        s.takeSelectionResult({{u"EditDiam"_s, 4.0L}}, 3, inadmissible, 12.41L);
        QCOMPARE(s.text(u"EditDiam"_s), u"4"_s);
        QCOMPARE(s.result(), result);
        QCOMPARE(s.order().isEmpty(), result.isEmpty());
    }

    // With the resistivity link the installation takes the soil's calculated resistivity and its
    // Rдоп follows: up to 1 kV with earthed neutral, p = 600 > 100: Rдоп = 4·600/100 = 24 Ом. Above
    // 1 kV with isolated neutral needs Iзо: without it Rдоп stays; with Iзо = 10 A and
    // 500 < p = 700 <= 5000: Rдоп = 0,5·700/10 = 35 Ом.
    void theInstallationFollowsTheLinkedResistivity() {
        CalculatorSession s = opened();
        s.setToggle(u"btnLinkRo"_s, true);
        QVERIFY(s.edit(u"EditRo0"_s, u"600"_s, true).taken);
        QCOMPARE(s.installation().resistivity, u"600"_s);
        QCOMPARE(s.installation().permissible, u"24,00"_s);
        InstallationValues v = s.installation();
        v.type = installationTypeNames().at(1);
        v.current.clear();
        s.setInstallation(v);
        QVERIFY(s.edit(u"EditRo0"_s, u"700"_s, true).taken);
        QCOMPARE(s.installation().resistivity, u"700"_s);
        QCOMPARE(s.installation().permissible, u"24,00"_s);
        v = s.installation();
        v.current = u"10"_s;
        s.setInstallation(v);
        s.linkInstallation();
        QCOMPARE(s.installation().permissible, u"35,00"_s);
    }
};

QTEST_GUILESS_MAIN(TestCalculatorSession)
#include "tst_calculatorsession.moc"
