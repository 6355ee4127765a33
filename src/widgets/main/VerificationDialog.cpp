#include "widgets/main/VerificationDialog.h"

#include "core/common/Paths.h"
#include "widgets/common/DialogService.h"
#include "widgets/report/ReportExport.h"
#include "report/VerificationReport.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

VerificationDialog::VerificationDialog(DataModule& data, QWidget* parent)
    : QDialog(parent), data_(data), state_(new QLabel(this)), gauge_(new QProgressBar(this)),
      stop_(new QPushButton(u"Остановить"_s, this)), table_(new QTableWidget(0, ColumnCount, this)),
      repeat_(new QPushButton(u"Проверить снова"_s, this)), report_(new QPushButton(u"Отчет..."_s, this)),
      close_(new QPushButton(u"Закрыть"_s, this)) {
    setObjectName(QStringLiteral("VerificationDialog"));
    setWindowTitle(u"Проверка расчетов."_s);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(1250, 650);
    state_->setObjectName(QStringLiteral("lblState"));
    state_->setWordWrap(true);
    gauge_->setObjectName(QStringLiteral("Gauge1"));
    stop_->setObjectName(QStringLiteral("btnStop"));
    table_->setObjectName(QStringLiteral("tableResults"));
    repeat_->setObjectName(QStringLiteral("btnRepeat"));
    report_->setObjectName(QStringLiteral("btnReport"));
    report_->setToolTip(u"Записать отчет о проверке в документ Microsoft Word"_s);
    close_->setObjectName(QStringLiteral("btnClose"));

    table_->setHorizontalHeaderLabels({u"Калькулятор"_s, u"Случай"_s, u"Источник"_s, u"Ожидалось"_s,
                                       u"Получено"_s, u"Отклонение"_s, u"Результат"_s, u"Причина"_s});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(false);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);

    auto* progress = new QHBoxLayout;
    progress->addWidget(gauge_, 1);
    progress->addWidget(stop_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(repeat_);
    buttons->addWidget(report_);
    buttons->addStretch();
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(state_);
    layout->addLayout(progress);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);

    connect(stop_, &QPushButton::clicked, this, &VerificationDialog::stopCases);
    connect(repeat_, &QPushButton::clicked, this, &VerificationDialog::runCases);
    connect(report_, &QPushButton::clicked, this, &VerificationDialog::writeReport);
    connect(close_, &QPushButton::clicked, this, &VerificationDialog::reject);
    gauge_->hide();
    stop_->hide();
    updateButtons();
}

void VerificationDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The cases run once the dialog is on screen, so their progress can be watched.
    if (!ran_ && !running_)
        QTimer::singleShot(0, this, &VerificationDialog::runCases);
}

void VerificationDialog::reject() {
    // Closed while running: the run stops first, then the dialog closes.
    if (running_) {
        stopRequested_ = true;
        closeRequested_ = true;
        return;
    }
    QDialog::reject();
}

void VerificationDialog::runCases() {
    if (running_)
        return;
    running_ = true;
    ran_ = true;
    stopRequested_ = false;
    table_->setRowCount(0);
    state_->setText(u"Проверка расчетов по проверочным случаям..."_s);
    gauge_->setValue(0);
    gauge_->show();
    stop_->show();
    updateButtons();
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    VerificationOptions options;
    options.stopRequested = [this] { return stopRequested_; };
    options.progress = [this, &sinceEvents](int done, int total) {
        gauge_->setMaximum(total);
        gauge_->setValue(done);
        // The window stays alive and the stop button answers between cases.
        if (sinceEvents.elapsed() >= 30) {
            QApplication::processEvents();
            sinceEvents.restart();
        }
    };
    QApplication::setOverrideCursor(Qt::BusyCursor);
    verification_ = verifyTables(data_, verificationDir(), options);
    QApplication::restoreOverrideCursor();
    running_ = false;
    gauge_->hide();
    stop_->hide();
    showRows();
    updateButtons();
    if (closeRequested_) {
        closeRequested_ = false;
        QDialog::reject();
    }
}

void VerificationDialog::showRows() {
    const VerificationRun& run = verification_.run;
    QString state;
    if (!run.problem.isEmpty())
        state = run.problem;
    else if (run.stopped)
        state = u"Проверка остановлена: проверено "_s + QString::number(run.rows.size()) + u" из "_s +
                QString::number(run.total) + u" случаев, не прошли проверку: "_s +
                QString::number(run.failures()) + u"."_s;
    else if (run.failures() == 0)
        state = u"Все "_s + QString::number(run.rows.size()) + u" случаев прошли проверку."_s;
    else
        state = u"Не прошли проверку "_s + QString::number(run.failures()) + u" из "_s +
                QString::number(run.rows.size()) + u" случаев: они отмечены в таблице."_s;
    QStringList changed;
    for (const ReferenceTableState& table : verification_.tables)
        if (table.state != TableState::AsShipped)
            changed << table.fileName + u" ("_s + tableStateText(table.state) + u")"_s;
    if (!changed.isEmpty())
        state += u" Справочные таблицы не в поставленном виде: "_s + changed.join(u", "_s) + u"."_s;
    state_->setText(state);

    // The failing cases first, where the eye falls; each group in the order of the files.
    QList<const VerificationRow*> shown;
    for (const bool passed : {false, true})
        for (const VerificationRow& row : run.rows)
            if (row.passed == passed)
                shown << &row;
    table_->setRowCount(int(shown.size()));
    const QColor failed(255, 205, 205);
    for (int i = 0; i < shown.size(); ++i) {
        const VerificationRow& row = *shown[i];
        const auto deviation = row.deviation();
        const QStringList texts{row.caption,
                                row.name,
                                row.source,
                                row.expectedText(),
                                row.obtainedText(),
                                deviation ? deviationText(*deviation) : QString(),
                                row.passed ? u"пройдена"_s : u"не пройдена"_s,
                                row.failureText()};
        for (int column = 0; column < ColumnCount; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            item->setToolTip(texts[column]);
            if (!row.passed)
                item->setBackground(failed);
            table_->setItem(i, column, item);
        }
    }
    table_->resizeColumnsToContents();
    // Long texts are read in the tooltip: no column pushes the others out of sight.
    for (int column = 0; column < ColumnCount - 1; ++column)
        table_->setColumnWidth(column, std::min(table_->columnWidth(column), 220));
}

void VerificationDialog::updateButtons() {
    repeat_->setEnabled(!running_);
    report_->setEnabled(!running_ && ran_ && !verification_.run.rows.isEmpty());
}

void VerificationDialog::writeReport() {
    if (running_ || verification_.run.rows.isEmpty())
        return;
    const QString path = askReportPath(this, u"Отчет о проверке расчетов"_s, u"Проверка расчетов.docx"_s);
    if (path.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool written = writeVerificationReport(verification_, path, &error);
    QApplication::restoreOverrideCursor();
    if (!written) {
        dialogs().showMessage(error);
        return;
    }
    announceReport(path);
}

} // namespace kz
