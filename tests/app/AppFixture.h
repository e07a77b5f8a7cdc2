// A whole program, offscreen, with a recording prompter.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <memory>
#include <string>

#include "app/CMainFrame.h"
#include "app/CVelkor1trApp.h"
#include "app/CVelkor1trDoc.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"

namespace velkor {

class AppFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program with these command-line arguments.
    bool start(const QStringList& args = {});
    // A data file of n readings in the blank-separated layout.
    std::string surveyFile(const std::string& name, int readings);
    static std::string readingLine(int number);
    // Opens a file through Open Data, the way a user would.
    void openData(const std::string& path);
    // Survey > New Survey... saved as survey, then the day opened, added and waited for;
    // whether the survey is ready.
    bool newSurveyWith(const std::string& survey, const std::string& day);

    CMainFrame& frame() { return *app->mainFrame(); }
    CVelkor1trDoc& doc() { return *app->document(); }
    std::string caption() { return frame().windowTitle().toStdString(); }

    TempDir dir;
    RecordingPrompter prompter;
    std::unique_ptr<CVelkor1trApp> app;
};

}  // namespace velkor
