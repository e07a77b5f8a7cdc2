// What a surveyor does in the Survey Settings dialog to place a survey by a position track.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "widgets/survey/DlgSurveySettings.h"

namespace velkor {

inline void clickDialogButton(QWidget& dialog, const QString& text) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == text) {
            b->click();
        }
    }
}

// The track the prompter hands over added with this clock offset, the coordinate system
// named and placement by position track chosen; false when the track was not taken.
inline bool placeByTrackInDialog(DlgSurveySettings& dialog, const QString& offset, int epsg) {
    clickDialogButton(dialog, "Add Track...");
    auto* table = dialog.findChild<QTableWidget*>("tracks");
    if (table->rowCount() != 1) {
        return false;
    }
    table->item(0, 2)->setText(offset);
    dialog.findChild<QLineEdit*>("epsg")->setText(QString::number(epsg));
    dialog.findChild<QComboBox*>("placeBy")->setCurrentIndex(3);
    return true;
}

}  // namespace velkor
