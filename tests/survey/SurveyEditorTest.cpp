#include <gtest/gtest.h>

#include "survey/SurveyEditor.h"

namespace velkor {
namespace {

using BaseFormat = SurveySettings::BaseSource::Format;

TEST(SurveyEditor, ASourceGivenTwiceIsRefusedOnlyWhenTheChangeRepeatsIt) {
    SurveySettings before;
    before.baseSources.push_back({"/data/base.a", 0});
    SurveySettings next = before;
    // Another offset, or another kind of file, is another source.
    next.baseSources.push_back({"/data/base.a", 60});
    next.baseSources.push_back({"/data/base.a", 0, BaseFormat::Csv});
    EXPECT_EQ(SurveyEditor::refusal(before, next), "");
    // The same path written another way is the same file.
    next.baseSources.push_back({"/data/./base.a", 0});
    EXPECT_EQ(SurveyEditor::refusal(before, next),
              "base.a at offset 0 s is a base source of the survey already.");
    // The survey's own readings have no file: twice is twice whatever the path says.
    SurveySettings own = before;
    own.baseSources.push_back({std::string(), 0, BaseFormat::Survey});
    SurveySettings ownTwice = own;
    ownTwice.baseSources.push_back({"x", 0, BaseFormat::Survey});
    EXPECT_EQ(SurveyEditor::refusal(own, ownTwice),
              "The survey's base-station readings are a base source of the survey already.");
    // A repeat written into the file by hand is not refused again at every change after.
    SurveySettings repeated = before;
    repeated.baseSources.push_back({"/data/base.a", 0});
    SurveySettings later = repeated;
    later.datum = 47000.0;
    EXPECT_EQ(SurveyEditor::refusal(repeated, later), "");
    later.baseSources.push_back({"/data/base.a", 0});
    EXPECT_NE(SurveyEditor::refusal(repeated, later), "");
}

}  // namespace
}  // namespace velkor
