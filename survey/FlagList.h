// Setting and clearing the flags of a survey's settings, and the flags its days no
// longer hold. A flag follows its reading by its line text (see FlagMatch).
#pragma once

#include <string>
#include <vector>

#include "survey/Survey.h"
#include "survey/SurveySettings.h"

namespace velkor {

class FlagList {
  public:
    // Flags reading (its data line number) of the day whose path is file, keyed with the
    // reading's line text as the survey has it now; a flag it had is replaced. False and
    // a message when the survey has no such day or reading, or the word is blank.
    static bool set(SurveySettings& settings, const Survey& survey, const std::string& file,
                    int reading, const std::string& word, std::string& message);
    // The same for survey reading r (as Survey::reading numbers it).
    static void set(SurveySettings& settings, const Survey& survey, int r, const std::string& word);
    // Takes away the flag of that reading of that day; false when it had none.
    static bool clear(SurveySettings& settings, const std::string& file, int reading);
    // Gives every flag whose reading an edit of its day has moved that reading's number
    // now; stale flags stay as they are.
    static void follow(SurveySettings& settings, const Survey& survey);

    // The flags whose reading is no longer there: its day gone from the survey, or its
    // line text gone from the day's file.
    static std::vector<SurveySettings::Flag> stale(const SurveySettings& settings,
                                                   const Survey& survey);
    // Takes the stale flags out of settings and moves the others with their readings; the
    // warning naming those taken out, empty when none.
    static std::string dropStale(SurveySettings& settings, const Survey& survey);
    // "2 flags match no reading, their lines are gone from their files: day1.velkor reading
    // 12 (spike), ..." for the survey's own stale flags; empty for none.
    static std::string staleNote(const Survey& survey);
    // "2 flags dropped, their readings have changed: day1.velkor reading 12 (spike),
    // day1.velkor reading 40 (manual)"; empty for none.
    static std::string warning(const std::vector<SurveySettings::Flag>& dropped);
};

}  // namespace velkor
