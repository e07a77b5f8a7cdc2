// The document's data set.
#include "data/DataSet.h"

#include <algorithm>
#include <utility>

namespace velkor {

DataSet::DataSet() : corrected_(kCapacity, kNoValue) {
    lines_.reserve(kCapacity);
}

void DataSet::reset() {
    lines_.reserve(kCapacity);
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

void DataSet::replaceLines(std::vector<std::string> lines) {
    if (lines.size() > static_cast<std::size_t>(kCapacity)) {
        lines.resize(kCapacity);
    }
    clearCorrections();
    lines_ = std::move(lines);
    lines_.reserve(kCapacity);
    layout_ = ColumnLayout::chooseFor(lines_.size() > 1 ? std::string_view(lines_[1]) : "");
    dataLoaded = lines_.size() > 1;
}

void DataSet::deleteReading(int k) {
    if (k < 1 || k >= lineCount()) {
        return;
    }
    lines_.erase(lines_.begin() + k);
    // The corrected values stay with their readings.
    corrected_.erase(corrected_.begin() + k);
    corrected_.push_back(kNoValue);
}

void DataSet::insertReading(int k, std::string line, float corrected) {
    if (k < 1 || k > lineCount() || lineCount() >= kCapacity) {
        return;
    }
    lines_.insert(lines_.begin() + k, std::move(line));
    corrected_.insert(corrected_.begin() + k, corrected);
    corrected_.pop_back();  // the last slot lies beyond every line: it holds no value
}

}  // namespace velkor
