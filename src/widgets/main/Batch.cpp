#include "widgets/main/Batch.h"

#include "widgets/calculator/CalculatorWindow.h"

#include "widgets/calculator/CalculatorRegistry.h"
#include "widgets/calculator/TableRowChoice.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/frames/SoilFrame.h"
#include "widgets/reference/RadioGroup.h"
#include "widgets/calculator/RowGrid.h"
#include "core/model/RowGridText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTextStream>
#include <memory>

using namespace Qt::StringLiterals;

namespace kz {

namespace {


// Name of a widget qualified, when it has namesakes, by the frame it belongs to ("frmSech1.EditDiam",
// "pFrame1.EditRo"); the upper soil frame's fields keep their plain names.
QString qualifiedName(QWidget* window, QWidget* w, const QList<QWidget*>& namesakes) {
    if (namesakes.size() <= 1)
        return w->objectName();
    for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (QLatin1String(p->metaObject()->className()).startsWith(QLatin1String("kz::"))) {
            if (auto* calculator = qobject_cast<CalculatorWindow*>(window);
                calculator && p == static_cast<QWidget*>(calculator->pFrame()) && namesakes.size() == 2 && namesakes[0] != namesakes[1])
                return w->objectName();
            return p->objectName() + QLatin1Char('.') + w->objectName();
        }
    // A frame of no class of its own: its nearest named container.
    for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (!p->objectName().isEmpty() && !p->objectName().startsWith(QLatin1String("qt_")))
            return p->objectName() + QLatin1Char('.') + w->objectName();
    return w->objectName();
}

bool isUserInput(QWidget* w) {
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return !edit->isReadOnly();
    return qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QSpinBox*>(w) ||
           qobject_cast<RadioGroup*>(w) || qobject_cast<TableRowChoice*>(w) || qobject_cast<RowGrid*>(w);
}

// A calculator's own input of that name, before any frame field of the same name.
QWidget* ownInput(QWidget* window, const QString& name) {
    auto* calculator = qobject_cast<CalculatorWindow*>(window);
    if (!calculator)
        return nullptr;
    for (const GeometryInput& g : calculator->descriptor().geometry)
        if (g.name == name)
            return calculator->inputWidget(name);
    return nullptr;
}

// Position of each widget in the window's tab order, so inputs are set as a user would go.
int tabPosition(QWidget* window, QWidget* target) {
    int i = 0;
    QWidget* w = window;
    do {
        if (w == target || w->isAncestorOf(target))
            return i;
        w = w->nextInFocusChain();
        ++i;
    } while (w && w != window && i < 100000);
    return i;
}

bool setInput(QWidget* w, const QJsonValue& value, QString* error) {
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (!value.isBool()) {
            *error = u"значение кнопки "_s + w->objectName() + u" должно быть true или false"_s;
            return false;
        }
        if (button->isCheckable()) {
            if (button->isChecked() != value.toBool())
                button->click();
        } else if (value.toBool()) {
            button->click();
        }
        return true;
    }
    // A grid of rows by its text form or as a list of rows, each a list of cell texts.
    if (auto* grid = qobject_cast<RowGrid*>(w)) {
        if (value.isString()) {
            grid->setRowsText(value.toString());
            return true;
        }
        GridRows rows;
        bool ok = value.isArray();
        for (const QJsonValue& row : value.toArray()) {
            QStringList cells;
            ok = ok && row.isArray();
            for (const QJsonValue& cell : row.toArray()) {
                ok = ok && cell.isString();
                cells << cell.toString();
            }
            rows << cells;
        }
        if (!ok) {
            *error =
                u"значение таблицы "_s + w->objectName() +
                u" должно быть списком строк таблицы (списков текстов ячеек) или строкой вида \"0,5||;|0,6|\""_s;
            return false;
        }
        grid->setRowsText(gridRowsText(rows));
        return true;
    }
    if (!value.isString()) {
        *error = u"значение поля "_s + w->objectName() + u" должно быть строкой"_s;
        return false;
    }
    const QString text = value.toString();
    // A radio list by its item's text or index.
    if (auto* radio = qobject_cast<RadioGroup*>(w)) {
        if (radio->chooseItem(text))
            return true;
        QStringList items;
        for (int i = 0; i < radio->count(); ++i)
            items << radio->item(i)->text();
        *error = u"значения \""_s + text + u"\" нет в списке "_s + w->objectName() + u" ("_s +
                 items.join(QStringLiteral("; ")) + u")"_s;
        return false;
    }
    // A grid's row by its key (or its code).
    if (auto* row = qobject_cast<TableRowChoice*>(w)) {
        if (row->choose(text))
            return true;
        *error = u"значения \""_s + text + u"\" нет в таблице "_s + w->objectName() + u" ("_s +
                 row->keys().join(QStringLiteral("; ")) + u")"_s;
        return false;
    }
    if (auto* spin = qobject_cast<QSpinBox*>(w)) {
        bool ok = false;
        const int count = text.toInt(&ok);
        if (!ok || count < spin->minimum() || count > spin->maximum()) {
            *error = u"значение \""_s + text + u"\" поля "_s + w->objectName() + u" должно быть целым от "_s +
                     QString::number(spin->minimum()) + u" до "_s + QString::number(spin->maximum());
            return false;
        }
        spin->setValue(count);
        return true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && !combo->isEditable()) {
        const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0) {
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            *error = u"значения \""_s + text + u"\" нет в списке "_s + w->objectName() + u" ("_s +
                     items.join(QStringLiteral("; ")) + u")"_s;
            return false;
        }
        combo->setCurrentIndex(index);
        return true;
    }
    setControlText(w, text);
    return true;
}

QJsonValue inputValue(QWidget* w) {
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->isChecked();
    if (auto* spin = qobject_cast<QSpinBox*>(w))
        return QString::number(spin->value());
    if (auto* radio = qobject_cast<RadioGroup*>(w))
        return radio->itemText();
    if (auto* row = qobject_cast<TableRowChoice*>(w))
        return row->key();
    if (auto* grid = qobject_cast<RowGrid*>(w))
        return grid->rowsText();
    return controlText(w);
}

// Every input of a window with its value, in tab order: buttons only where they hold a state.
QList<QPair<QWidget*, QJsonValue>> inputState(QWidget* window) {
    QList<QPair<QWidget*, QJsonValue>> state;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")) || !isUserInput(w))
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->isCheckable())
            continue;
        state.append({w, inputValue(w)});
    }
    std::stable_sort(state.begin(), state.end(), [window](const auto& a, const auto& b) {
        return tabPosition(window, a.first) < tabPosition(window, b.first);
    });
    return state;
}

} // namespace

struct BatchRunner::Slot {
    std::unique_ptr<QDialog> window;
    QList<QPair<QWidget*, QJsonValue>> opening; // inputs as the window opened
    QStringList openingMessages;               // what it said while opening (a missing picture)
};

BatchRunner::~BatchRunner() = default;

QDialog* BatchRunner::windowFor(const QString& className, const CalculatorInfo& info) {
    // Creating a window costs far more than a calculation: a window is kept per calculator and
    // brought back to the state it opened with, so that no case sees what the one before typed.
    // Where the inputs do not come back (a list that lost its item), a fresh window is made.
    Slot& slot = windows_[className];
    if (slot.window) {
        for (int pass = 0; pass < 3; ++pass) {
            bool same = true;
            for (const auto& [w, value] : std::as_const(slot.opening)) {
                if (inputValue(w) == value)
                    continue;
                same = false;
                QString ignored;
                setInput(w, value, &ignored);
            }
            if (same)
                return slot.window.get();
        }
    }
    slot.window.reset(info.factory(env_, nullptr));
    slot.window->setObjectName(className);
    slot.window->setAttribute(Qt::WA_DontShowOnScreen);
    // The batch records whatever the window says: what it said while opening is kept.
    auto* recorder = dynamic_cast<RecordingDialogs*>(&dialogs());
    const qsizetype before = recorder ? recorder->messages.size() : 0;
    QMetaObject::invokeMethod(slot.window.get(), "activate", Qt::DirectConnection);
    if (recorder)
        slot.openingMessages = recorder->messages.mid(before);
    slot.opening = inputState(slot.window.get());
    return slot.window.get();
}

BatchRunner::BatchRunner(CalculatorEnvironment& env) : env_(env) {}

QWidget* BatchRunner::findInput(QWidget* window, const QString& path, QString* error) {
    if (QWidget* own = ownInput(window, path))
        return own;
    // A plain soil field is the upper (or only) soil frame's, as the window reads it.
    if (auto* calculator = qobject_cast<CalculatorWindow*>(window);
        calculator && calculator->pFrame() && !path.contains(QLatin1Char('.')))
        if (QWidget* field = calculator->pFrame()->findChild<QWidget*>(path))
            return field;
    const QStringList parts = path.split(QLatin1Char('.'));
    QWidget* scope = window;
    for (int i = 0; i < parts.size(); ++i) {
        const QList<QWidget*> found = scope->findChildren<QWidget*>(parts[i]);
        if (found.isEmpty()) {
            *error = u"нет поля "_s + path;
            return nullptr;
        }
        if (found.size() > 1 && i == parts.size() - 1 && !(i == 0 && ownInput(window, path))) {
            *error = u"поле "_s + path + u" неоднозначно: укажите фрейм, например "_s +
                     qualifiedName(window, found[0], found);
            return nullptr;
        }
        scope = found[0];
    }
    return scope;
}

QJsonObject BatchRunner::outputs(QWidget* window) {
    QJsonObject out;
    QList<QWidget*> fields;
    QList<QWidget*> own;
    if (auto* calculator = qobject_cast<CalculatorWindow*>(window))
        for (const GeometryInput& g : calculator->descriptor().geometry)
            if (QWidget* w = calculator->inputWidget(g.name))
                own << w;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        // Range labels show what the inputs admit now.
        if (auto* label = qobject_cast<QLabel*>(w); label && w->objectName().startsWith(QLatin1String("lblRange"))) {
            out.insert(w->objectName(), label->text());
            continue;
        }
        auto* edit = qobject_cast<QLineEdit*>(w);
        auto* plain = qobject_cast<QPlainTextEdit*>(w);
        auto* rich = qobject_cast<QTextEdit*>(w);
        if ((edit && edit->isReadOnly()) || (plain && plain->isReadOnly()) || (rich && rich->isReadOnly()))
            fields << w;
    }
    for (QWidget* w : std::as_const(fields)) {
        QList<QWidget*> namesakes;
        for (QWidget* other : std::as_const(fields))
            if (other->objectName() == w->objectName())
                namesakes << other;
        QString text;
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            text = edit->text();
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
            text = plain->toPlainText();
        else if (auto* rich = qobject_cast<QTextEdit*>(w))
            text = rich->toPlainText();
        // A frame's field never takes the plain name of one of the calculator's own inputs.
        bool shadowed = false;
        for (QWidget* o : std::as_const(own))
            shadowed = shadowed || (o != w && o->objectName() == w->objectName());
        if (shadowed)
            namesakes << w << w;
        out.insert(qualifiedName(window, w, namesakes), text);
    }
    // The calculator's own inputs as they stand after the calculation, derived ones included.
    for (QWidget* w : std::as_const(own))
        if (!out.contains(w->objectName()))
            out.insert(w->objectName(), qobject_cast<QSpinBox*>(w) || qobject_cast<RadioGroup*>(w) ||
                                                qobject_cast<TableRowChoice*>(w) || qobject_cast<RowGrid*>(w)
                                            ? inputValue(w)
                                            : QJsonValue(controlText(w)));
    return out;
}

QJsonObject BatchRunner::runCase(const QJsonValue& value, bool* ran) {
    QJsonObject result;
    *ran = false;
    if (!value.isObject()) {
        result.insert(QStringLiteral("error"), u"случай должен быть объектом JSON"_s);
        return result;
    }
    const QJsonObject c = value.toObject();
    const QString className = c.value(QStringLiteral("calculator")).toString();
    result.insert(QStringLiteral("calculator"), className);
    if (c.contains(QStringLiteral("name")))
        result.insert(QStringLiteral("name"), c.value(QStringLiteral("name")));
    const CalculatorInfo* info = CalculatorRegistry::instance().find(className);
    if (!info || !info->factory) {
        result.insert(QStringLiteral("error"), info ? u"калькулятор "_s + className + u" еще не реализован"_s
                                                    : u"неизвестный калькулятор \""_s + className + u"\""_s);
        return result;
    }
    ScopedRecordingDialogs recorder;
    QDialog* window = windowFor(className, *info);
    // Every case opens the window: what opening says belongs to it, what bringing the window back
    // to its opening state said does not.
    recorder.messages = windows_[className].openingMessages;

    if (c.contains(QStringLiteral("inputs")) && !c.value(QStringLiteral("inputs")).isObject()) {
        result.insert(QStringLiteral("error"),
                      u"поле inputs должно быть объектом JSON: имя поля ввода и его значение"_s);
        return result;
    }

    const QJsonObject inputs = c.value(QStringLiteral("inputs")).toObject();
    struct Pending {
        QWidget* widget;
        QString key;
        int position;
    };
    QList<Pending> pending;
    for (auto it = inputs.begin(); it != inputs.end(); ++it) {
        QString error;
        if (it.key() == sizeSetModeInput()) {
            error = u"режим списка размеров задается кнопками btnAllMat, btnRecMat и btnPosMat"_s;
            result.insert(QStringLiteral("error"), error);
            return result;
        }
        QWidget* w = findInput(window, it.key(), &error);
        if (w && !isUserInput(w))
            error = u"поле "_s + it.key() + u" не является полем ввода"_s;
        if (!error.isEmpty()) {
            result.insert(QStringLiteral("error"), error);
            return result;
        }
        // The calculator's own order first (a construction before its size), whatever the order of
        // the keys; inputs outside it (installation, toolbar) after them, in tab order.
        const auto* calculator = qobject_cast<CalculatorWindow*>(window);
        const qsizetype own = calculator ? calculator->descriptor().inputOrder.indexOf(it.key()) : -1;
        pending.append({w, it.key(), own >= 0 ? int(own) : 1000 + tabPosition(window, w)});
    }
    std::stable_sort(pending.begin(), pending.end(),
                     [](const Pending& a, const Pending& b) { return a.position < b.position; });
    for (const Pending& p : std::as_const(pending)) {
        QString error;
        if (!setInput(p.widget, inputs.value(p.key), &error)) {
            result.insert(QStringLiteral("error"), error);
            result.insert(QStringLiteral("messages"), QJsonArray::fromStringList(recorder.messages));
            return result;
        }
    }
    // Inputs set here are written by the program: the labels that follow them are brought up to
    // date as a history load does.
    if (auto* calculator = qobject_cast<CalculatorWindow*>(window))
        calculator->updateRangeLabels();
    if (!QMetaObject::invokeMethod(window, "Calculate", Qt::DirectConnection, Q_ARG(bool, true))) {
        result.insert(QStringLiteral("error"), u"окно "_s + className + u" не умеет выполнять расчет"_s);
        return result;
    }
    result.insert(QStringLiteral("outputs"), outputs(window));
    result.insert(QStringLiteral("messages"), QJsonArray::fromStringList(recorder.messages));
    *ran = true;
    if (!reportDir_.isEmpty())
        writeReport(window, c.value(QStringLiteral("name")).toString(), result);
    return result;
}

void BatchRunner::writeReport(QDialog* window, const QString& caseName, QJsonObject& result) {
    auto* calculator = qobject_cast<CalculatorWindow*>(window);
    if (!calculator || !calculator->descriptor().report || calculator->EditVS1()->text().isEmpty())
        return;
    // The case's name is the file's: only what a file name may hold.
    QString base = caseName.trimmed();
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar& ch : base)
        if (forbidden.contains(ch) || ch.unicode() < 32)
            ch = QLatin1Char('_');
    if (base.isEmpty() || base == QLatin1String(".") || base == QLatin1String(".."))
        base = calculator->descriptor().className + QLatin1Char('_') + QString::number(++unnamedReports_);
    const QString path = QDir(reportDir_).filePath(base + QStringLiteral(".docx"));
    QString error;
    if (calculator->writeReport(path, &error))
        result.insert(QStringLiteral("report"), path);
    else
        result.insert(QStringLiteral("reportError"), error);
}

QJsonArray BatchRunner::run(const QByteArray& json, bool* allRan) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    QJsonArray results;
    *allRan = true;
    if (parseError.error != QJsonParseError::NoError || !doc.isArray()) {
        QJsonObject r;
        r.insert(QStringLiteral("error"), parseError.error != QJsonParseError::NoError
                                              ? u"ошибка JSON в позиции "_s +
                                                    QString::number(parseError.offset) + u": "_s +
                                                    parseError.errorString()
                                              : u"файл случаев должен содержать массив JSON"_s);
        results.append(r);
        *allRan = false;
        return results;
    }
    for (const QJsonValue& v : doc.array()) {
        bool ran = false;
        results.append(runCase(v, &ran));
        *allRan = *allRan && ran;
        // No event loop runs here: deliver what the windows posted, or the queue grows with
        // every case and each new object pays for scanning it.
        QCoreApplication::sendPostedEvents();
    }
    return results;
}

int runBatchCommand(const QStringList& arguments, CalculatorEnvironment& env) {
    QTextStream err(stderr);
    const int at = arguments.indexOf(QStringLiteral("--batch"));
    const QString casesPath = arguments.value(at + 1);
    const int outAt = arguments.indexOf(QStringLiteral("--out"));
    const QString outPath = outAt >= 0 ? arguments.value(outAt + 1) : QString();
    const int reportsAt = arguments.indexOf(QStringLiteral("--reports"));
    const QString reportsPath = reportsAt >= 0 ? arguments.value(reportsAt + 1) : QString();
    if (casesPath.isEmpty() || (outAt >= 0 && outPath.isEmpty()) || (reportsAt >= 0 && reportsPath.isEmpty())) {
        err << u"вызов: kelvorzu2 --batch СЛУЧАИ.json [--out РЕЗУЛЬТАТЫ.json] [--reports ПАПКА]\n"_s;
        return 2;
    }
    if (reportsAt >= 0 && !QDir().mkpath(reportsPath)) {
        err << u"не удается создать папку "_s << reportsPath << '\n';
        return 2;
    }
    QFile in(casesPath);
    if (!in.open(QIODevice::ReadOnly)) {
        err << u"не удается прочитать "_s << casesPath << '\n';
        return 2;
    }
    BatchRunner runner(env);
    runner.setReportDir(reportsPath);
    bool allRan = false;
    const QByteArray json = QJsonDocument(runner.run(in.readAll(), &allRan)).toJson(QJsonDocument::Indented);
    if (outPath.isEmpty()) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly))
            return 2;
        out.write(json);
    } else {
        QFile out(outPath);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(json) != json.size()) {
            err << u"не удается записать "_s << outPath << '\n';
            return 2;
        }
    }
    return allRan ? 0 : 1;
}

} // namespace kz
