#include "reply_framer.h"

#include <algorithm>

namespace mokuro {
namespace {

constexpr std::string_view kResultCodes[] = {"\r\nOK\r\n", "\r\nERROR\r\n"};

}  // namespace

bool ReplyFramer::Append(std::string_view chunk) {
  const std::size_t oldSize = FReceived.size();
  std::copy_if(chunk.begin(), chunk.end(), std::back_inserter(FReceived), [](char c) { return c != '\0'; });
  if (FReceived.size() == oldSize) return false;
  if (Completes(oldSize)) {
    KeepLast(kMaxReceived);
    return true;
  }
  // Cut in halves, so that the cutting costs little per byte.
  if (FReceived.size() > 2 * kMaxReceived) KeepLast(kMaxReceived);
  return false;
}

bool ReplyFramer::Completes(std::size_t oldSize) const {
  return std::any_of(std::begin(kResultCodes), std::end(kResultCodes), [&](std::string_view code) {
    const std::size_t from = oldSize >= code.size() - 1 ? oldSize - (code.size() - 1) : 0;
    return FReceived.find(code, from) != std::string::npos;
  });
}

void ReplyFramer::KeepLast(std::size_t size) {
  if (FReceived.size() > size) FReceived.erase(0, FReceived.size() - size);
}

}  // namespace mokuro
