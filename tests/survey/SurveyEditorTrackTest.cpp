#include <gtest/gtest.h>

#include "survey/SurveyEditor.h"

namespace velkor {
namespace {

using EditorTrackFormat = SurveySettings::Track::Format;

TEST(SurveyEditorTrack, ATrackGivenTwiceIsRefusedOnlyWhenTheChangeRepeatsIt) {
    SurveySettings before;
    before.tracks.push_back({"/data/walk.gpx", EditorTrackFormat::Gpx, 7200.0});
    SurveySettings next = before;
    next.tracks.push_back({"/data/walk.nmea", EditorTrackFormat::Nmea, 7200.0});
    EXPECT_EQ(SurveyEditor::refusal(before, next), "");
    // The same walk at another offset is still the same walk, and the same path
    // written another way the same file.
    next.tracks.push_back({"/data/./walk.gpx", EditorTrackFormat::Gpx, 0.0});
    EXPECT_EQ(SurveyEditor::refusal(before, next),
              "walk.gpx is a position track of the survey already.");
    // A repeat already in the file is not this change's doing.
    SurveySettings repeated = next;
    SurveySettings later = repeated;
    later.datum = 47000.0;
    EXPECT_EQ(SurveyEditor::refusal(repeated, later), "");
    // An offset of ages would date the fixes where no calendar goes.
    later.tracks[0].offset = 1e20;
    EXPECT_EQ(SurveyEditor::refusal(repeated, later),
              "walk.gpx: the offset must be a number of seconds from -2147483647 to 2147483647.");
}

}  // namespace
}  // namespace velkor
