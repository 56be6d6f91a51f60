#pragma once

#include <cstddef>
#include <string_view>

namespace mokuro {

// Case rules for the ASCII letters only: the user's texts are bytes in a code page whose
// multi-byte characters must never change.

inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The text without the blanks (spaces and tabs) at its ends.
inline std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace mokuro
