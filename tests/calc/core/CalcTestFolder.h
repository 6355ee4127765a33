#pragma once

#include "store/DataModule.h"
#include "core/common/Messenger.h"
#include "core/common/Paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

// Sets saved by hand in the build's folder are not the test's: a copied history starts empty.
inline void emptyHistory(kz::DataTable& hist) {
    hist.close();
    hist.setFiltered(false);
    if (!hist.open(kz::dataDir()))
        return;
    while (!hist.isEmpty()) {
        hist.first();
        hist.remove();
    }
    hist.close();
}

// The tables as the repository ships them, built once per test program by the data build: a
// test never sees what a user edited in the build's own Data folder.
inline QString checkedInData() {
    static QTemporaryDir dir;
    static const QString data = [] {
        const QString to = dir.filePath(QStringLiteral("Data"));
        QProcess build;
        build.start(QStringLiteral(KELVOR_BIN_DIR "/kelvorzu2-data"),
                    {QStringLiteral(KELVOR_SOURCE_DIR "/data/tables"), to});
        build.waitForFinished(60000);
        return to;
    }();
    return data;
}

// A program folder of its own for a test: the shipped tables and the rendered pictures copied, the
// tables open.
class CalcTestFolder {
public:
    explicit CalcTestFolder(kz::Messenger& messenger) {
        for (const char* sub : {"Data", "Picture"}) {
            const QString from = QLatin1String(sub) == QLatin1String("Data")
                                     ? checkedInData()
                                     : QStringLiteral(KELVOR_BIN_DIR "/") + QLatin1String(sub);
            const QString to = dir_.filePath(QLatin1String(sub));
            QDir().mkpath(to);
            QDirIterator it(from, QDir::Files);
            while (it.hasNext()) {
                it.next();
                const QString target = to + QLatin1Char('/') + it.fileName();
                QFile::copy(it.filePath(), target);
                QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
            }
        }
        kz::setApplicationFolder(dir_.path() + QLatin1Char('/'));
        data = std::make_unique<kz::DataModule>();
        data->openAll(messenger);
        emptyHistory((*data)[QStringLiteral("TableHist1")]);
        (*data)[QStringLiteral("TableHist1")].open(kz::dataDir());
    }
    ~CalcTestFolder() { data.reset(); }

    QString path() const { return dir_.path(); }

    // The column-and-slab foundation grades ship empty (no cited catalogue yet): a test that runs
    // every calculator from its defaults adds one made-up grade to its own copy of the table.
    void addTestFoundationGrade() {
        kz::DataTable& grades = (*data)[QStringLiteral("SbFundTable")];
        if (!grades.isEmpty())
            return;
        grades.insert();
        const char* const values[][2] = {{"Marka", "T-1"},   {"DlinaSt", "3"},  {"DiamSt", "0,4"},
                                         {"DlinaPl", "1,5"}, {"ShirPl", "1,5"}, {"VusPl", "0,5"}};
        for (const auto& v : values)
            grades.setText(QLatin1String(v[0]), QLatin1String(v[1]));
        grades.post();
        grades.first();
    }

private:
    QTemporaryDir dir_;

public:
    std::unique_ptr<kz::DataModule> data;
};
