#include "FrameFixture.h"

#include "core/common/Paths.h"

#include <QDir>
#include <QFile>

using namespace kz;

FrameTables::FrameTables() {
    const QDir built(QStringLiteral(KELVOR_BIN_DIR "/Data"));
    QDir copy(dir_.path());
    if (!dir_.isValid() || !copy.mkdir(QStringLiteral("Data")))
        return;
    ok_ = true;
    for (const QString& file : built.entryList(QDir::Files))
        ok_ = ok_ && QFile::copy(built.filePath(file), copy.filePath(QStringLiteral("Data/") + file));
    setApplicationFolder(dir_.path());
    data_ = std::make_unique<DataModule>();
    data_->openAll(openMessages);
    ok_ = ok_ && openMessages.messages.isEmpty();
}

FrameTables::~FrameTables() {
    data_->closeAll();
    data_.reset();
    setApplicationFolder(QStringLiteral(KELVOR_BIN_DIR));
}

bool FrameTables::addSoil(const QString& name, const QString& pmin, const QString& pmax,
                        const QString& pdefault) {
    DataTable& soils = table("P_udel.DB");
    return soils.append() && soils.setText(QStringLiteral("Grunt"), name) &&
           soils.setText(QStringLiteral("PMin"), pmin) && soils.setText(QStringLiteral("PMax"), pmax) &&
           soils.setText(QStringLiteral("PDefault"), pdefault) && soils.post();
}

bool FrameTables::removeSoil(const QString& name) {
    DataTable& soils = table("P_udel.DB");
    return soils.locate(QStringLiteral("Grunt"), name) && soils.remove();
}

bool FrameTables::setSteps(const QString& minValue, const QString& inc1, const QString& inc2,
                         const QString& inc3) {
    DataTable& steps = table("ro_inc.db");
    for (steps.first(); !steps.eof(); steps.next()) {
        if (steps.text(QStringLiteral("MinValue")) != minValue)
            continue;
        return steps.edit() && steps.setText(QStringLiteral("Inc1"), inc1) &&
               steps.setText(QStringLiteral("Inc2"), inc2) && steps.setText(QStringLiteral("Inc3"), inc3) &&
               steps.post();
    }
    return false;
}
