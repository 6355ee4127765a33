#pragma once

#include "store/DataModule.h"
#include "widgets/common/DialogService.h"

#include <QTemporaryDir>
#include <memory>

// A private copy of the built data folder, opened in a data module, so that a test may change
// the reference rows the frames read.
class FrameTables {
public:
    FrameTables();
    ~FrameTables();

    bool ok() const { return ok_; }
    kz::DataModule& data() { return *data_; }
    kz::DataTable& table(const char* fileName) { return (*data_)[QString::fromLatin1(fileName)]; }

    bool addSoil(const QString& name, const QString& pmin, const QString& pmax, const QString& pdefault);
    bool removeSoil(const QString& name);
    // Replaces the steps of the ro_inc.db row starting at minValue.
    bool setSteps(const QString& minValue, const QString& inc1, const QString& inc2, const QString& inc3);

    // What opening the tables reported.
    kz::RecordingDialogs openMessages;

private:
    QTemporaryDir dir_;
    std::unique_ptr<kz::DataModule> data_;
    bool ok_ = false;
};
