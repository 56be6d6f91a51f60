#include "code_page.h"

namespace mokuro {

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t extra = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + extra >= s.size()) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(s[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return false;
    }
    i += extra + 1;
  }
  return true;
}

CodePage CodePageOf(std::string_view bytes) { return IsValidUtf8(bytes) ? CodePage::Utf8 : CodePage::ShiftJis; }

std::string InCodePageOf(std::string_view bytes, std::string_view utf8) { return FromUtf8(utf8, CodePageOf(bytes)); }

}  // namespace mokuro
