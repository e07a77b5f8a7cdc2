// Undo history of Delete.
#include "data/DeleteHistory.h"

#include "data/DataSet.h"

namespace velkor {

int DeleteHistory::record(const DataSet& data, const std::vector<int>& lines) {
    Step step{{}, data.modified};
    for (int k : lines) {
        if (k >= 1 && k < data.lineCount()) {
            step.removed.push_back({k, std::string(data.line(k)), data.corrected(k)});
        }
    }
    const int count = static_cast<int>(step.removed.size());
    if (count > 0) {
        steps_.push_back(std::move(step));
    }
    return count;
}

int DeleteHistory::undo(DataSet& data) {
    if (steps_.empty()) {
        return 0;
    }
    Step step = std::move(steps_.back());
    steps_.pop_back();
    // In increasing order every line goes back to its old number: the ones before it
    // are already back.
    for (Removed& r : step.removed) {
        data.insertReading(r.line, std::move(r.text), r.corrected);
    }
    data.modified = step.modifiedBefore;
    return static_cast<int>(step.removed.size());
}

void DeleteHistory::saved() {
    for (Step& step : steps_) {
        step.modifiedBefore = true;
    }
}

}  // namespace velkor
