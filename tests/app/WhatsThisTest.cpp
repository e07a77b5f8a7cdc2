// What's This answers on every part of the main window, not only on its commands.
#include <QStatusBar>
#include <QToolBar>

#include "AppFixture.h"
#include "core/CommandTable.h"
#include "widgets/day/CGraphView.h"
#include "widgets/day/CVelkor1trView.h"

namespace velkor {

TEST_F(AppFixture, WhatsThisAnswersOnEveryPartOfTheMainWindow) {
    ASSERT_TRUE(start({QString::fromStdString(surveyFile("w.velkor", 3))}));
    frame().dispatch(cmd::Graph);
    const std::vector<QWidget*> parts = {&frame(), frame().findChild<QToolBar*>("toolbar"),
                                         frame().statusBar(), frame().listView(),
                                         frame().graphView()};
    for (QWidget* part : parts) {
        ASSERT_NE(part, nullptr);
        EXPECT_FALSE(part->whatsThis().isEmpty()) << part->metaObject()->className();
    }
}

}  // namespace velkor
