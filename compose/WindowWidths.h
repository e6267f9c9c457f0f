// The main window's resize rule as plain numbers: its outer height is fixed, its outer width
// has a minimum, and the debug log, whose left edge stays put, takes what is left of the width.
#pragma once

namespace tarvelo {

inline constexpr int kMainOuterHeight = 367;
inline constexpr int kMainMinimumOuterWidth = 365;
inline constexpr int kLogLeft = 368;
// The log's width while the window is too narrow to show it.
inline constexpr int kNarrowLogWidth = 20;

struct MainWindowSize {
    int outerWidth = 0;
    int outerHeight = 0;
    int logWidth = 0;
    bool logWraps = false;  // the log wraps its lines at its width: whenever it is in sight
};

// From the outer width the window system gives: below 365 it snaps back to 365, up to 400
// the log is 20 pixels wide, beyond that it is the outer width less 380 and wraps its lines.
MainWindowSize MainWindowSizeFor(int outerWidth);

}  // namespace tarvelo
