// The one way an error raised inside an event handler reaches the user.
#pragma once

#include <exception>
#include <string>

#include "base/Error.h"

namespace tarvelo {

// Shows text (UTF-8) in a message box titled with the application's title; returns when the
// user has closed it.
void ShowErrorBox(const std::string& text);

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
