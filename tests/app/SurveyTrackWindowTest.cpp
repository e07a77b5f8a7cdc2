// The sample week placed by a position track added in the settings dialog: every reading at
// the fix of its moment, and the track drawn under the readings on the map.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <cmath>
#include <map>
#include <string>
#include <utility>

#include "AppFixture.h"
#include "TrackDialogSteps.h"
#include "geo/CoordinateSystem.h"
#include "support/Fixture.h"
#include "support/RecordingSurface.h"
#include "survey/Survey.h"
#include "text/TextFormat.h"
#include "widgets/survey/DlgSurveySettings.h"
#include "widgets/survey/SurveySession.h"

namespace velkor {
namespace {

constexpr int kWeekTrackEpsg = 32632;

// A reading's moment in UTC as GPX writes it; the week was read on a clock at UTC+2.
std::string weekTrackUtc(const Survey& survey, int r) {
    const Survey::Reading g = survey.readingWithoutLatLon(r);
    const DataSet& data = survey.day(g.day).data;
    const std::string date(data.field(g.line, Column::Date));
    const std::string time(data.field(g.line, Column::Time));
    return date.substr(6, 4) + "-" + date.substr(3, 2) + "-" + date.substr(0, 2) + "T" +
           formatText("%02d", std::stoi(time.substr(0, 2)) - 2) + time.substr(2) + "Z";
}

// Each moment of the week a place of its own, about a metre from the next.
using WeekTrackFixes = std::map<std::string, CoordinateSystem::LatLon>;

WeekTrackFixes weekTrackFixes(const Survey& survey) {
    WeekTrackFixes fixes;
    for (int r = 0; r < survey.readingCount(); ++r) {
        const auto k = static_cast<double>(fixes.size());
        fixes.emplace(weekTrackUtc(survey, r),
                      CoordinateSystem::LatLon{48.1 + 1e-5 * std::fmod(k, 400.0),
                                               11.5 + 2e-5 * std::floor(k / 400.0)});
    }
    return fixes;
}

std::string weekTrackGpx(const WeekTrackFixes& fixes) {
    std::string text = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\"><trk><trkseg>\n";
    for (const auto& [utc, at] : fixes) {
        text += formatText("<trkpt lat=\"%.7f\" lon=\"%.7f\"><time>%s</time></trkpt>\n",
                           at.latitude, at.longitude, utc.c_str());
    }
    return text + "</trkseg></trk></gpx>\n";
}

// Counts what is drawn before the first filled rectangle: what lies under the readings.
class WeekTrackSurface : public RecordingSurface {
  public:
    void segment(int x1, int y1, int x2, int y2) override {
        under += fills.empty() ? 1 : 0;
        RecordingSurface::segment(x1, y1, x2, y2);
    }
    int under = 0;
};

}  // namespace

TEST_F(AppFixture, TheWeekIsPlacedByATrackAddedInTheSettingsDialog) {
    ASSERT_TRUE(start());
    const std::string file = dir.path("week.vsurvey");
    ASSERT_TRUE(newSurveyWith(file, Fixture::sample("week.velkor")));
    SurveySession& session = frame().survey();
    EXPECT_TRUE(session.painter().tracks().empty());
    const WeekTrackFixes fixes = weekTrackFixes(*session.survey());
    const int readings = session.survey()->readingCount();

    DlgSurveySettings dialog(session.survey()->settings(), prompter);
    prompter.files.push_back(dir.write("week.gpx", weekTrackGpx(fixes)));
    ASSERT_TRUE(placeByTrackInDialog(dialog, "7200", kWeekTrackEpsg));
    dialog.findChild<QDoubleSpinBox*>("maxGap")->setValue(60.0);
    dialog.accept();
    ASSERT_EQ(dialog.result().tracks.size(), 1u) << testing::PrintToString(prompter.texts());
    ASSERT_TRUE(session.change(dialog.result()));
    session.wait();
    ASSERT_TRUE(session.ready()) << testing::PrintToString(prompter.texts());
    EXPECT_TRUE(prompter.texts().empty()) << testing::PrintToString(prompter.texts());
    EXPECT_NE(TempDir::read(file).find("\"format\": \"gpx\""), std::string::npos);

    const Survey& survey = *session.survey();
    ASSERT_EQ(survey.readingCount(), readings);
    std::string message;
    const auto crs = CoordinateSystem::fromEpsg(kWeekTrackEpsg, message);
    ASSERT_TRUE(crs) << message;
    int misplaced = 0;
    for (int r = 0; r < readings; ++r) {
        const CoordinateSystem::EastNorth want = crs->fromLatLon(fixes.at(weekTrackUtc(survey, r)));
        const Survey::Reading got = survey.readingWithoutLatLon(r);
        misplaced += std::hypot(got.easting - want.easting, got.northing - want.northing) > 0.01;
    }
    EXPECT_EQ(misplaced, 0);

    // The nights between the days are gaps: four lines at the least, drawn before any dot.
    EXPECT_GE(session.painter().tracks().lines().size(), 4u);
    WeekTrackSurface surface;
    session.painter().draw(surface, 1000, 640, SurveyMapPainter::Value::Field);
    EXPECT_GT(surface.under, 100);
    EXPECT_FALSE(surface.fills.empty());
}

}  // namespace velkor
