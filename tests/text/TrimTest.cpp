#include <gtest/gtest.h>

#include "text/Trim.h"

namespace velkor {

// Typed entries and data columns know only spaces; base files and exports count tabs.
TEST(Trim, SpacesAloneOrSpacesAndTabs) {
    EXPECT_EQ(Trim::spaces("  12 5  "), "12 5");
    EXPECT_EQ(Trim::spaces("\t12\t"), "\t12\t");
    EXPECT_EQ(Trim::spacesAndTabs(" \t12\t5 \t"), "12\t5");
    for (const char* blank : {"", " ", "   "}) {
        EXPECT_EQ(Trim::spaces(blank), "") << '"' << blank << '"';
        EXPECT_EQ(Trim::spacesAndTabs(blank), "") << '"' << blank << '"';
    }
    EXPECT_EQ(Trim::spacesAndTabs("\t \t"), "");
}

}  // namespace velkor
