// A source that meets none of the survey's dates is named when it is added, rather than
// leaving every reading uncorrected without a word.
#include "survey/BaseCoverage.h"

#include <optional>
#include <unordered_set>

#include "corrections/DecimalYear.h"
#include "survey/SourceText.h"

namespace velkor {
namespace {

long dayNumber(const DecimalYear::Date& d) {
    return (static_cast<long>(d.year) * 12 + d.month) * 31 + d.day;
}

}  // namespace

std::vector<std::string> BaseCoverage::dates(const Survey& survey) {
    std::vector<std::string> out;
    std::unordered_set<std::string> seen;
    for (int d = 0; d < survey.dayCount(); ++d) {
        const DataSet& data = survey.day(d).data;
        for (int i = 1; i <= data.readingCount(); ++i) {
            std::string date(data.field(i, Column::Date));
            if (seen.insert(date).second) {
                out.push_back(std::move(date));
            }
        }
    }
    return out;
}

std::string BaseCoverage::problem(const BaseSource& source, const std::vector<std::string>& dates) {
    if (source.meets(dates)) {
        return {};
    }
    std::optional<DecimalYear::Date> first;
    std::optional<DecimalYear::Date> last;
    for (const std::string& text : dates) {
        const std::optional<DecimalYear::Date> d = DecimalYear::readDate(text);
        if (d && (!first || dayNumber(*d) < dayNumber(*first))) {
            first = d;
        }
        if (d && (!last || dayNumber(*d) > dayNumber(*last))) {
            last = d;
        }
    }
    const auto text = [](const DecimalYear::Date& d) {
        return SourceText::dateText(d.year, d.month, d.day);
    };
    const std::string theirs = first ? text(*first) + " to " + text(*last) : "no dates";
    const std::string ours = source.span().empty() ? "none" : source.span();
    return SourceText::name(source.path()) + ": its dates (" + ours +
           ") never meet the survey's (" + theirs + ")";
}

}  // namespace velkor
