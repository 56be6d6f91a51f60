#include "event_log.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>

namespace mokuro {
namespace {

std::atomic<bool> g_enabled{false};
std::mutex g_mutex;

}  // namespace

void EnableEventLog(bool on) { g_enabled = on; }

bool EventLogEnabled() { return g_enabled; }

void LogEvent(std::string_view text) {
  if (!g_enabled) return;
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  const std::lock_guard lock(g_mutex);
  std::fprintf(stderr, "%s.%03d %.*s\n", stamp, static_cast<int>(ms), static_cast<int>(text.size()), text.data());
  std::fflush(stderr);
}

std::string EscapeForLog(std::string_view bytes, CodePage page) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const std::string utf8 = ToUtf8(bytes, page);
  std::string out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      default:
        if (u < 0x20 || u == 0x7F) {
          out += "\\x";
          out += kHex[u >> 4];
          out += kHex[u & 15];
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string EscapeForLog(std::string_view bytes) { return EscapeForLog(bytes, CodePageOf(bytes)); }

}  // namespace mokuro
