#pragma once
// What a calculator window shows beside its inputs, read from its widgets the way a user reads
// them: the texts its session holds (CalculatorSession::outputs).
#include "widgets/calculator/CalculatorWindow.h"
#include "widgets/calculator/RowGrid.h"
#include "widgets/calculator/TableRowChoice.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/frames/SoilFrame.h"
#include "widgets/reference/RadioGroup.h"

#include <QAbstractButton>
#include <QJsonObject>
#include <QJsonValue>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextEdit>

namespace kz::testing {

// Name of a widget qualified, when it has namesakes, by the frame it belongs to ("frmSech1.EditDiam",
// "pFrame1.EditRo"); the upper soil frame's fields keep their plain names.
inline QString qualifiedName(QWidget* window, QWidget* w, const QList<QWidget*>& namesakes) {
    if (namesakes.size() <= 1)
        return w->objectName();
    for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (QLatin1String(p->metaObject()->className()).startsWith(QLatin1String("kz::"))) {
            if (auto* calculator = qobject_cast<CalculatorWindow*>(window);
                calculator && p == static_cast<QWidget*>(calculator->pFrame()) && namesakes.size() == 2 &&
                namesakes[0] != namesakes[1])
                return w->objectName();
            return p->objectName() + QLatin1Char('.') + w->objectName();
        }
    // A frame of no class of its own: its nearest named container.
    for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (!p->objectName().isEmpty() && !p->objectName().startsWith(QLatin1String("qt_")))
            return p->objectName() + QLatin1Char('.') + w->objectName();
    return w->objectName();
}

inline QJsonValue inputValue(QWidget* w) {
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->isChecked();
    if (auto* spin = qobject_cast<QSpinBox*>(w))
        return QString::number(spin->value());
    if (auto* radio = qobject_cast<RadioGroup*>(w))
        return radio->itemText();
    if (auto* row = qobject_cast<TableRowChoice*>(w))
        return row->key();
    if (auto* grid = qobject_cast<RowGrid*>(w))
        return grid->shownText();
    return controlText(w);
}

inline QJsonObject windowOutputs(QWidget* window) {
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
        if (auto* label = qobject_cast<QLabel*>(w);
            label && w->objectName().startsWith(QLatin1String("lblRange"))) {
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
        // The calculator's own inputs take the plain name.
        if (own.contains(w)) {
            out.insert(w->objectName(), controlText(w));
            continue;
        }
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

} // namespace kz::testing
