#include "qr_list.h"

#include <gtest/gtest.h>

namespace tpgservice {
namespace {

using Numbers = std::vector<std::int64_t>;

TEST(tpgserviceQrList, ReadsNumbersAndRanges) {
    EXPECT_EQ(parseQrList("1,3,5..8,10"), (Numbers{1, 3, 5, 6, 7, 8, 10}));
    EXPECT_EQ(parseQrList(" 1, 2 ,  3 "), (Numbers{1, 2, 3}));
    EXPECT_EQ(parseQrList("3,1..4"), (Numbers{1, 2, 3, 4}));
    EXPECT_EQ(parseQrList("5..5"), (Numbers{5}));
    EXPECT_EQ(parseQrList("007"), (Numbers{7}));
    EXPECT_EQ(parseQrList(""), Numbers{});
}

TEST(tpgserviceQrList, RefusesWhatIsNoList) {
    for (const char* bad : {"1,,2", ",1", "1,", "8..5", "1...3", "a", "-2..1", "1..100000"}) {
        EXPECT_FALSE(parseQrList(bad)) << bad;
    }
    EXPECT_TRUE(parseQrList("1..500"));
    EXPECT_FALSE(parseQrList("1..500,501"));
}

} // namespace
} // namespace tpgservice
