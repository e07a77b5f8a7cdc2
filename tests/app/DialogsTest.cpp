#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QFontMetrics>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "AppFixture.h"
#include "app/HelpWindow.h"
#include "app/QtPrompter.h"
#include "core/CommandTable.h"
#include "core/TransferMonitor.h"
#include "serial/CommSettings.h"
#include "widgets/day/DlgIgrf.h"
#include "widgets/shared/DialogFrame.h"
#include "widgets/shared/WaitCursor.h"

namespace velkor {
namespace {

struct Opener {
    const char* name;
    std::function<void()> open;
};

class DialogsTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(start());
        real.setParentWidget(&frame());
    }

    // Runs open(); once the modal box it shows is up, hands it to inspect and closes it.
    static void whileUp(const std::function<void()>& open,
                        const std::function<void(QWidget&)>& inspect) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (box == nullptr) {
                return;
            }
            seen = true;
            inspect(*box);
            qobject_cast<QDialog*>(box)->reject();
        });
        open();
        EXPECT_TRUE(seen);
    }

    // Every dialog the program shows through its prompter, and the About box.
    std::vector<Opener> dialogs() {
        return {
            {"basis", [this] { real.askValue(Prompter::ValueKind::Basis, 0.0f, ""); }},
            {"geomagnetic", [this] { real.askValue(Prompter::ValueKind::Geomagnetic, 0.0f, ""); }},
            {"variations",
             [this] {
                 real.showVariations("v.a", {"header", "line"});
             }},
            {"device",
             [this] {
                 std::uint32_t index = 0;
                 real.pickDevice({"Velkor"}, index);
             }},
            {"comm setup",
             [this] {
                 CommSettings settings{"", "", 0};
                 real.editCommSettings(settings);
             }},
            {"about", [this] { frame().dispatch(cmd::About); }},
            {"igrf",
             [] {
                 DlgIgrf igrf("", std::nullopt, nullptr);
                 igrf.exec();
             }},
        };
    }

    // Presses F1 in the window and returns the help page then shown, after checking that
    // the help window answers keys while the dialog is up: Escape closes it.
    static std::string pageOnF1(QWidget& window) {
        QWidget* focus = window.focusWidget() != nullptr ? window.focusWidget() : &window;
        QTest::keyClick(focus, Qt::Key_F1);
        HelpWindow* help = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* h = qobject_cast<HelpWindow*>(w); h != nullptr && h->isVisible()) {
                help = h;
            }
        }
        if (help == nullptr) {
            return "(none)";
        }
        const std::string page = help->currentPage().toStdString();
        QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
        return help->isVisible() ? "(blocked) " + page : page;
    }

    QtPrompter real;
};

}  // namespace

TEST_F(DialogsTest, BoxesAndDialogsShowNoWaitCursor) {
    std::vector<Opener> boxes = dialogs();
    boxes.push_back({"message", [this] { real.message("Read error", "Velkor2tr"); }});
    boxes.push_back({"save changes", [this] { real.askSaveChanges("a"); }});
    boxes.push_back({"open file", [this] {
                         real.askOpenFile("Velkor2tr files (*.velkor)|*.velkor||", "velkor");
                     }});
    for (const Opener& o : boxes) {
        if (std::string(o.name) == "igrf") {
            continue;  // opened only from the geomagnetic dialog, which lifted the cursor
        }
        {
            const WaitCursor outer;
            const WaitCursor inner;
            bool cursorShown = true;
            whileUp(o.open,
                    [&](QWidget&) { cursorShown = QApplication::overrideCursor() != nullptr; });
            EXPECT_FALSE(cursorShown) << o.name;
            ASSERT_NE(QApplication::overrideCursor(), nullptr) << o.name;
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor) << o.name;
        }
        // Both guards gave back what they set: the stack is as before.
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << o.name;
    }
}

TEST_F(DialogsTest, AMessageFromADialogStandsOverThatDialog) {
    // As the survey window's Gridding Options tells of a bad number: the box is the
    // dialog's, never the main window's, which would come up over the dialog.
    QDialog dialog(&frame());
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        whileUp([this] { real.message("The tension must be a number from 0 to 1."); },
                [&](QWidget& box) { owner = box.parentWidget(); });
        dialog.reject();
    });
    dialog.exec();
    EXPECT_EQ(owner, &dialog);
}

TEST_F(DialogsTest, F1InEveryDialogOpensItsOwnPage) {
    const std::map<std::string, std::string> pages{{"basis", "valuedialogs.html"},
                                                   {"geomagnetic", "valuedialogs.html"},
                                                   {"variations", "variationslist.html"},
                                                   {"device", "usbdevice.html"},
                                                   {"comm setup", "commsetup.html"},
                                                   {"about", "about.html"},
                                                   {"igrf", "igrf.html"}};
    for (const Opener& o : dialogs()) {
        std::string page;
        whileUp(o.open, [&](QWidget& box) { page = pageOnF1(box); });
        EXPECT_EQ(page, pages.at(o.name)) << o.name;
    }

    // The Transfer window is up while the transfer runs, without a modal loop of its own.
    std::unique_ptr<TransferMonitor> transfer = real.openTransferWindow();
    QWidget* window = QApplication::activeModalWidget();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(pageOnF1(*window), "transfer.html");
}

TEST_F(DialogsTest, EveryDialogShowsItsWholeTitle) {
    const QFontMetrics metrics(QApplication::font());
    const int frameButton = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    std::vector<Opener> boxes = dialogs();
    boxes.push_back({"message", [this] { real.message("Read error", "Velkor2tr"); }});
    boxes.push_back({"save changes", [this] { real.askSaveChanges("a"); }});
    for (const Opener& o : boxes) {
        QString title;
        int width = 0;
        whileUp(o.open, [&](QWidget& box) {
            title = box.windowTitle();
            width = box.width();
        });
        // The title's text and at least the close button beside it.
        EXPECT_GE(width, metrics.horizontalAdvance(title) + frameButton) << o.name;
        EXPECT_GE(width, DialogFrame::titleWidth(title)) << o.name;
    }
    std::unique_ptr<TransferMonitor> transfer = real.openTransferWindow();
    QWidget* window = QApplication::activeModalWidget();
    ASSERT_NE(window, nullptr);
    EXPECT_GE(window->width(), DialogFrame::titleWidth(window->windowTitle()));
}

}  // namespace velkor
