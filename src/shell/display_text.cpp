#include "display_text.h"

#include <iconv.h>

#include <cerrno>
#include <string_view>

namespace mokuro {
namespace {

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

// Converts with iconv, replacing what can't be converted by `replacement` and going on.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view replacement) {
  const iconv_t cd = iconv_open(to, from);
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
      // Skip one input character: a byte of CP932 input, or one UTF-8 sequence.
      std::size_t skip = 1;
      if (std::string_view(from) == "UTF-8") {
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

DisplayCodec DisplayCodec::For(const std::string& bytes) {
  return DisplayCodec(IsValidUtf8(bytes) ? Page::Utf8 : Page::Cp932);
}

QString DisplayCodec::Decode(const std::string& bytes) const {
  if (page_ == Page::Utf8) return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  const std::string utf8 = Convert("UTF-8", "CP932", bytes, "\xEF\xBF\xBD");
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string DisplayCodec::Encode(const QString& text) const {
  const QByteArray utf8 = text.toUtf8();
  if (page_ == Page::Utf8) return utf8.toStdString();
  return Convert("CP932", "UTF-8", std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), "?");
}

QString ToDisplay(const std::string& bytes) { return DisplayCodec::For(bytes).Decode(bytes); }

}  // namespace mokuro
