// UTF-8 to and from the UTF-16 of the W functions, for the Windows sides of the platform layers
// and the Win32 windows. Windows builds only.
#pragma once

#include <string>
#include <string_view>

namespace tarvelo {

std::wstring WideFromUtf8(std::string_view utf8);

std::string Utf8FromWide(std::wstring_view wide);

}  // namespace tarvelo
