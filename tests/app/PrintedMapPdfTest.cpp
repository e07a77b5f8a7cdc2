// The survey window's Print to PDF and the tool's `survey plot OUT.pdf` give the same page.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <regex>
#include <string>

#include "AppFixture.h"
#include "core/CommandTable.h"
#include "support/ToolRun.h"
#include "widgets/shared/PngPictureWriter.h"
#include "widgets/shared/PrintController.h"
#include "widgets/survey/SurveyGridder.h"
#include "widgets/survey/SurveySession.h"
#include "widgets/survey/SurveyWindow.h"

namespace velkor {
namespace {

// The page boxes of a PDF, in the order written.
std::string pageBoxes(const std::string& pdf) {
    std::string boxes;
    static const std::regex box(R"(/MediaBox\s*\[[^\]]*\])");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), box); it != std::sregex_iterator();
         ++it) {
        boxes += it->str() + "\n";
    }
    return boxes;
}

class PrintedMapPdfTest : public AppFixture {};

}  // namespace

TEST_F(PrintedMapPdfTest, TheWindowsPdfIsTheToolsPage) {
    ASSERT_TRUE(start());
    const std::string survey = dir.path("week.vsurvey");
    ASSERT_TRUE(newSurveyWith(survey, std::string(VELKOR_SAMPLES) + "/week.velkor"));
    SurveyWindow& w = *frame().surveyWindow();
    w.layerBox(1)->setChecked(true);
    w.layerBox(3)->setChecked(true);
    w.gridder().wait();
    ASSERT_NE(w.gridder().result(), nullptr);

    const std::string printed = dir.path("printed.pdf");
    ASSERT_TRUE(w.printing().printToPdf(w, printed));
    PngPictureWriter pictures;
    const std::string plotted = dir.path("plotted.pdf");
    const ToolRun r =
        tool({"survey", "plot", survey, plotted, "--show", "readings,grid,contours"}, &pictures);
    ASSERT_EQ(r.status, 0) << r.err;

    const std::string a = pageBoxes(TempDir::read(printed));
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a, pageBoxes(TempDir::read(plotted)));
    // One page, turned to the survey's shape.
    EXPECT_EQ(a.find('\n'), a.size() - 1) << a;
    EXPECT_EQ(w.landscape(), std::optional<bool>(a.find("842") < a.find("595")));
}

}  // namespace velkor
