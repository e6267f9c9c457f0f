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
        {0, {365, 367, 20, false}},      {300, {365, 367, 20, false}}, {364, {365, 367, 20, false}},
        {365, {365, 367, 20, false}},    {400, {400, 367, 20, false}}, {401, {401, 367, 21, true}},
        {539, {539, 367, 159, true}},    {540, {540, 367, 160, true}}, {685, {685, 367, 305, true}},
        {1920, {1920, 367, 1540, true}},
    };
    for (const Row& row : rows) {
        const MainWindowSize size = MainWindowSizeFor(row.outerWidth);
        EXPECT_EQ(size.outerWidth, row.expected.outerWidth) << row.outerWidth;
        EXPECT_EQ(size.outerHeight, row.expected.outerHeight) << row.outerWidth;
        EXPECT_EQ(size.logWidth, row.expected.logWidth) << row.outerWidth;
        EXPECT_EQ(size.logWraps, row.expected.logWraps) << row.outerWidth;
    }
}

}  // namespace
}  // namespace tarvelo
