#include "core/model/CalcOrder.h"
#include "widgets/calculator/CalcOrderViewer.h"
#include "widgets/common/DialogService.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextStream>
#include <QToolButton>

using namespace Qt::StringLiterals;

using namespace kz;

class TestCalcOrderViewer : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void openingSearchesTheFirstDesignation();
    void substringMatches_data();
    void substringMatches();
    void matchOnTheSecondLineIsSelectedThere();
    void navigationMovesTheSelection();
    void parameterNotFound_data();
    void parameterNotFound();
    void emptyCellFindsNothingSilently();
    void substringModeDisablesTheGrid();
    void editingTheSubstringForgetsTheMatches();
    void substringNotFound();
    void closingForgetsTheMatches();
    void fontIsAppliedOnlyOnOk();
    void saveAndOpenTextFiles();
    void headingsShowWhole();

private:
    QToolButton* button(const char* name) {
        return form_->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    QString buttonState();
    void substringMode();
    void findSubstring(const QString& text);

    std::unique_ptr<ScopedRecordingDialogs> rec_;
    ParameterTriples triples_;
    std::unique_ptr<CalcOrderViewer> form_;
};

void TestCalcOrderViewer::init() {
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    triples_.clear();
    triples_.add(u"Длина стержня"_s, QStringLiteral("L"), QStringLiteral("5"));
    triples_.add(u"Расчетное сопротивление"_s, QStringLiteral("R"), QStringLiteral("21,81"));
    triples_.add(u"Шаг"_s, QStringLiteral("a"), QString());
    form_ = std::make_unique<CalcOrderViewer>(nullptr, &triples_);
    form_->setLines({u"Длина стержня: L = 5 м."_s, u"Формула:"_s, u"R = 100 / (2*3,14*L) = 21,81 Ом."_s});
}

void TestCalcOrderViewer::cleanup() {
    form_.reset();
    rec_.reset();
}

QString TestCalcOrderViewer::buttonState() {
    QString s;
    for (const char* name : {"btnFirst", "btnPrior", "btnNext", "btnLast"})
        s += button(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

void TestCalcOrderViewer::substringMode() {
    QTest::mouseClick(form_->findChild<QRadioButton*>(QStringLiteral("rbSubstring")), Qt::LeftButton);
    QCOMPARE(form_->mode(), MemoSearchMode::Substring);
}

void TestCalcOrderViewer::findSubstring(const QString& text) {
    QLineEdit* edit = form_->EditFind();
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::mouseClick(button("btnFind"), Qt::LeftButton);
}

void TestCalcOrderViewer::openingSearchesTheFirstDesignation() {
    form_->show();
    QCOMPARE(form_->parameterGrid()->rowCount(), 3);
    QCOMPARE(form_->parameterGrid()->horizontalHeaderItem(0)->text(), u"Наименование параметра"_s);
    QCOMPARE(form_->parameterGrid()->horizontalHeaderItem(1)->text(), u"Обозначение"_s);
    QCOMPARE(form_->parameterGrid()->horizontalHeaderItem(2)->text(), u"Значение"_s);
    QCOMPARE(form_->parameterGrid()->currentRow(), 0);
    QCOMPARE(form_->parameterGrid()->currentColumn(), 1);
    QCOMPARE(form_->mode(), MemoSearchMode::Parameter);
    // "L" occurs at 16 on the first line and at 19 of the third (23 + 2 + 8 + 2 + 19 = 54).
    QCOMPARE(form_->matches().positions(), QList<int>({16, 54}));
    QCOMPARE(form_->lblNo()->text(), u"1 из 2"_s);
    QCOMPARE(form_->Memo1()->textCursor().selectedText(), QStringLiteral("L"));
    QCOMPARE(form_->Memo1()->textCursor().selectionStart(), 15);
    QCOMPARE(buttonState(), QStringLiteral("0011"));
    QVERIFY(!button("btnFind")->isEnabled());
    QVERIFY(!form_->EditFind()->isEnabled());
    QVERIFY(rec_->messages.isEmpty());
}

void TestCalcOrderViewer::substringMatches_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<QString>("counter");
    QTest::addColumn<QString>("buttons");
    QTest::newRow("ab ab") << QStringList{QStringLiteral("ab ab")} << QStringLiteral("ab") << QList<int>{1, 4}
                           << u"1 из 2"_s << QStringLiteral("0011");
    QTest::newRow("aa in aaa") << QStringList{QStringLiteral("aaa")} << QStringLiteral("aa") << QList<int>{1}
                               << u"1 из 1"_s << QStringLiteral("0000");
    QTest::newRow("three") << QStringList{QStringLiteral("x x"), QStringLiteral("x")} << QStringLiteral("x")
                           << QList<int>{1, 3, 6} << u"1 из 3"_s << QStringLiteral("0011");
}

void TestCalcOrderViewer::substringMatches() {
    QFETCH(QStringList, lines);
    QFETCH(QString, needle);
    QFETCH(QList<int>, positions);
    QFETCH(QString, counter);
    QFETCH(QString, buttons);
    form_->setLines(lines);
    form_->show();
    rec_->messages.clear(); // the opening search of "L" finds nothing here
    substringMode();
    findSubstring(needle);
    QCOMPARE(form_->matches().positions(), positions);
    QCOMPARE(form_->lblNo()->text(), counter);
    QCOMPARE(buttonState(), buttons);
    QCOMPARE(form_->Memo1()->textCursor().selectedText(), needle);
    QCOMPARE(form_->Memo1()->textCursor().selectionStart(), 0);
    QVERIFY(rec_->messages.isEmpty());
}

void TestCalcOrderViewer::matchOnTheSecondLineIsSelectedThere() {
    form_->setLines({QStringLiteral("0123456789"), QStringLiteral("R=21,81 Ом")});
    form_->show();
    substringMode();
    findSubstring(QStringLiteral("21,81"));
    QCOMPARE(form_->matches().positions(), QList<int>({15}));
    const QTextCursor c = form_->Memo1()->textCursor();
    QCOMPARE(c.selectedText(), QStringLiteral("21,81"));
    QCOMPARE(c.block().blockNumber(), 1);
    QCOMPARE(c.selectionStart() - c.block().position(), 2); // column 3, 1-based
}

void TestCalcOrderViewer::navigationMovesTheSelection() {
    form_->setLines({QStringLiteral("x x"), QStringLiteral("x")});
    form_->show();
    substringMode();
    findSubstring(QStringLiteral("x"));
    QTest::mouseClick(button("btnNext"), Qt::LeftButton);
    QCOMPARE(form_->lblNo()->text(), u"2 из 3"_s);
    QCOMPARE(form_->Memo1()->textCursor().selectionStart(), 2);
    QCOMPARE(buttonState(), QStringLiteral("1111"));
    QTest::mouseClick(button("btnLast"), Qt::LeftButton);
    QCOMPARE(form_->lblNo()->text(), u"3 из 3"_s);
    QCOMPARE(form_->Memo1()->textCursor().selectionStart(), 4); // the second line starts at 4
    QCOMPARE(buttonState(), QStringLiteral("1100"));
    QTest::mouseClick(button("btnPrior"), Qt::LeftButton);
    QCOMPARE(form_->lblNo()->text(), u"2 из 3"_s);
    QTest::mouseClick(button("btnFirst"), Qt::LeftButton);
    QCOMPARE(form_->lblNo()->text(), u"1 из 3"_s);
    QCOMPARE(form_->Memo1()->textCursor().selectionStart(), 0);
    QCOMPARE(buttonState(), QStringLiteral("0011"));
}

void TestCalcOrderViewer::parameterNotFound_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("message");
    QTest::newRow("name")
        << 0 << u"Наименование параметра \"Расчетное сопротивление\" в порядке расчета не найдено."_s;
    QTest::newRow("designation") << 1 << QString(); // "R" is in the text
    QTest::newRow("value") << 2 << QString();
}

void TestCalcOrderViewer::parameterNotFound() {
    QFETCH(int, column);
    QFETCH(QString, message);
    form_->show();
    rec_->messages.clear();
    form_->parameterGrid()->setCurrentCell(1, column);
    QCOMPARE(rec_->messages, message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
        QCOMPARE(form_->lblNo()->text(), u"0 из 0"_s);
        QCOMPARE(form_->matches().current(), -1);
    }
    // A designation absent from the text.
    triples_.add(u"Глубина"_s, QStringLiteral("To"), QStringLiteral("0,7"));
    form_->activate();
    rec_->messages.clear();
    form_->parameterGrid()->setCurrentCell(3, 1);
    QCOMPARE(rec_->messages, QStringList{u"Обозначение параметра \"To\" в порядке расчета не найдено."_s});
    form_->parameterGrid()->setCurrentCell(3, 2);
    QCOMPARE(rec_->messages.last(), u"Численное значение параметра \"0,7\" в порядке расчета не найдено."_s);
}

void TestCalcOrderViewer::emptyCellFindsNothingSilently() {
    form_->show();
    rec_->messages.clear();
    form_->parameterGrid()->setCurrentCell(2, 2);
    QVERIFY(rec_->messages.isEmpty());
    QCOMPARE(form_->lblNo()->text(), u"0 из 0"_s);
    QCOMPARE(buttonState(), QStringLiteral("0000"));
}

void TestCalcOrderViewer::substringModeDisablesTheGrid() {
    form_->show();
    substringMode();
    QVERIFY(!form_->parameterGrid()->isEnabled());
    QVERIFY(form_->EditFind()->isEnabled());
    QCOMPARE(form_->lblNo()->text(), u"0 из 0"_s);
    QVERIFY(!button("btnFind")->isEnabled());
    QTest::keyClicks(form_->EditFind(), QStringLiteral("21"));
    QVERIFY(button("btnFind")->isEnabled());
    // Back to parameters: the grid's cell is searched again.
    QTest::mouseClick(form_->findChild<QRadioButton*>(QStringLiteral("rbParameter")), Qt::LeftButton);
    QVERIFY(form_->parameterGrid()->isEnabled());
    QVERIFY(!form_->EditFind()->isEnabled());
    QVERIFY(!button("btnFind")->isEnabled());
    QCOMPARE(form_->lblNo()->text(), u"1 из 2"_s);
}

void TestCalcOrderViewer::editingTheSubstringForgetsTheMatches() {
    form_->show();
    substringMode();
    findSubstring(QStringLiteral("="));
    QCOMPARE(form_->lblNo()->text(), u"1 из 3"_s);
    QTest::keyClicks(form_->EditFind(), QStringLiteral(" "));
    QCOMPARE(form_->lblNo()->text(), u"0 из 0"_s);
    QCOMPARE(buttonState(), QStringLiteral("0000"));
}

void TestCalcOrderViewer::substringNotFound() {
    form_->show();
    substringMode();
    rec_->messages.clear();
    findSubstring(QStringLiteral("Rmax"));
    QCOMPARE(rec_->messages, QStringList{u"Подстрока \"Rmax\" в порядке расчета не найдена."_s});
    QCOMPARE(form_->lblNo()->text(), u"0 из 0"_s);
}

void TestCalcOrderViewer::closingForgetsTheMatches() {
    form_->show();
    QCOMPARE(form_->matches().count(), 2);
    form_->hide();
    QCOMPARE(form_->matches().count(), 0);
    QCOMPARE(buttonState(), QStringLiteral("0000"));
}

void TestCalcOrderViewer::fontIsAppliedOnlyOnOk() {
    form_->show();
    const QFont before = form_->Memo1()->font();
    auto* fontButton = form_->findChild<QPushButton*>(QStringLiteral("Button1"));
    QTest::mouseClick(fontButton, Qt::LeftButton); // cancelled
    QCOMPARE(form_->Memo1()->font(), before);
    QCOMPARE(rec_->fontPresets.size(), 1);
    QCOMPARE(rec_->fontPresets.first(), before);
    QFont chosen(QStringLiteral("Monospace"), 15);
    rec_->fonts << chosen;
    QTest::mouseClick(fontButton, Qt::LeftButton);
    QCOMPARE(form_->Memo1()->font().pointSize(), 15);
}

void TestCalcOrderViewer::saveAndOpenTextFiles() {
    QTemporaryDir dir;
    form_->show();
    const QStringList shown = form_->lines();
    rec_->fileNames << dir.filePath(QStringLiteral("order")); // no extension: .txt is added
    QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
    QFile saved(dir.filePath(QStringLiteral("order.txt")));
    QVERIFY(saved.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(QString::fromUtf8(saved.readAll()), shown.join(QLatin1Char('\n')) + QLatin1Char('\n'));

    const QString other = dir.filePath(QStringLiteral("other.txt"));
    {
        QFile f(other);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(u"Первая строка\r\nВторая = 5\r\n"_s.toUtf8());
    }
    rec_->fileNames << other;
    QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("Button3")), Qt::LeftButton);
    QCOMPARE(form_->lines(), QStringList({u"Первая строка"_s, u"Вторая = 5"_s}));
    QCOMPARE(form_->parameterGrid()->rowCount(), 3); // the grid stays as it was

    // Cancelled dialogs change nothing.
    QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("Button3")), Qt::LeftButton);
    QCOMPARE(form_->lines().size(), 2);
    rec_->fileNames << dir.filePath(QStringLiteral("missing/none.txt"));
    QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("Button3")), Qt::LeftButton);
    QCOMPARE(rec_->messages.size(), 1);
    QVERIFY(rec_->messages.first().startsWith(u"Ошибка. Файл "_s));
}

void TestCalcOrderViewer::headingsShowWhole() {
    auto* grid = form_->findChild<QTableWidget*>(u"StringGrid1"_s);
    QVERIFY(grid);
    for (int c = 0; c < grid->columnCount(); ++c)
        QVERIFY2(grid->horizontalHeader()->sectionSizeHint(c) <= grid->columnWidth(c),
                 qPrintable(grid->horizontalHeaderItem(c)->text()));
}

QTEST_MAIN(TestCalcOrderViewer)
#include "tst_calcorderviewer.moc"
