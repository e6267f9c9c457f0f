// The one way an error raised inside an event handler reaches the user.
#pragma once

#include <exception>
#include <string>

#include "base/Error.h"

class QMessageBox;

namespace tarvelo {

// Shows text (UTF-8) in a message box titled with the application's title; returns when the
// user has closed it.
void ShowErrorBox(const std::string& text);

// Gives a box the look of that one: the application's title, plain text in the windows' font
// with fallbacks, and room for the whole title. For a box that asks rather than tells.
void StyleMessageBox(QMessageBox& box);

// Runs one handler body. An Error raised inside is shown in a message box and the rest of the
// body is skipped; nothing escapes into Qt's signal machinery, so the program goes on.
template <class Body>
void RunHandler(Body&& body) noexcept {
    try {
        body();
    } catch (const Error& error) {
        ShowErrorBox(error.what());
    } catch (const std::exception& error) {
        // Anything else is a fault of ours, but the user's work stays on screen all the same.
        ShowErrorBox(error.what());
    }
}

}  // namespace tarvelo
