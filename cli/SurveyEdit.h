// The survey file as velkor2tr-cli survey reads and changes it. A change is saved by the
// survey's edit rules (SurveyEditor, as the window follows them): a base source given twice
// is refused, the changed survey must open (every file and number in it usable), flags whose
// readings a changed day no longer holds are dropped and named, and only then is the file
// written over, the result told on stdout and a new base source that meets no reading's date
// named; when any step fails the file is left as it was.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "survey/Survey.h"
#include "survey/SurveyFileLock.h"
#include "survey/SurveySettings.h"

namespace velkor {

class SurveyEdit {
  public:
    SurveyEdit(std::ostream& out, std::ostream& err);

    // The survey file's settings, read to be changed: the file is held from here until this
    // object goes (see SurveyFileLock), so that no other change comes between the reading
    // and the saving. Nothing after the message when it cannot be read.
    std::optional<SurveySettings> read(const std::string& path);
    // The survey of a survey file, or of settings read already; nothing after the message.
    std::optional<Survey> open(const std::string& path);
    std::optional<Survey> open(const std::optional<SurveySettings>& settings);
    // Saves next over the survey file at path: 0, or 1 after the message with the file
    // untouched. saved, when given, takes the survey as saved; when it holds a survey
    // already (the one this command opened), that one is changed to next instead of
    // opening every day again.
    int save(const std::string& path, const SurveySettings& next,
             std::optional<Survey>* saved = nullptr);
    // 0 when out is none of the survey's own files (the survey file, its days and base
    // sources); else 2 after saying so.
    int checkOut(const std::string& out, const std::string& surveyPath,
                 const SurveySettings& settings);
    // The same for every file of an output (it and the sidecars of its format), naming the
    // first that is one of the survey's own.
    int checkOut(const std::vector<std::string>& files, const std::string& surveyPath,
                 const SurveySettings& settings);
    // Names on err the survey's flags whose lines are gone from their files: a command
    // that uses the flags never passes over them in silence.
    static void tellStale(const Survey& survey, std::ostream& err);

  private:
    // The survey file's line after a change: days, readings, base sources.
    void tell(const std::string& path, const Survey& survey);

    std::ostream& out_;
    std::ostream& err_;
    std::optional<SurveyFileLock> held_;
};

}  // namespace velkor
