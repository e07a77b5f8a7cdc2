#include <gtest/gtest.h>

#include "serial/LineMode.h"

namespace velkor {

TEST(LineMode, ReadsTheShortForm) {
    EXPECT_EQ(LineMode::parse("4800,n,8,1"), (LineMode{4800, 'n', 8, 1}));
    EXPECT_EQ(LineMode::parse("9600,E,7,2"), (LineMode{9600, 'e', 7, 2}));
    EXPECT_EQ(LineMode::parse("300, o, 5, 1"), (LineMode{300, 'o', 5, 1}));
    EXPECT_EQ(LineMode::parse("1200,m,8,1")->parity, 'm');
    EXPECT_EQ(LineMode::parse("1200,s,8,1")->parity, 's');
    for (const char* bad : {"", ",n,8,1", "4800,n,8", "4800,x,8,1", "4800,n,9,1", "4800,n,8,3",
                            "fast,n,8,1", "4800,n,8,1,0", "-4800,n,8,1", "4800,nn,8,1"}) {
        EXPECT_FALSE(LineMode::parse(bad).has_value()) << bad;
    }
}

}  // namespace velkor
