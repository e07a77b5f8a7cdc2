// Printing on a machine without a printer: the reason told, a PDF offered, and a print
// request from the desktop ending at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <fstream>
#include <string>

#include "AppFixture.h"
#include "core/CommandTable.h"
#include "widgets/shared/PrintController.h"
#include "widgets/survey/LineProfilesWindow.h"
#include "widgets/survey/SurveySession.h"
#include "widgets/survey/SurveyWindow.h"

namespace velkor {
namespace {

const auto kNone = [] { return false; };

QPushButton* button(QWidget& window, const QString& text) {
    for (QPushButton* b : window.findChildren<QPushButton*>()) {
        if (b->text() == text) {
            return b;
        }
    }
    return nullptr;
}

std::string head(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(5, '\0');
    in.read(bytes.data(), 5);
    return in.gcount() == 5 ? bytes : std::string();
}

class NoPrinterTest : public AppFixture {
  protected:
    void openSurvey() {
        ASSERT_TRUE(start());
        ASSERT_TRUE(
            newSurveyWith(dir.path("week.vsurvey"), std::string(VELKOR_SAMPLES) + "/week.velkor"));
        prompter.shown.clear();
    }

    // The window's print button on a machine with no printer: the reason told once, then
    // the page written to the PDF file the user names.
    void printWithoutPrinter(QWidget& window, PrintController& printing, const QString& label,
                             const std::string& pdf) {
        printing.setPrinterCheck(kNone);
        prompter.shown.clear();
        prompter.files.push_back(pdf);
        QPushButton* print = button(window, label);
        ASSERT_NE(print, nullptr);
        print->click();
        ASSERT_EQ(prompter.shown.size(), 1U);
        EXPECT_EQ(prompter.shown[0].text, PrintController::kNoPrinter);
        EXPECT_EQ(head(pdf), "%PDF-");
    }
};

}  // namespace

TEST_F(NoPrinterTest, APrintRequestEndsWithTheReasonAndNoWindow) {
    app->setPrinterCheck(kNone);
    const std::string day = std::string(VELKOR_FIXTURES) + "/small.velkor";
    EXPECT_FALSE(start({"--print", QString::fromStdString(day)}));
    EXPECT_TRUE(app->finishedEarly());
    EXPECT_EQ(app->earlyExitCode(), 1);
    EXPECT_EQ(app->earlyMessage().toStdString(), PrintController::kNoPrinter);
    EXPECT_TRUE(prompter.shown.empty()) << testing::PrintToString(prompter.texts());
}

TEST_F(NoPrinterTest, TheSurveyWindowsSayWhyAndPrintToAPdfFile) {
    openSurvey();
    SurveyWindow& survey = *frame().surveyWindow();
    printWithoutPrinter(survey, survey.printing(), "Print...", dir.path("map.pdf"));
    frame().dispatch(cmd::LineProfiles);
    LineProfilesWindow& profiles = *frame().lineProfiles();
    printWithoutPrinter(profiles, profiles.printing(), "P&rint...", dir.path("lines.pdf"));
}

}  // namespace velkor
