// Variations file reading and sample fields.
#include "corrections/VariationSet.h"

#include <utility>

#include "core/Prompter.h"
#include "data/LineReader.h"
#include "text/NumberText.h"
#include "text/TimeOfDay.h"

namespace velkor {
namespace {

std::string_view cut(const std::string& line, std::size_t from, std::size_t width) {
    if (from >= line.size()) {
        return {};
    }
    return std::string_view(line).substr(from, width);
}

}  // namespace

std::string VariationSet::tooManyLinesMessage() {
    return "The variations file has more than " + std::to_string(kCapacity) +
           " lines. Velkor2tr holds at most " + std::to_string(kCapacity) +
           " lines of variations; nothing was loaded.";
}

bool VariationSet::load(const std::string& path, Prompter& prompter) {
    auto lines =
        LineReader::readOrSay(path, kCapacity, prompter, kReadError, tooManyLinesMessage());
    if (!lines) {
        return false;
    }
    if (lines->empty()) {
        prompter.message(kEmpty);
        return false;
    }
    lines_ = std::move(*lines);
    path_ = path;
    return true;
}

std::string_view VariationSet::date(int k) const {
    return cut(line(k), 1, 10);
}

int VariationSet::seconds(int k) const {
    return TimeOfDay::ofColumn(cut(line(k), 12, std::string_view::npos));
}

double VariationSet::value(int k) const {
    return readDecimal(cut(line(k), 20, 8));
}

std::optional<double> VariationSet::valueNumber(int k) const {
    return readDecimalNumber(cut(line(k), 20, 8));
}

}  // namespace velkor
