// Any bytes as an IAGA-2002 file: read, or refused with a message naming the file and,
// for a record at fault, its line. What is read never takes a number from a missing-value
// marker, and interpolating between its samples gives finite values only.
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corrections/TemporalCorrection.h"
#include "fuzz/FuzzPrompter.h"
#include "survey/IagaFile.h"
#include "survey/SourceText.h"
#include "text/NumberText.h"
#include "text/Trim.h"

using namespace velkor;

namespace {

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// A marker as the format has it, checked here on its own: five or more 8s or 9s before
// any point.
bool marker(std::string_view word) {
    if (!word.empty() && (word.front() == '-' || word.front() == '+')) {
        word.remove_prefix(1);
    }
    const std::string_view whole = word.substr(0, word.find('.'));
    if (whole.size() < 5) {
        return false;
    }
    for (char c : whole) {
        if (c != whole.front() || (c != '8' && c != '9')) {
            return false;
        }
    }
    return true;
}

// The F of a data record's four words, worked out again from the element letters, the
// components summed in column order.
std::optional<double> expectedF(const std::string& elements,
                                const std::vector<std::string_view>& words) {
    std::string used = "F";
    if (elements.find('F') == std::string::npos) {
        const bool xyz = elements.find('X') != std::string::npos &&
                         elements.find('Y') != std::string::npos &&
                         elements.find('Z') != std::string::npos;
        used = xyz ? "XYZ" : "HZ";
    }
    double sum = 0.0;
    double single = 0.0;
    for (std::size_t k = 0; k < 4; ++k) {
        bool counts = false;
        for (char c : used) {
            counts = counts || elements.find(c) == k;
        }
        if (!counts) {
            continue;
        }
        if (marker(words[3 + k])) {
            return std::nullopt;
        }
        single = *readWholeNumber(words[3 + k], WholeNumber::BaseFile);
        sum += single * single;
    }
    return used.size() == 1 ? single : std::sqrt(sum);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    std::string message;
    const std::optional<IagaFile::Content> content = IagaFile::parse(text, "obs.min", message);
    if (!content) {
        FuzzPrompter::require(
            startsWith(message, "obs.min line ") || startsWith(message, "obs.min: "),
            "a refusal names the file, and the line of a record at fault");
        return 0;
    }
    FuzzPrompter::require(!content->samples.empty() && content->elements.size() == 4,
                          "a file read has samples and four elements");
    // Past the DATE TIME DOY record every record not closed by '|' is a data record, in
    // the order of the samples.
    std::size_t k = 0;
    bool headed = false;
    for (std::string_view line : SourceText::lines(text)) {
        line = Trim::spacesAndTabs(line);
        if (line.empty() || line.back() == '|' || !headed) {
            headed = headed || line.substr(0, 4) == "DATE";
            continue;
        }
        FuzzPrompter::require(k < content->samples.size(), "one sample per data record");
        const std::vector<std::string_view> words = SourceText::words(line);
        const std::optional<double> want = expectedF(content->elements, words);
        const double got = content->samples[k].value;
        FuzzPrompter::require(want ? got == *want : std::isnan(got),
                              "F from its column or its components, never from a marker");
        ++k;
    }
    FuzzPrompter::require(k == content->samples.size(), "as many samples as data records");

    TemporalCorrection::Samples samples(content->samples);
    for (const TemporalCorrection::Sample& s : content->samples) {
        for (int dt : {-1, 1, 30}) {
            const TemporalCorrection::Base b =
                TemporalCorrection::interpolate(samples, s.date, s.seconds + dt);
            FuzzPrompter::require(
                b.outcome != TemporalCorrection::Outcome::Interpolated || std::isfinite(b.value),
                "an interpolated value is a number");
        }
    }
    return 0;
}
