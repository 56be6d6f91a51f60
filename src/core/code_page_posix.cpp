#include <iconv.h>

#include <cerrno>

#include "code_page.h"

namespace mokuro {
namespace {

const char* IconvName(CodePage page) { return page == CodePage::Utf8 ? "UTF-8" : "CP932"; }

// Converts with iconv, putting `replacement` for what can't be converted and going on.
std::string Convert(CodePage to, CodePage from, std::string_view in, std::string_view replacement) {
  const iconv_t cd = iconv_open(IconvName(to), IconvName(from));
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  char buffer[4096];
  auto* src = const_cast<char*>(in.data());
  std::size_t left = in.size();
  while (left > 0) {
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    const std::size_t rc = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out.append(replacement);
      // Past one input character: a byte of Shift_JIS, or a whole UTF-8 sequence.
      std::size_t skip = 1;
      if (from == CodePage::Utf8) {
        while (skip < left && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) ++skip;
      }
      src += skip;
      left -= skip;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string ToUtf8(std::string_view bytes, CodePage page) {
  if (page == CodePage::Utf8 && IsValidUtf8(bytes)) return std::string(bytes);
  return Convert(CodePage::Utf8, page, bytes, "\xEF\xBF\xBD");
}

std::string FromUtf8(std::string_view utf8, CodePage page) {
  if (page == CodePage::Utf8 && IsValidUtf8(utf8)) return std::string(utf8);
  return Convert(page, CodePage::Utf8, utf8, "?");
}

}  // namespace mokuro
