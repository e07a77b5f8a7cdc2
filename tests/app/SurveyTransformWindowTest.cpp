// Grid of > Transform...: the dialog reads its parameters, the map, the summary and the
// printed title block show the transform, a refusal says why, a value takes it away.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "pictures/SurveyTitleBlock.h"
#include "widgets/survey/DlgTransform.h"
#include "widgets/survey/SurveyGridder.h"
#include "widgets/survey/SurveySession.h"
#include "widgets/survey/SurveyWindow.h"

namespace velkor {

TEST_F(AppFixture, TheWindowShowsAndNamesATransformOfItsGrid) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(
        newSurveyWith(dir.path("week.vsurvey"), std::string(VELKOR_SAMPLES) + "/week.velkor"));
    SurveyWindow& w = *frame().surveyWindow();
    w.layerBox(1)->setChecked(true);
    w.gridder().wait();

    DlgTransform dialog(TransformedGridding::Asked(), prompter, &w);
    dialog.kind()->setCurrentIndex(static_cast<int>(GridTransform::Kind::Rtp));
    EXPECT_NE(dialog.explanation()->text().indexOf("remanence"), -1);
    EXPECT_TRUE(dialog.inclination()->isEnabled());
    dialog.inclination()->setText("65");
    std::string message;
    EXPECT_FALSE(dialog.asked(message));
    EXPECT_EQ(message, "Give an inclination with its declination, or neither.");
    dialog.kind()->setCurrentIndex(static_cast<int>(GridTransform::Kind::Dz));
    EXPECT_FALSE(dialog.inclination()->isEnabled());
    dialog.order()->setCurrentIndex(1);  // the half-typed direction, disabled, has no say
    const auto dz = dialog.asked(message);
    ASSERT_TRUE(dz) << message;
    EXPECT_EQ(dz->parameters.order, 2);

    w.setTransform(*dz);
    ASSERT_NE(w.gridPainter(), nullptr);
    const SurveyGridding::Result& shown = *w.gridPainter()->result();
    EXPECT_EQ(shown.unit, "nT/m2");
    EXPECT_EQ(w.stretchLow()->suffix(), " nT/m2");
    EXPECT_EQ(w.gridOf()->currentText(), "Transform...");
    EXPECT_NE(w.summary().indexOf("transform: dz (vertical derivative), second order"), -1)
        << w.summary().toStdString();
    const std::vector<std::string> title = SurveyTitleBlock::lines(
        *frame().survey().survey(), "week", &shown, SurveyMapPainter::Value::Anomaly);
    EXPECT_NE(
        std::find(title.begin(), title.end(), "Transform: dz (vertical derivative), second order"),
        title.end());

    // The week has no coordinate system: no direction from IGRF-14, and no grid shown.
    TransformedGridding::Asked rtp;
    rtp.parameters.kind = GridTransform::Kind::Rtp;
    w.setTransform(rtp);
    EXPECT_EQ(w.gridPainter(), nullptr);
    EXPECT_NE(w.summary().indexOf("No transform: "), -1) << w.summary().toStdString();
    EXPECT_NE(w.summary().indexOf("coordinate system"), -1) << w.summary().toStdString();

    EXPECT_NE(w.readout().indexOf("No transform: "), -1);
    w.setTransform(*dz);
    EXPECT_EQ(w.readout().indexOf("No transform: "), -1) << "an earlier refusal stays told";

    w.gridOf()->setCurrentIndex(0);
    EXPECT_EQ(w.gridPainter(), w.gridder().painter());
    EXPECT_EQ(w.summary().indexOf("transform"), -1);
    EXPECT_EQ(w.stretchHigh()->suffix(), " nT");
}

}  // namespace velkor
