#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <set>
#include <string>

#include "AppFixture.h"
#include "core/CommandTable.h"

namespace velkor {
namespace {

// The menu as the user sees it: texts with their keys, "-" for separators.
std::vector<std::string> menuTexts(const QMenu* menu) {
    std::vector<std::string> out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            out.push_back("-");
        } else if (a->menu() != nullptr) {
            out.push_back(a->text().toStdString() + ">");
        } else {
            std::string text = a->text().toStdString();
            if (!a->shortcut().isEmpty()) {
                text += "\t" + a->shortcut().toString(QKeySequence::PortableText).toStdString();
            }
            out.push_back(text);
        }
    }
    return out;
}

class CommandTableTest : public AppFixture {};

}  // namespace

TEST(CommandTable, EveryIdOnceWithItsRule) {
    std::set<int> ids;
    for (const Command& c : CommandTable::commands()) {
        EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    }
    EXPECT_EQ(ids.size(), 38u);
    EXPECT_EQ(CommandTable::find(cmd::ExportCorrected)->rule, Rule::AnyCorrection);
    EXPECT_STREQ(CommandTable::find(cmd::ZoomOut)->prompt, "Zoom out \nZoom out");
    EXPECT_EQ(CommandTable::find(12345), nullptr);
    for (int id : CommandTable::toolbar()) {
        EXPECT_TRUE(id == 0 || CommandTable::find(id) != nullptr) << id;
    }
}

TEST(CommandTable, EnableRules) {
    CommandState s;
    EXPECT_TRUE(CommandTable::enabled(Rule::Always, s));
    EXPECT_FALSE(CommandTable::enabled(Rule::Print, s));
    s.graphShown = true;
    EXPECT_TRUE(CommandTable::enabled(Rule::Print, s));  // the graph prints even without data
    EXPECT_FALSE(CommandTable::enabled(Rule::ZoomIn, s));
    s.zoomInAllowed = true;
    EXPECT_TRUE(CommandTable::enabled(Rule::ZoomIn, s));
    s.graphShown = false;
    EXPECT_FALSE(CommandTable::enabled(Rule::ZoomIn, s));  // never while the list is shown
    s.dataLoaded = true;
    EXPECT_FALSE(CommandTable::enabled(Rule::DataAndVariations, s));
    s.variationsLoaded = true;
    EXPECT_TRUE(CommandTable::enabled(Rule::DataAndVariations, s));
    EXPECT_FALSE(CommandTable::enabled(Rule::AnyCorrection, s));
    s.geomagDone = true;
    EXPECT_TRUE(CommandTable::enabled(Rule::AnyCorrection, s));
    s.geomagDone = false;
    s.temporalDone = true;
    EXPECT_TRUE(CommandTable::enabled(Rule::AnyCorrection, s));
    EXPECT_FALSE(CommandTable::enabled(Rule::SurveyOpen, s));
    s.surveyOpen = true;
    EXPECT_TRUE(CommandTable::enabled(Rule::SurveyOpen, s));
    EXPECT_TRUE(CommandTable::enabled(Rule::DataAndSurvey, s));
    s.dataLoaded = false;
    EXPECT_FALSE(CommandTable::enabled(Rule::DataAndSurvey, s));
}

TEST_F(CommandTableTest, MenusAndToolbarAreBuiltInOrder) {
    ASSERT_TRUE(start());
    const QList<QAction*> top = frame().menuBar()->actions();
    ASSERT_EQ(top.size(), 5);
    EXPECT_EQ(top[0]->text(), "&File");
    EXPECT_EQ(top[1]->text(), "&View");
    EXPECT_EQ(top[2]->text(), "&Correction");
    EXPECT_EQ(top[3]->text(), "&Survey");
    EXPECT_EQ(top[4]->text(), "&Help");

    EXPECT_EQ(menuTexts(top[0]->menu()),
              (std::vector<std::string>{"&Import...\tCtrl+I", "&Open Data...\tCtrl+O",
                                        "Open V&ariations\tCtrl+B", "-", "&Save As...\tCtrl+S",
                                        "&Export>", "-", "&Print...\tCtrl+P", "Print Pre&view",
                                        "P&rint Setup...", "-", "E&xit"}));
    const QMenu* exportMenu = top[0]->menu()->actions()[5]->menu();
    EXPECT_EQ(menuTexts(exportMenu),
              (std::vector<std::string>{"&Field\tCtrl+F", "&Gradient\tCtrl+G", "&Auto\tCtrl+A", "-",
                                        "&Corrected\tCtrl+C"}));
    EXPECT_EQ(menuTexts(top[1]->menu()),
              (std::vector<std::string>{"&Data List\tCtrl+D", "&Variations List\tCtrl+V",
                                        "&Graph\tCtrl+L", "-", "Zoom &In", "Zoom &Out", "-",
                                        "&Toolbar", "&Status Bar", "-", "&Corrected Values\tCtrl+K",
                                        "&Map\tCtrl+M"}));
    EXPECT_EQ(menuTexts(top[2]->menu()),
              (std::vector<std::string>{"&Temporal...\tCtrl+T", "&Geomagnetic..."}));
    EXPECT_EQ(
        menuTexts(top[3]->menu()),
        (std::vector<std::string>{"&New Survey...", "&Open Survey...", "-",
                                  "&Add Data File to Survey...", "Survey &Settings...",
                                  "&Export Survey...", "&Line Profiles...", "Le&velling..."}));
    EXPECT_EQ(menuTexts(top[4]->menu()),
              (std::vector<std::string>{"&Help Topics", "-", "&About Velkor2tr..."}));

    std::vector<std::string> tips;
    for (QAction* a : frame().toolBar()->actions()) {
        tips.push_back(a->isSeparator() ? "|" : a->toolTip().toStdString());
        EXPECT_TRUE(a->isSeparator() || !a->icon().isNull()) << a->toolTip().toStdString();
    }
    EXPECT_EQ(tips, (std::vector<std::string>{"Import", "Open Data", "Open Variations", "|",
                                              "Save As", "Export Field", "Export Gradient",
                                              "Export Variations", "Export Corrected Field", "|",
                                              "Data List", "Draw Graph", "Zoom In", "Zoom out",
                                              "Variations List", "|", "Print", "About", "Help"}));
    EXPECT_EQ(frame().action(cmd::OpenData)->statusTip(), "Open an existing data file");
    EXPECT_EQ(frame().action(cmd::Delete)->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_EQ(frame().action(cmd::ContextHelp)->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F1));
    for (const Command& c : CommandTable::commands()) {
        EXPECT_FALSE(frame().action(c.id)->whatsThis().isEmpty()) << c.id;
    }
}

}  // namespace velkor

namespace velkor {

TEST_F(CommandTableTest, SmokeOpenDataThroughTheFileMenu) {
    ASSERT_TRUE(start());
    QMenu* file = frame().menuBar()->actions()[0]->menu();
    emit file->aboutToShow();  // the menu refreshes its enable states as it opens
    QAction* openData = file->actions()[1];
    ASSERT_EQ(openData->text(), "&Open Data...");
    prompter.files.push_back(surveyFile("menu.velkor", 3));
    openData->trigger();
    EXPECT_EQ(doc().data().readingCount(), 3);
    emit file->aboutToShow();
    EXPECT_TRUE(file->actions()[4]->isEnabled());  // Save As, now that data is loaded
    EXPECT_EQ(caption(), "menu - Velkor2tr");
}

}  // namespace velkor
