// A source that meets none of the survey's dates is named when it is added, rather than
// leaving every reading uncorrected without a word.
#include "survey/BaseCoverage.h"

#include <optional>
#include <unordered_set>

#include "survey/SourceText.h"
#include "text/CalendarDate.h"

namespace velkor {

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
    std::optional<CalendarDate> first;
    std::optional<CalendarDate> last;
    for (const std::string& text : dates) {
        const std::optional<CalendarDate> d = CalendarDate::read(text);
        if (d && (!first || d->dayNumber() < first->dayNumber())) {
            first = d;
        }
        if (d && (!last || d->dayNumber() > last->dayNumber())) {
            last = d;
        }
    }
    const std::string theirs = first ? first->text() + " to " + last->text() : "no dates";
    const std::string ours = source.span().empty() ? "none" : source.span();
    return SourceText::name(source.path()) + ": its dates (" + ours +
           ") never meet the survey's (" + theirs + ")";
}

}  // namespace velkor
