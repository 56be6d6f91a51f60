#pragma once

#include <string_view>

namespace mokuro {

// The adapter's final result codes: every reply ends in one of them.
inline constexpr std::string_view kResultOk = "\r\nOK\r\n";
// For a command the adapter rejects.
inline constexpr std::string_view kResultError = "\r\nERROR\r\n";

}  // namespace mokuro
