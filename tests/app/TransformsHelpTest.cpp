// The Transforms help page explains every transform the window and the tool offer.
#include <gtest/gtest.h>

#include <QFile>
#include <QString>

#include "transforms/GridTransform.h"

namespace velkor {

TEST(TransformsHelp, ThePageExplainsEveryTransform) {
    QFile file(":/help/transforms.html");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(file.readAll());
    for (int k = 0; k < GridTransform::kKinds; ++k) {
        const char* name = GridTransform::name(static_cast<GridTransform::Kind>(k));
        EXPECT_TRUE(page.contains(QString("<b>%1</b>").arg(name))) << name;
    }
    QFile index(":/help/index.html");
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(index.readAll()).contains("href=\"transforms.html\""));
}

}  // namespace velkor
