#include "compose/WindowWidths.h"

namespace tarvelo {

namespace {
// Up to this outer width the log stays narrow; beyond it the log keeps 12 pixels of margin
// and the 368 of its left edge out of the width.
constexpr int kNarrowLogUpTo = 400;
constexpr int kLogWidthLess = 380;
}  // namespace

MainWindowSize MainWindowSizeFor(int outerWidth) {
    if (outerWidth < kMainMinimumOuterWidth) {
        return {kMainMinimumOuterWidth, kMainOuterHeight, kNarrowLogWidth};
    }
    if (outerWidth <= kNarrowLogUpTo) {
        return {outerWidth, kMainOuterHeight, kNarrowLogWidth};
    }
    const int logWidth = outerWidth - kLogWidthLess;
    return {outerWidth, kMainOuterHeight, logWidth, true};
}

}  // namespace tarvelo
