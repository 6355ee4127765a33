#include "../core/CalcWindowFixture.h"
#include "CalculatorWindowOf.h"
#include "core/calculators/complex/StandardDevice.h"
#include "store/DataTable.h"
#include "widgets/calculator/HistoryLoadDialog.h"
#include "widgets/frames/CalculatorToolbar.h"

#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace kz;

using TStandFrm = CalculatorWindowOf<&standarddevice::calculator>;

// The standard device keeps its sets in history.DB of its own and brings them back through
// THistForm, whose fields stand under the headings of their groups.
class TestStandForm : public QObject, CalcWindowFixture<TStandFrm> {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void aSavedSetComesBackThroughItsLoader();
};

void TestStandForm::aSavedSetComesBackThroughItsLoader() {
    win_->setInputText(u"EditDlinaV"_s, u"2"_s);
    win_->Calculate(true);
    rec_->inputs << std::optional<QString>(u"Подстанция"_s);
    win_->ButtonFrame1()->btnSave()->click();
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(u'\n')));
    QCOMPARE(rec_->prompts.size(), 1);
    QVERIFY(rec_->prompts.first().endsWith(u"|Заземляющее устройство 1"_s));

    win_->setInputText(u"EditDlinaV"_s, u"3"_s);
    QStringList seen;
    DataTable* shown = nullptr;
    rec_->onModal = [&seen, &shown](QDialog* d) {
        auto* loader = qobject_cast<HistoryLoadDialog*>(d);
        if (!loader)
            return int(QDialog::Rejected);
        loader->show();
        shown = &loader->table();
        seen << loader->objectName() << loader->btnOK()->text() << loader->label(1)->text()
             << loader->label(9)->text() << loader->dbEdit(9)->text();
        for (const QLabel* label : loader->findChildren<QLabel*>())
            if (label->text().startsWith(u"Заземляющие"_s))
                seen << label->text();
        // A heading is bold and has no field.
        if (!loader->label(1)->font().bold() || loader->dbEdit(1)->isVisible() ||
            !loader->btnOK()->isEnabled())
            seen << u"wrong"_s;
        loader->hide();
        return int(QDialog::Accepted);
    };
    win_->ButtonFrame1()->btnLoad()->click();
    QCOMPARE(seen, (QStringList{u"THistForm"_s, u"OK"_s, u" Параметры вертикального заземлителя "_s,
                                u"L - длина стержня, м:"_s, u"2"_s, u"Заземляющие устройства."_s}));
    QCOMPARE(win_->inputText(u"EditDlinaV"_s), u"2"_s);
    // history.DB is the loader's own: closed once it has done.
    QVERIFY(shown && !shown->isOpen());
}

QTEST_MAIN(TestStandForm)
#include "tst_standform.moc"
