// The readings of one data file, their corrected values and the document's flags.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/ColumnLayout.h"
#include "data/LineBuffer.h"

namespace velkor {

class DataSet {
  public:
    static constexpr int kCapacity = 20000;      // data lines, header included
    static constexpr float kNoValue = 99999.0f;  // corrected-value slot without a value

    DataSet();

    // Start-up state: room for every line, no reading, all flags as for a new document.
    void reset();
    // Replaces the lines with freshly read ones (at most kCapacity) and puts the layout
    // of the new data line 1 in force. Clears the corrections; keeps the variations
    // flag and the modified flag.
    void replaceLines(const std::vector<std::string>& lines);
    void replaceLines(LineBuffer lines);
    // Removes data line k (k >= 1) together with its corrected-value slot.
    void deleteReading(int k);
    // Puts a reading back as data line k (1 <= k <= line count) with its corrected-value
    // slot; the later lines and slots move up by one. Undoes a deletion.
    void insertReading(int k, std::string line, float corrected);
    // Removes these data lines (ascending, each once; the header and lines past the end
    // are left alone) with their corrected-value slots, in one pass.
    void deleteReadings(const std::vector<int>& ascending);

    int lineCount() const { return lines_.count(); }
    int readingCount() const { return lineCount() > 1 ? lineCount() - 1 : 0; }
    std::string_view line(int k) const { return lines_.line(k); }
    // A copy of every line.
    std::vector<std::string> lines() const { return lines_.copies(); }
    const ColumnLayout& layout() const { return layout_; }

    // The text of a column of data line k, exactly as it stands.
    std::string_view field(int k, Column c) const { return layout_.cut(line(k), c); }
    // The mode letter of data line k ('\0' for an empty line).
    char mode(int k) const {
        const std::string_view l = line(k);
        return l.empty() ? '\0' : l[0];
    }

    float corrected(int k) const { return corrected_[static_cast<std::size_t>(k)]; }
    void setCorrected(int k, float value) { corrected_[static_cast<std::size_t>(k)] = value; }

    bool modified = false;
    bool dataLoaded = false;
    bool variationsLoaded = false;
    bool geomagDone = false;
    bool temporalDone = false;
    bool nothingWritten = true;
    float basis = 0.0f;
    float geomag = 0.0f;

  private:
    void clearCorrections();

    LineBuffer lines_;
    std::vector<float> corrected_;
    ColumnLayout layout_;
};

}  // namespace velkor
