// The survey window's map as a surveyor reads it: equalised colours unless other limits
// are chosen, the flag named where the pointer rests, and the profiles' review of spike
// candidates from the line shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <algorithm>

#include "AppFixture.h"
#include "core/CommandTable.h"
#include "survey/FlagEdit.h"
#include "survey/Survey.h"
#include "widgets/survey/LineProfileWidget.h"
#include "widgets/survey/LineProfilesWindow.h"
#include "widgets/survey/SurveyGridder.h"
#include "widgets/survey/SurveyMapWidget.h"
#include "widgets/survey/SurveySession.h"
#include "widgets/survey/SurveyWindow.h"

namespace velkor {
namespace {

class SurveyMapChoicesTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(start());
        ASSERT_TRUE(newSurveyWith(dir.path("week.vsurvey"),
                                  std::string(VELKOR_SAMPLES) + "/week-spikes.velkor"));
    }
    SurveySession& session() { return frame().survey(); }
    SurveyWindow& window() { return *frame().surveyWindow(); }
};

}  // namespace

TEST_F(SurveyMapChoicesTest, ColoursAreEqualisedUnlessLimitsAreChosen) {
    EXPECT_EQ(window().stretch()->currentText(), "Equalised");
    EXPECT_EQ(window().gridder().stretch().kind, GridStretch::Kind::Equalised);
    EXPECT_FALSE(window().stretchLow()->isEnabled());
    window().stretchLow()->setValue(-20.0);
    window().stretchHigh()->setValue(60.0);
    window().stretch()->setCurrentIndex(window().stretch()->findText("Limits"));
    EXPECT_TRUE(window().stretchLow()->isEnabled());
    EXPECT_EQ(window().gridder().stretch(),
              GridStretch::Choice(GridStretch::Kind::Limits, -20.0, 60.0));
}

TEST_F(SurveyMapChoicesTest, TheHoverReadoutNamesTheFlag) {
    const Survey& survey = *session().survey();
    session().change(FlagEdit::flagged(survey, {5}, FlagEdit::kManual));
    session().wait();
    emit window().map()->hovered(5);
    EXPECT_NE(window().readout().indexOf("Flagged manual"), -1) << window().readout().toStdString();
    emit window().map()->hovered(6);
    EXPECT_EQ(window().readout().indexOf("Flagged"), -1) << window().readout().toStdString();
}

TEST_F(SurveyMapChoicesTest, NextCandidateStartsAtTheShownLine) {
    frame().dispatch(cmd::LineProfiles);
    LineProfilesWindow& profiles = *frame().lineProfiles();
    const LineProfilePainter& painter = profiles.view()->painter();
    const LineProfileSet& set = painter.set();
    // The candidates' lines, in order.
    std::vector<int> lines;
    for (int k = 0; k < set.lineCount(); ++k) {
        for (const LineProfileSet::Point& p : set.line(k).points) {
            if (painter.candidate(p.reading) && (lines.empty() || lines.back() != k)) {
                lines.push_back(k);
            }
        }
    }
    ASSERT_GE(lines.size(), 2U) << "the week with spikes needs candidates on two lines";
    // Shown: a line past the first candidate's, before the next candidate's line.
    const int shown = lines[0] + 1;
    profiles.lineChooser()->setCurrentIndex(shown);
    profiles.nextCandidate()->click();
    const LineProfileSet::Point* current = set.point(painter.current());
    ASSERT_NE(current, nullptr);
    EXPECT_TRUE(painter.candidate(painter.current()));
    const auto onLine = [&set, current](int k) {
        const auto& points = set.line(k).points;
        return std::any_of(points.begin(), points.end(), [current](const LineProfileSet::Point& p) {
            return p.reading == current->reading;
        });
    };
    EXPECT_TRUE(onLine(lines[1])) << "expected the first candidate at or after line index "
                                  << shown;
}

}  // namespace velkor
