// Values typed for velkor2tr-cli survey.
#include "cli/SurveyValues.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>

#include "text/NumberText.h"

namespace velkor {

std::optional<double> SurveyValues::wholeNumber(const std::string& text) {
    return readWholeNumber(text, WholeNumber::Typed);
}

std::optional<std::vector<double>> SurveyValues::numbers(const std::string& text,
                                                         std::size_t count) {
    std::vector<double> values;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::optional<double> v = wholeNumber(text.substr(from, comma - from));
        if (!v) {
            return std::nullopt;
        }
        values.push_back(*v);
        from = comma + 1;
    }
    if (values.size() != count) {
        return std::nullopt;
    }
    return values;
}

bool SurveyValues::readCrs(const std::string& text, std::optional<int>& epsg) {
    if (text == "none") {
        epsg.reset();
        return true;
    }
    const std::string prefix = "EPSG:";
    if (text.compare(0, prefix.size(), prefix) != 0 || text.size() == prefix.size() ||
        text.size() > prefix.size() + 9 ||
        !std::all_of(text.begin() + prefix.size(), text.end(),
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    epsg = std::stoi(text.substr(prefix.size()));
    return true;
}

bool SurveyValues::readGiven(const std::string& text, bool none, std::optional<double>& value) {
    if (text == "default") {
        value.reset();
    } else if (none && text == "none") {
        value = std::numeric_limits<double>::infinity();
    } else if (!text.empty()) {
        const std::optional<double> v = wholeNumber(text);
        if (!v || *v <= 0.0) {
            return false;
        }
        value = v;
    }
    return true;
}

bool SurveyValues::endsIn(const std::string& path, const std::string& extension) {
    std::string e = std::filesystem::path(path).extension().string();
    std::transform(e.begin(), e.end(), e.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return e == extension;
}

std::string SurveyValues::absolute(const std::string& path) {
    return std::filesystem::absolute(path).lexically_normal().string();
}

}  // namespace velkor
