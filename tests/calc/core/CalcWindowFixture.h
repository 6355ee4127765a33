#pragma once

#include "CalcTestFolder.h"
#include "widgets/selection/SelectionSettingsDialog.h"
#include "store/DataTable.h"
#include "widgets/common/DialogService.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <memory>

// A calculator window opened on a program folder of its own, shown and active as a user sees it,
// and the ways a user changes its inputs. Window tests derive from it beside QObject and call
// open() and close() from their init() and cleanup().
template <class Window> class CalcWindowFixture {
protected:
    void open() {
        rec_ = std::make_unique<kz::ScopedRecordingDialogs>();
        folder_ = std::make_unique<CalcTestFolder>(*rec_);
        QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
        win_ = std::make_unique<Window>(*folder_->data);
        win_->show();
        QApplication::setActiveWindow(win_.get());
        QVERIFY(QTest::qWaitForWindowActive(win_.get()));
    }
    void close() {
        win_.reset();
        folder_.reset();
        rec_.reset();
    }

    template <class T> T* find(const char* name) {
        T* w = win_->template findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qWarning("no %s", name);
        return w;
    }
    // Inputs as the window names them: its own first, a frame's as "Frame.Name".
    QLineEdit* edit(const char* name) { return input<QLineEdit>(name); }
    QComboBox* combo(const char* name) { return input<QComboBox>(name); }
    template <class T> T* input(const char* name) {
        auto* w = qobject_cast<T*>(win_->inputWidget(QString::fromLatin1(name)));
        if (!w)
            qWarning("no input %s", name);
        return w;
    }
    QToolButton* tool(const char* name) { return find<QToolButton>(name); }
    void score() { QTest::mouseClick(tool("btnScore"), Qt::LeftButton); }

    // Replaces an input's text by keystrokes (keys the input refuses do not arrive).
    void type(QLineEdit* e, const QString& text) {
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
        if (text.isEmpty())
            QTest::keyClick(e, Qt::Key_Backspace);
        else
            QTest::keyClicks(e, text);
    }
    void clear(QLineEdit* e) { type(e, QString()); }
    void choose(QComboBox* c, const QString& text) {
        const int i = c->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        c->setCurrentIndex(i);
    }
    // Automatic calculation on (the toolbar toggle pressed down).
    void autoOn() {
        auto* b = win_->template findChild<QToolButton*>(QStringLiteral("btnAutoScore"));
        QVERIFY(b);
        if (!b->isChecked())
            QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY(b->isChecked());
    }
    // What the selection-settings dialog was handed and found, when the toolbar opens it.
    struct SettingsHandOver {
        int kind = 0;
        QString name;
        QString located; // Param of the row it stands on
    };
    void answerSettingsDialog(SettingsHandOver& seen) {
        rec_->onModal = [&seen](QDialog* dialog) {
            auto* form = qobject_cast<kz::SelectionSettingsDialog*>(dialog);
            if (!form)
                return int(QDialog::Rejected);
            seen.kind = form->handOverKind();
            seen.name = form->handOverName();
            form->show();
            seen.located = form->table(seen.kind) ? form->table(seen.kind)->asString(QStringLiteral("Param"))
                                                  : QString();
            form->hide();
            return int(QDialog::Accepted);
        };
    }

    QString focused() const {
        QWidget* f = QApplication::focusWidget();
        return f ? f->objectName() : QString();
    }

    std::unique_ptr<kz::ScopedRecordingDialogs> rec_;
    std::unique_ptr<CalcTestFolder> folder_;
    std::unique_ptr<Window> win_;
};
