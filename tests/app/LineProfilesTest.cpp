#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <vector>

#include "AppFixture.h"
#include "core/CommandTable.h"
#include "survey/Survey.h"
#include "survey/SurveyFile.h"
#include "widgets/survey/LineProfileWidget.h"
#include "widgets/survey/LineProfilesWindow.h"
#include "widgets/survey/SurveySession.h"

namespace velkor {
namespace {

using P = LineProfilePainter;

class LineProfilesTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(start());
        // The week with spikes put in: the spike finder has candidates to show.
        ASSERT_TRUE(newSurveyWith(file, std::string(VELKOR_SAMPLES) + "/week-spikes.velkor"));
        ASSERT_TRUE(frame().action(cmd::LineProfiles)->isEnabled());
        frame().dispatch(cmd::LineProfiles);
        ASSERT_NE(frame().lineProfiles(), nullptr);
        window().resize(1000, 620);
        QApplication::processEvents();  // laid out at its size before anything is measured
    }
    SurveySession& session() { return frame().survey(); }
    LineProfilesWindow& window() { return *frame().lineProfiles(); }
    LineProfileWidget& view() { return *window().view(); }
    P::Scales scales() { return view().painter().scales(view().area(), P::kScreenEm); }
    QPoint at(const LineProfileSet::Point& p) {
        const P::Scales s = scales();
        return {P::x(s, p.position), P::y(s, p.value(view().painter().value()))};
    }
    const std::vector<SurveySettings::Flag>& flags() {
        return session().survey()->settings().flags;
    }
    // The survey file as written after the last change.
    std::vector<SurveySettings::Flag> savedFlags() {
        std::string message;
        const std::optional<SurveySettings> saved = SurveyFile::read(file, message);
        return saved ? saved->flags : std::vector<SurveySettings::Flag>{};
    }

    std::string file = dir.path("week.vsurvey");
};

}  // namespace

TEST_F(LineProfilesTest, AClickFlagsAndUnflagsAReadingAndARangeBoxFlagsWhatLiesOutside) {
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().lineChooser()->count(), 40);  // lines 1 to 40; the base station has none
    EXPECT_EQ(window().lineChooser()->currentText(), "Line 1 (80)");
    EXPECT_EQ(window().preparePrinting(), 10);
    // The spike finder's candidates are there to review from the start.
    EXPECT_FALSE(window().candidates().empty());
    EXPECT_TRUE(view().painter().candidate(window().candidates().front()));

    // A click flags the reading by hand, keyed by its day, reading number and line text.
    const LineProfileSet::Point target = view().painter().set().line(0).points[7];
    QTest::mouseClick(&view(), Qt::LeftButton, {}, at(target));
    session().wait();
    const Survey& survey = *session().survey();
    const Survey::Reading g = survey.reading(target.reading);
    const std::string& day = survey.day(g.day).path;
    const std::string text(survey.day(g.day).data.line(g.line));
    const std::vector<SurveySettings::Flag> one{{day, g.line, text, "manual"}};
    EXPECT_EQ(flags(), one);
    EXPECT_EQ(savedFlags(), one);
    ASSERT_NE(view().painter().set().point(target.reading), nullptr);
    EXPECT_EQ(view().painter().set().point(target.reading)->word, "manual");
    EXPECT_EQ(window().lineChooser()->currentIndex(), 0);

    // A second click clears it.
    QTest::mouseClick(&view(), Qt::LeftButton, {}, at(target));
    session().wait();
    EXPECT_TRUE(flags().empty());
    EXPECT_TRUE(savedFlags().empty());

    // A box over the middle of the values, found between readings a nT or more apart: every
    // reading above or below it is flagged.
    window().showLine(4);
    std::vector<float> values;
    for (const LineProfileSet::Point& p : view().painter().set().line(4).points) {
        values.push_back(p.value(P::Value::Field));
    }
    std::sort(values.begin(), values.end());
    const auto gapNear = [&values](std::size_t from, int direction) {
        std::size_t i = from;
        while (values[i + 1] - values[i] < 1.0f) {
            i += direction;
        }
        return i;
    };
    const std::size_t below = gapNear(values.size() / 5, 1);
    const std::size_t above = gapNear(values.size() * 4 / 5, -1);
    ASSERT_LT(below, above);
    const double lo = (values[below] + values[below + 1]) / 2.0;
    const double hi = (values[above] + values[above + 1]) / 2.0;
    const P::Scales s = scales();
    QTest::mousePress(&view(), Qt::LeftButton, {}, {s.frame.left + 2, P::y(s, hi)});
    QTest::mouseMove(&view(), {s.frame.right / 2, P::y(s, lo)});
    QTest::mouseRelease(&view(), Qt::LeftButton, {}, {s.frame.right - 2, P::y(s, lo)});
    session().wait();
    const std::size_t outside = (below + 1) + (values.size() - above - 1);
    ASSERT_EQ(flags().size(), outside);
    EXPECT_TRUE(std::all_of(flags().begin(), flags().end(),
                            [](const SurveySettings::Flag& f) { return f.word == "manual"; }));
    for (const LineProfileSet::Point& p : view().painter().set().line(4).points) {
        const float v = p.value(P::Value::Field);
        EXPECT_EQ(p.flagged(), v < lo || v > hi) << p.reading;
    }
    EXPECT_EQ(savedFlags().size(), outside);
    EXPECT_EQ(window().shownLine(), 4);

    QTest::mouseClick(window().unflagShown(), Qt::LeftButton);
    session().wait();
    EXPECT_TRUE(flags().empty());
    EXPECT_TRUE(savedFlags().empty());
}

TEST_F(LineProfilesTest, CandidatesAreTakenAsSpikesOneByOneOrAllAtOnce) {
    const std::vector<LineProfileSet::Point>& points = view().painter().set().line(0).points;
    const LineProfileSet::Point first = points[3];
    const LineProfileSet::Point second = view().painter().set().line(2).points[30];
    window().setCandidates({second.reading, first.reading});
    ASSERT_TRUE(view().painter().candidate(first.reading));

    // Reviewed line by line: the second candidate's line comes up in its turn.
    QTest::mouseClick(window().nextCandidate(), Qt::LeftButton);
    EXPECT_EQ(view().painter().current(), first.reading);
    EXPECT_EQ(window().shownLine(), 0);
    QTest::mouseClick(window().nextCandidate(), Qt::LeftButton);
    EXPECT_EQ(view().painter().current(), second.reading);
    EXPECT_EQ(window().shownLine(), 2);
    EXPECT_EQ(window().readout().left(15).toStdString(), "Candidate 2 of ");
    QTest::mouseClick(window().nextCandidate(), Qt::LeftButton);
    EXPECT_EQ(window().shownLine(), 0);

    QTest::mouseClick(&view(), Qt::LeftButton, {}, at(first));
    session().wait();
    ASSERT_EQ(flags().size(), 1u);
    EXPECT_EQ(flags()[0].word, "spike");

    ASSERT_TRUE(window().takeCandidates()->isEnabled());
    QTest::mouseClick(window().takeCandidates(), Qt::LeftButton);
    session().wait();
    ASSERT_EQ(flags().size(), 2u);
    EXPECT_EQ(flags()[1].word, "spike");
    EXPECT_EQ(view().painter().set().point(second.reading)->word, "spike");
    EXPECT_EQ(window().readout().toStdString(), "1 reading flagged spike");
}

}  // namespace velkor
