// The document's data set.
#include "data/DataSet.h"

#include <algorithm>
#include <utility>

namespace velkor {

DataSet::DataSet() : corrected_(kCapacity, kNoValue) {}

void DataSet::reset() {
    clearCorrections();
    dataLoaded = false;
    variationsLoaded = false;
}

void DataSet::clearCorrections() {
    std::fill(corrected_.begin(), corrected_.end(), kNoValue);
    basis = 0.0f;
    geomag = 0.0f;
    geomagDone = false;
    temporalDone = false;
    nothingWritten = true;
}

void DataSet::replaceLines(const std::vector<std::string>& lines) {
    replaceLines(LineBuffer(lines));
}

void DataSet::replaceLines(LineBuffer lines) {
    lines.truncate(kCapacity);
    clearCorrections();
    lines_ = std::move(lines);
    layout_ = ColumnLayout::chooseFor(lineCount() > 1 ? line(1) : std::string_view());
    dataLoaded = lineCount() > 1;
}

void DataSet::deleteReading(int k) {
    deleteReadings({k});
}

void DataSet::deleteReadings(const std::vector<int>& ascending) {
    std::vector<int> valid;
    valid.reserve(ascending.size());
    for (int k : ascending) {
        if (k >= 1 && k < lineCount() && (valid.empty() || k > valid.back())) {
            valid.push_back(k);
        }
    }
    if (valid.empty()) {
        return;
    }
    lines_.erase(valid);
    // The corrected values stay with their readings: the kept slots move up together,
    // and the freed slots at the end are without a value.
    std::size_t kept = 0;
    std::size_t next = 0;
    for (std::size_t k = 0; k < corrected_.size(); ++k) {
        if (next < valid.size() && static_cast<std::size_t>(valid[next]) == k) {
            ++next;
            continue;
        }
        corrected_[kept++] = corrected_[k];
    }
    std::fill(corrected_.begin() + static_cast<std::ptrdiff_t>(kept), corrected_.end(), kNoValue);
}

void DataSet::insertReading(int k, std::string line, float corrected) {
    if (k < 1 || k > lineCount() || lineCount() >= kCapacity) {
        return;
    }
    lines_.insert(k, line);
    corrected_.insert(corrected_.begin() + k, corrected);
    corrected_.pop_back();  // the last slot lies beyond every line: it holds no value
}

}  // namespace velkor
