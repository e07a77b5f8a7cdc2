// What each Delete removed, so that it can be put back, the last Delete first.
#pragma once

#include <string>
#include <vector>

namespace velkor {

class DataSet;

class DeleteHistory {
  public:
    // Notes data lines (each at least 1 and below the line count, in increasing order)
    // with their corrected-value slots and the modified flag, before they are deleted.
    // Returns how many were noted; a Delete of nothing is no step.
    int record(const DataSet& data, const std::vector<int>& lines);
    // Puts the readings of the last recorded Delete back at their places with their
    // slots and the modified flag they found; returns how many came back.
    int undo(DataSet& data);
    // The data set was replaced: nothing before it can come back.
    void clear() { steps_.clear(); }
    // The data were saved: from now on every undo makes them differ from the file.
    void saved();
    bool empty() const { return steps_.empty(); }

  private:
    struct Removed {
        int line;
        std::string text;
        float corrected;
    };
    struct Step {
        std::vector<Removed> removed;  // in increasing line order
        bool modifiedBefore;
    };
    std::vector<Step> steps_;
};

}  // namespace velkor
