// Correction of the readings for the base station's diurnal variation.
#pragma once

namespace velkor {

class DataSet;
class Prompter;
class VariationSet;

class TemporalCorrection {
  public:
    static constexpr const char* kBigGap =
        "There is a big gap in variations measurement, more then an hour.";
    static constexpr const char* kUncorrected = "There are uncorrected readings in the file";
    static constexpr float kBasisMax = 99000.0f;

    // Corrects every reading not yet corrected that lies strictly inside the samples of
    // its date, with the data set's variations basis. Returns how many it corrected.
    // A reading whose Field, or one of whose two enclosing samples, holds no number is
    // left uncorrected.
    static int run(DataSet& data, const VariationSet& variations, Prompter& prompter);
    // The first of the two samples that enclose the time of day seconds, lying strictly
    // between the samples first and last of one date, as run finds it; a plain scan, for
    // the few readings a run leaves.
    static int enclosingSample(const VariationSet& variations, int first, int last, int seconds);
};

}  // namespace velkor
