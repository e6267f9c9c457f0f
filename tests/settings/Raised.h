// The text of the Error that a call raised, so that a table row can say which reason it expects.
#pragma once

#include <functional>
#include <string>

#include "base/Error.h"

namespace tarvelo::testing {

// Empty when call raised nothing.
inline std::string Raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& error) {
        return error.what();
    }
    return {};
}

}  // namespace tarvelo::testing
