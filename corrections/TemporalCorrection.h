// Correction of the readings for the base station's diurnal variation.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velkor {

class DataSet;
class Prompter;
class VariationSet;

class TemporalCorrection {
  public:
    static constexpr const char* kBigGap =
        "There is a big gap in variations measurement, more then an hour.";
    static constexpr const char* kUncorrected = "There are uncorrected readings in the file";

    // Corrects every reading not yet corrected that lies strictly inside the samples of
    // its date, with the data set's variations basis. Returns how many it corrected.
    // A reading whose Field, or one of whose two enclosing samples, holds no number is
    // left uncorrected.
    static int run(DataSet& data, const VariationSet& variations, Prompter& prompter);

  private:
    class SampleIndex;

  public:
    // A variation set's samples indexed by date and time: built once, asked for many
    // readings. It keeps what it needs, so the variation set may go once it is made.
    // One sample given as it would stand in a variations file: its Date text, its time
    // of day in seconds, and its value, NaN where the value holds no number.
    struct Sample {
        std::string date;
        int seconds = 0;
        double value = 0.0;
    };

    class Samples {
      public:
        explicit Samples(const VariationSet& variations);
        // Samples read from other files, indexed exactly as the lines of a variations
        // file holding them in this order would be.
        explicit Samples(const std::vector<Sample>& samples);
        ~Samples();
        Samples(Samples&&) noexcept;
        Samples& operator=(Samples&&) noexcept;

      private:
        friend class TemporalCorrection;
        std::unique_ptr<SampleIndex> index_;
    };

    // Whether a reading gets a base-station value, and if not why: the reasons in the
    // order they are told. A base source's outcomes (all but FieldNoNumber) also rank
    // how near it came: a later one got further through the steps.
    enum class Outcome {
        Interpolated,
        NoSample,
        OneSample,
        OutsideSpan,
        EqualTimes,
        FieldNoNumber,
        SampleNoNumber
    };
    struct Base {
        Outcome outcome;
        float value;         // the base-station value at the reading's time, when interpolated
        bool bigGap;         // no inner sample within an hour of the reading
        float field = 0.0f;  // the reading's Field, as outcomeOf read it
    };
    // The base-station value at a date text and a time of day in seconds, exactly as a run
    // finds it for a reading of that date and time.
    static Base interpolate(Samples& samples, std::string_view date, int seconds);
    // What a run makes of data line i, whether or not it has been corrected yet.
    static Base outcomeOf(Samples& samples, const DataSet& data, int i);
    // A reading's corrected value: its field less the base-station value plus the basis,
    // formed in double and rounded once to single precision.
    static float correctedValue(float field, float base, double basis);
};

}  // namespace velkor
