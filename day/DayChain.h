// The day's work on one data file, in the order a surveyor does it: load, the base
// station's variations, the basis and the temporal correction, the geomagnetic value (typed
// or from the field model on the first reading's day), the summary and the exports. The
// window's document and the command-line tool both drive this one chain.
#pragma once

#include <optional>
#include <string>

#include "corrections/CorrectionSummary.h"
#include "corrections/GeomagneticModel.h"
#include "corrections/VariationSet.h"
#include "data/DataSet.h"
#include "export/ExportFile.h"

namespace velkor {

class Prompter;

class DayChain {
  public:
    explicit DayChain(Prompter& prompter) : prompter_(prompter) {}

    DataSet& data() { return data_; }
    const DataSet& data() const { return data_; }
    const VariationSet& variations() const { return variations_; }

    // The data file's readings in place of those held; false, with the message told,
    // when it cannot be read (the readings held stay as they were).
    bool load(const std::string& path);
    bool write(const std::string& path);
    // The base station's record; true marks the variations loaded.
    bool loadVariations(const std::string& path);

    // Runs the temporal correction with the basis; returns how many readings it corrected.
    int correctTemporal(float basis);
    // The status line of the last temporal correction that corrected correctedNow.
    std::string temporalStatus(int correctedNow) const;

    // The Date text of the first reading, empty without readings: the day the field model
    // is asked for.
    std::string firstDate() const;
    // F of the field model at the place on the first reading's day, to 0.1 nT; nothing,
    // with the message told, when that day is no date or the model cannot give one.
    std::optional<float> modelFieldOnFirstDay(const GeomagneticModel::Place& place);
    // The geomagnetic field the corrected values are taken from, confirmed.
    void setGeomagnetic(float value);

    // What the corrected export writes and why it leaves the rest out.
    CorrectionSummary summary() const;
    // The export of the given kind; rows tells how many readings it wrote.
    bool exportFile(ExportFile::Kind kind, const std::string& path, int& rows);

  private:
    Prompter& prompter_;
    DataSet data_;
    VariationSet variations_;
};

}  // namespace velkor
