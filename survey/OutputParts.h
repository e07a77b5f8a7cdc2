// The files an output of the survey is made of: a GIS or grid file with the sidecars GDAL
// writes beside it for its format, any other output its one file. Every one of them is
// held against the survey's own files before anything is written.
#pragma once

#include <string>
#include <vector>

#include "survey/ContourFile.h"
#include "survey/GridFile.h"
#include "survey/SurveyExport.h"
#include "survey/SurveySettings.h"

namespace velkor {

class OutputParts {
  public:
    static std::vector<std::string> of(const std::string& out, SurveyExport::Format format);
    static std::vector<std::string> of(const std::string& out, GridFile::Format format);
    static std::vector<std::string> of(const std::string& out, ContourFile::Format format);
    // The first of the files that is the survey file or one of its days or base sources;
    // empty when there is none.
    static std::string ownedBy(const SurveySettings& settings,
                               const std::vector<std::string>& files,
                               const std::string& surveyPath);
};

}  // namespace velkor
