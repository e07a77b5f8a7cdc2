// A base source's path too long for its column is cut at its start: the file's name shows.
#include <gtest/gtest.h>

#include <QTableWidget>

#include "support/RecordingPrompter.h"
#include "survey/SurveySettings.h"
#include "widgets/survey/DlgSurveySettings.h"

namespace velkor {

TEST(SurveySettingsElide, ABasePathCutShowsItsFileName) {
    RecordingPrompter prompter;
    SurveySettings s;
    const std::string path =
        "/home/surveyor/seasons/2026/north-field/base-station/downloads/week-base.a";
    s.baseSources.push_back(SurveySettings::BaseSource(path, 0));
    DlgSurveySettings dialog(s, prompter);
    const QTableWidget* table = nullptr;
    for (const QTableWidget* t : dialog.findChildren<QTableWidget*>()) {
        for (int row = 0; row < t->rowCount(); ++row) {
            for (int column = 0; column < t->columnCount(); ++column) {
                const QTableWidgetItem* item = t->item(row, column);
                if (item != nullptr && item->text().endsWith("week-base.a")) {
                    table = t;
                }
            }
        }
    }
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->textElideMode(), Qt::ElideLeft);
}

}  // namespace velkor
