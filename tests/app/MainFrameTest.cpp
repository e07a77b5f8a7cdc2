#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <filesystem>
#include <set>

#include "AppFixture.h"
#include "app/CAboutDlg.h"
#include "app/HelpWindow.h"
#include "app/LockIndicators.h"
#include "app/SettingsKeys.h"
#include "app/WindowPlacement.h"
#include "core/CommandTable.h"
#include "data/DataFile.h"
#include "export/ExportFile.h"
#include "widgets/day/CVelkor1trView.h"

namespace velkor {
namespace {

class MainFrameTest : public AppFixture {
  protected:
    std::set<int> enabledIds() {
        std::set<int> on;
        for (const Command& c : CommandTable::commands()) {
            EXPECT_EQ(frame().action(c.id)->isEnabled(), frame().isCommandEnabled(c.id));
            if (frame().action(c.id)->isEnabled()) {
                on.insert(c.id);
            }
        }
        return on;
    }

    void drop(const std::string& path) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        // A drop reaches the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&frame(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame(), &event);
    }
};

const std::set<int> kAlwaysOn{
    cmd::Import,    cmd::OpenData,    cmd::OpenVariations, cmd::PrintPreview, cmd::PrintSetup,
    cmd::Exit,      cmd::ViewToolbar, cmd::ViewStatusBar,  cmd::HelpTopics,   cmd::About,
    cmd::Delete,    cmd::Help,        cmd::ContextHelp,    cmd::PrintDirect,  cmd::CommSetup,
    cmd::NewSurvey, cmd::OpenSurvey};

}  // namespace

TEST_F(MainFrameTest, EnableRulesAtStartAndAfterALoad) {
    ASSERT_TRUE(start());
    EXPECT_EQ(caption(), "Untitled - Velkor2tr");
    EXPECT_EQ(enabledIds(), kAlwaysOn);
    EXPECT_TRUE(frame().action(cmd::ViewToolbar)->isChecked());
    EXPECT_TRUE(frame().action(cmd::ViewStatusBar)->isChecked());
    EXPECT_EQ(frame().statusBar()->findChild<QLabel*>("ready")->text(), "For Help, press F1");
    // Offscreen nobody reports the keyboard locks: the panes are left out.
    EXPECT_FALSE(frame().lockIndicators()->available());
    EXPECT_EQ(frame().statusBar()->findChildren<QLabel*>().size(), 1);

    // A greyed command does not run, whichever way it is asked for.
    frame().dispatch(cmd::SaveAs);
    EXPECT_TRUE(prompter.asked.empty());

    openData(surveyFile("a.velkor", 5));
    std::set<int> loaded = kAlwaysOn;
    loaded.insert({cmd::SaveAs, cmd::ExportField, cmd::ExportGradient, cmd::ExportAuto,
                   cmd::DataList, cmd::Graph, cmd::Print, cmd::Geomagnetic, cmd::UndoDelete,
                   cmd::Map});
    EXPECT_EQ(enabledIds(), loaded);

    doc().data().variationsLoaded = true;
    doc().data().temporalDone = true;
    frame().updateCommandStates();
    loaded.insert({cmd::VariationsList, cmd::Temporal, cmd::ExportCorrected, cmd::CorrectedValues});
    EXPECT_EQ(enabledIds(), loaded);

    frame().dispatch(cmd::ViewToolbar);
    EXPECT_TRUE(frame().toolBar()->isHidden());
    EXPECT_FALSE(frame().action(cmd::ViewToolbar)->isChecked());
    frame().dispatch(cmd::ViewStatusBar);
    EXPECT_TRUE(frame().statusBar()->isHidden());
    EXPECT_FALSE(frame().action(cmd::ViewStatusBar)->isChecked());
}

TEST_F(MainFrameTest, TitleAfterOpenDataAndSaveAs) {
    ASSERT_TRUE(start());
    openData(surveyFile("day1.velkor", 3));
    EXPECT_EQ(caption(), "day1 - Velkor2tr");
    EXPECT_EQ(prompter.asked.back(), "open:Velkor2tr files (*.velkor)|*.velkor||:velkor");

    const std::string target = dir.path("saved.velkor");
    prompter.files.push_back(target);
    frame().dispatch(cmd::SaveAs);
    EXPECT_EQ(caption(), target + " - Velkor2tr");
    EXPECT_EQ(TempDir::read(target), TempDir::read(dir.path("day1.velkor")));

    // Data List while the list is shown only sets the title again.
    frame().dispatch(cmd::DataList);
    EXPECT_EQ(caption(), target + " - Velkor2tr");
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(MainFrameTest, TheStatusBarSaysWhatWasWrittenAndWhere) {
    ASSERT_TRUE(start());
    std::string bytes = "M header\r\n";
    for (int i = 1; i <= 6; ++i) {
        std::string line = readingLine(i);
        line[0] = i == 5 ? 'G' : 'S';
        bytes += line + "\r\n";
    }
    openData(dir.write("day.velkor", bytes));
    const auto status = [this] { return frame().statusBar()->currentMessage().toStdString(); };

    const std::string saved = dir.path("saved.velkor");
    prompter.files.push_back(saved);
    frame().dispatch(cmd::SaveAs);
    EXPECT_EQ(status(), "Saved to " + saved);

    // The header line is not a reading; the count is what the file holds.
    const std::string field = dir.path("day.f");
    prompter.files.push_back(field);
    frame().dispatch(cmd::ExportField);
    EXPECT_EQ(status(), "Exported 6 readings to " + field);
    const std::string gradient = dir.path("day.g");
    prompter.files.push_back(gradient);
    frame().dispatch(cmd::ExportGradient);
    EXPECT_EQ(status(), "Exported 1 reading to " + gradient);
    const std::string base = dir.path("day.a");
    prompter.files.push_back(base);
    frame().dispatch(cmd::ExportAuto);
    EXPECT_EQ(status(), "Exported 0 readings to " + base);
    EXPECT_EQ(prompter.shown.back().text, ExportFile::kNothing);

    // Nothing written, nothing confirmed: a cancelled dialog, a write that fails.
    frame().dispatch(cmd::ExportGradient);
    EXPECT_EQ(status(), "");
    prompter.files.push_back(dir.path("missing/saved.velkor"));
    frame().dispatch(cmd::SaveAs);
    EXPECT_EQ(status(), "");
    EXPECT_EQ(prompter.shown.back().text, DataFile::kWriteError);
    prompter.files.push_back(dir.path("missing/day.f"));
    frame().dispatch(cmd::ExportField);
    EXPECT_EQ(status(), "");
    EXPECT_EQ(caption(), saved + " - Velkor2tr");
}

TEST_F(MainFrameTest, CancelledOrFailedOpenChangesNothing) {
    ASSERT_TRUE(start());
    openData(surveyFile("first.velkor", 5));
    doc().setModified(true);
    const auto lines = doc().data().lines();

    // Cancel at the save prompt: no file dialog at all.
    prompter.asked.clear();
    prompter.saveAnswers.push_back(Prompter::Answer::Cancel);
    openData(surveyFile("second.velkor", 2));
    EXPECT_EQ(prompter.asked, (std::vector<std::string>{"save:first"}));
    prompter.files.clear();

    // No at the prompt, then Cancel in the file dialog.
    prompter.saveAnswers.push_back(Prompter::Answer::No);
    frame().dispatch(cmd::OpenData);

    // No again, then a file that cannot be read.
    prompter.saveAnswers.push_back(Prompter::Answer::No);
    openData(dir.path("missing.velkor"));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Read error"}));

    EXPECT_EQ(doc().data().lines(), lines);
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(caption(), "first - Velkor2tr");
    EXPECT_EQ(frame().listView()->model()->rowCount(), 5);
    EXPECT_TRUE(frame().action(cmd::SaveAs)->isEnabled());
}

TEST_F(MainFrameTest, YesAtTheSavePromptSavesFirst) {
    ASSERT_TRUE(start());
    openData(surveyFile("first.velkor", 5));
    frame().listView()->selectRow(0);
    frame().dispatch(cmd::Delete);
    ASSERT_TRUE(doc().isModified());

    const std::string keep = dir.path("kept.velkor");
    prompter.saveAnswers.push_back(Prompter::Answer::Yes);
    prompter.files.push_back(keep);  // the name for the changed data
    openData(surveyFile("second.velkor", 2));
    EXPECT_EQ(doc().data().readingCount(), 2);
    EXPECT_FALSE(doc().isModified());
    DataSet saved;
    ASSERT_TRUE(DataFile::load(keep, saved, prompter));
    EXPECT_EQ(saved.readingCount(), 4);
}

TEST_F(MainFrameTest, CloseWithChanges) {
    ASSERT_TRUE(start());
    openData(surveyFile("first.velkor", 5));
    doc().setModified(true);

    prompter.saveAnswers.push_back(Prompter::Answer::Cancel);
    EXPECT_FALSE(frame().close());
    EXPECT_TRUE(frame().isVisible());

    // Yes with a save dialog that is cancelled keeps the program running too.
    prompter.saveAnswers.push_back(Prompter::Answer::Yes);
    EXPECT_FALSE(frame().close());
    EXPECT_TRUE(frame().isVisible());

    const std::string out = dir.path("closing.velkor");
    prompter.saveAnswers.push_back(Prompter::Answer::Yes);
    prompter.files.push_back(out);
    EXPECT_TRUE(frame().close());
    EXPECT_EQ(TempDir::read(out), TempDir::read(dir.path("first.velkor")));
    EXPECT_EQ(prompter.asked.back(), "save-file:Velkor2tr Files (*.velkor)|*.velkor||:velkor");
}

TEST_F(MainFrameTest, CommandLineAndDroppedFilesOpenAndAreRemembered) {
    const std::string first = surveyFile("cmdline.velkor", 4);
    ASSERT_TRUE(start({QString::fromStdString(first)}));
    EXPECT_EQ(caption(), "cmdline - Velkor2tr");
    EXPECT_EQ(doc().data().readingCount(), 4);

    const std::string second = surveyFile("dropped.velkor", 7);
    doc().setModified(true);
    prompter.saveAnswers.push_back(Prompter::Answer::Cancel);
    drop(second);
    EXPECT_EQ(doc().data().readingCount(), 4);
    EXPECT_EQ(prompter.asked, (std::vector<std::string>{"save:cmdline"}));

    prompter.saveAnswers.push_back(Prompter::Answer::No);
    drop(second);
    EXPECT_EQ(doc().data().readingCount(), 7);
    EXPECT_EQ(caption(), "dropped - Velkor2tr");
    EXPECT_EQ(frame().listView()->model()->rowCount(), 7);

    QCoreApplication::processEvents();  // stored once the program waits for input
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, settings::kOrganization,
                settings::kApplication);
    s.beginGroup(settings::kRecentSection);
    EXPECT_EQ(s.value("File1").toString().toStdString(), second);
    EXPECT_EQ(s.value("File2").toString().toStdString(), first);
    EXPECT_FALSE(s.contains("File3"));
}

TEST_F(MainFrameTest, StartUpWithAnUnreadableFileEnds) {
    EXPECT_FALSE(start({QString::fromStdString(dir.path("missing.velkor"))}));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Read error"}));
    EXPECT_EQ(app->mainFrame(), nullptr);
}

TEST_F(MainFrameTest, KeysReachTheirCommands) {
    ASSERT_TRUE(start());
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));

    prompter.files.push_back(surveyFile("keys.velkor", 5));
    QTest::keyClick(&frame(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(doc().data().readingCount(), 5);

    CVelkor1trView* list = frame().listView();
    list->setFocus();
    list->selectRow(1);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(doc().data().readingCount(), 4);
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(caption(), "keys - Velkor2tr");
}

TEST_F(MainFrameTest, AboutBoxTexts) {
    EXPECT_EQ(CAboutDlg::versionLine(), "Velkor1tr Version 3.1r USB");
    const QString build = CAboutDlg::buildLine();
    // "build Dec  8 2026 04:05:06"
    EXPECT_TRUE(
        QRegularExpression("^build [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}$")
            .match(build)
            .hasMatch())
        << build.toStdString();
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "About Velkor2tr");
    EXPECT_EQ(about.findChild<QLabel*>("version")->text(), CAboutDlg::versionLine());
}

TEST_F(MainFrameTest, NoCommandSaysItIsMissing) {
    ASSERT_TRUE(start());
    for (const Command& c : CommandTable::commands()) {
        if (c.id == cmd::Exit || c.id == cmd::HelpTopics || c.id == cmd::Help ||
            c.id == cmd::ContextHelp || c.id == cmd::About || c.id == cmd::PrintSetup ||
            c.id == cmd::PrintPreview) {
            continue;  // they open windows of their own
        }
        frame().dispatch(c.id);
    }
    for (const std::string& text : prompter.texts()) {
        EXPECT_EQ(text.find("Not available"), std::string::npos) << text;
    }
}

}  // namespace velkor

namespace velkor {

TEST_F(MainFrameTest, HelpOpensAndEveryHelpLinkLeadsToAPage) {
    ASSERT_TRUE(start());
    frame().dispatch(cmd::HelpTopics);
    ASSERT_NE(frame().helpWindow(), nullptr);
    EXPECT_EQ(frame().helpWindow()->currentPage(), "index.html");
    EXPECT_EQ(frame().helpWindow()->pageTitle(), "Velkor2tr Help");
    frame().dispatch(cmd::Help);
    EXPECT_EQ(frame().helpWindow()->currentPage(), "datalist.html");
    EXPECT_EQ(frame().helpWindow()->pageTitle(), "Data list");

    const QDir pages(":/help");
    const QStringList files = pages.entryList({"*.html"});
    EXPECT_GE(files.size(), 15);
    const QRegularExpression link("href=\"([^\"#]+)\"");
    for (const QString& name : files) {
        QFile file(pages.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QString html = QString::fromUtf8(file.readAll());
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_TRUE(files.contains(target))
                << name.toStdString() << " -> " << target.toStdString();
        }
    }
}

}  // namespace velkor

namespace velkor {

TEST_F(MainFrameTest, CtrlKeysReachTheExportsFromTheList) {
    ASSERT_TRUE(start());
    openData(surveyFile("keys.velkor", 5));
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    frame().listView()->setFocus();
    prompter.asked.clear();
    QTest::keyClick(frame().listView(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(frame().listView(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(prompter.asked,
              (std::vector<std::string>{"save-file:Variations files (*.a)|*.a||:a",
                                        "save-file:Magnetic field files (*.f)|*.f||:f"}));
    EXPECT_TRUE(frame().listView()->selectedRowList().empty());  // Ctrl+A selected nothing
}

}  // namespace velkor

namespace velkor {

TEST_F(MainFrameTest, RecentFilesAreRememberedByTheirWholeCanonicalPath) {
    const std::string file = surveyFile("survey.velkor", 3);
    std::filesystem::create_directory(dir.path("sub"));
    std::filesystem::create_symlink(file, dir.path("link.velkor"));
    const std::string canonical = std::filesystem::canonical(file).string();

    // Started inside the folder with the bare name, as "cd w; velkor2tr survey.velkor".
    struct CurrentFolder {
        QString before = QDir::currentPath();
        ~CurrentFolder() { QDir::setCurrent(before); }
    } restore;
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.dir().string())));
    ASSERT_TRUE(start({"survey.velkor"}));
    QCoreApplication::processEvents();  // stored once the program waits for input
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, settings::kOrganization,
                settings::kApplication);
    s.beginGroup(settings::kRecentSection);
    EXPECT_EQ(s.value("File1").toString().toStdString(), canonical);

    // The same file under other spellings stays one entry.
    app->openDropped({"sub/../survey.velkor"});
    app->openDropped({QString::fromStdString(dir.path("link.velkor"))});
    QCoreApplication::processEvents();
    s.sync();
    EXPECT_EQ(s.value("File1").toString().toStdString(), canonical);
    EXPECT_FALSE(s.contains("File2"));
    EXPECT_EQ(app->recentFiles().entries(), std::vector<std::string>{canonical});

    // A file opened just before the program ends is stored all the same.
    const std::string last = surveyFile("last.velkor", 2);
    app->openDropped({QString::fromStdString(last)});
    app.reset();
    s.sync();
    EXPECT_EQ(s.value("File1").toString().toStdString(), last);
}

TEST_F(MainFrameTest, TheWindowComesBackWhereItWasClosed) {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, settings::kOrganization,
                settings::kApplication);
    const auto restart = [this] {
        app.reset();
        app = std::make_unique<CVelkor1trApp>(prompter);
        return start();
    };
    const auto stored = [&s] {
        s.sync();
        s.beginGroup(settings::kWindowSection);
        const QRect r(s.value(settings::kWindowX).toInt(), s.value(settings::kWindowY).toInt(),
                      s.value(settings::kWindowWidth).toInt(),
                      s.value(settings::kWindowHeight).toInt());
        s.endGroup();
        return r;
    };
    ASSERT_TRUE(start());
    EXPECT_EQ(frame().size(), CMainFrame::kFirstSize);

    const QRect placed(40, 50, 700, 500);
    frame().setGeometry(placed);
    ASSERT_TRUE(frame().close());
    EXPECT_EQ(stored(), placed);
    EXPECT_FALSE(
        s.value(QString(settings::kWindowSection) + "/" + settings::kWindowMaximized).toBool());
    ASSERT_TRUE(restart());
    EXPECT_EQ(frame().geometry(), placed);

    // Ended without a close (a signal to end): the place is kept all the same.
    const QRect moved(60, 30, 640, 480);
    frame().setGeometry(moved);
    ASSERT_TRUE(restart());
    EXPECT_EQ(frame().geometry(), moved);

    // Maximized comes back maximized, over the place it had before.
    frame().showMaximized();
    ASSERT_TRUE(restart());
    EXPECT_TRUE(frame().isMaximized());
    EXPECT_EQ(frame().normalGeometry(), moved);

    // A place on a screen that is gone, or a size of nothing, gives the first size.
    for (const QRect& lost :
         {QRect(5000, 40, 700, 500), QRect(-690, 40, 700, 500), QRect(40, 50, 0, 500)}) {
        app.reset();
        s.beginGroup(settings::kWindowSection);
        s.setValue(settings::kWindowX, lost.x());
        s.setValue(settings::kWindowY, lost.y());
        s.setValue(settings::kWindowWidth, lost.width());
        s.setValue(settings::kWindowHeight, lost.height());
        s.setValue(settings::kWindowMaximized, false);
        s.endGroup();
        s.sync();
        ASSERT_TRUE(restart());
        EXPECT_EQ(frame().size(), CMainFrame::kFirstSize) << lost.x();
        EXPECT_NE(frame().pos(), lost.topLeft());
    }
}

TEST(WindowPlacementTest, EnoughOfTheWindowMustLieOnOneScreen) {
    const QList<QRect> two{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_TRUE(WindowPlacement(QRect(100, 100, 980, 640), false).fitsOn(two));
    EXPECT_TRUE(WindowPlacement(QRect(2200, 300, 980, 640), false).fitsOn(two));
    // Half off the left edge still leaves plenty to grab.
    EXPECT_TRUE(WindowPlacement(QRect(-490, 100, 980, 640), false).fitsOn(two));
    // Where the second screen was unplugged, or a sliver of the first.
    EXPECT_FALSE(WindowPlacement(QRect(2200, 300, 980, 640), false).fitsOn({two.front()}));
    EXPECT_FALSE(WindowPlacement(QRect(1900, 100, 980, 640), false).fitsOn({two.front()}));
    EXPECT_FALSE(WindowPlacement(QRect(100, 1060, 980, 640), false).fitsOn({two.front()}));
    EXPECT_FALSE(WindowPlacement(QRect(100, 100, 0, 640), true).fitsOn(two));
    EXPECT_FALSE(WindowPlacement(QRect(100, 100, 980, 640), false).fitsOn({}));
}

}  // namespace velkor
