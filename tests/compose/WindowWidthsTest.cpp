#include "compose/WindowWidths.h"

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

TEST(MainWindowSizeFor, SnapsNarrowWindowsAndSizesTheLog) {
    struct Row {
        int outerWidth;
        MainWindowSize expected;
    };
    const Row rows[] = {
        {0, {365, 367, 20}},    {300, {365, 367, 20}},     {364, {365, 367, 20}},
        {365, {365, 367, 20}},  {400, {400, 367, 20}},     {401, {401, 367, 21}},
        {685, {685, 367, 305}}, {1920, {1920, 367, 1540}},
    };
    for (const Row& row : rows) {
        const MainWindowSize size = MainWindowSizeFor(row.outerWidth);
        EXPECT_EQ(size.outerWidth, row.expected.outerWidth) << row.outerWidth;
        EXPECT_EQ(size.outerHeight, row.expected.outerHeight) << row.outerWidth;
        EXPECT_EQ(size.logWidth, row.expected.logWidth) << row.outerWidth;
    }
}

}  // namespace
}  // namespace tarvelo
