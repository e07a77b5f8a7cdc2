// The survey's windows open inside the screen's available area.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>

#include "AppFixture.h"
#include "core/CommandTable.h"
#include "widgets/shared/WindowFit.h"
#include "widgets/survey/LineProfilesWindow.h"
#include "widgets/survey/SurveySession.h"
#include "widgets/survey/SurveyWindow.h"

namespace velkor {
namespace {

// The window, its frame allowance and all, lies on its screen's available area; one that
// cannot shrink to its width (the test screen is small) at least from its left edge.
::testing::AssertionResult inside(const QWidget& window) {
    const QRect available = window.screen()->availableGeometry();
    QRect framed = window.geometry().marginsAdded(WindowFit::kFrame);
    if (window.minimumSizeHint().width() + WindowFit::kFrame.left() + WindowFit::kFrame.right() >
        available.width()) {
        framed.setWidth(available.right() - framed.left() + 1);
    }
    if (available.contains(framed)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "window " << framed.x() << "," << framed.y() << " " << framed.width() << "x"
           << framed.height() << " on " << available.width() << "x" << available.height();
}

}  // namespace

TEST(WindowFit, TheWantedSizeWhereItFitsCutAndCentredWhereNot) {
    const QRect wide(0, 0, 1920, 1040);
    EXPECT_EQ(WindowFit::placed({1100, 680}, wide).size(), QSize(1100, 680));
    const QRect small(0, 24, 1000, 700);  // a panel across the top
    const QRect cut = WindowFit::placed({1100, 680}, small);
    EXPECT_TRUE(small.contains(cut.marginsAdded(WindowFit::kFrame)));
    EXPECT_EQ(cut.height(), 700 - WindowFit::kFrame.top() - WindowFit::kFrame.bottom());
    EXPECT_EQ(cut.width(), 1000 - WindowFit::kFrame.left() - WindowFit::kFrame.right());
    // Wider than the screen at its smallest: its left edge and title bar on the screen.
    const QRect large = WindowFit::placed({1100, 680}, small, {1200, 300});
    EXPECT_EQ(large.topLeft(),
              small.topLeft() + QPoint(WindowFit::kFrame.left(), WindowFit::kFrame.top()));
    EXPECT_EQ(large.width(), 1200);
}

class SurveyWindowsFitTest : public AppFixture {};

TEST_F(SurveyWindowsFitTest, TheSurveyAndLineProfilesWindowsOpenInsideTheScreen) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(
        newSurveyWith(dir.path("week.vsurvey"), std::string(VELKOR_SAMPLES) + "/week.velkor"));
    ASSERT_NE(frame().surveyWindow(), nullptr);
    EXPECT_TRUE(inside(*frame().surveyWindow()));
    frame().dispatch(cmd::LineProfiles);
    ASSERT_NE(frame().lineProfiles(), nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(inside(*frame().lineProfiles()));
}

}  // namespace velkor
