#include "reply_framer.h"

#include <algorithm>

#include "result_codes.h"

namespace mokuro {

void ReplyFramer::Append(std::string_view chunk) {
  std::copy_if(chunk.begin(), chunk.end(), std::back_inserter(FReceived), [](char c) { return c != '\0'; });
}

bool ReplyFramer::TakeReply(std::string& reply) {
  std::size_t end = std::string::npos;
  for (const std::string_view code : {kResultOk, kResultError}) {
    const std::size_t at = FReceived.find(code, searchedTo_);
    if (at != std::string::npos) end = std::min(end, at + code.size());
  }
  if (end == std::string::npos) {
    // Cut in halves, so that the cutting costs little per byte.
    if (FReceived.size() > 2 * kMaxReceived) KeepLast(kMaxReceived);
    // A result code may have begun among the last bytes.
    const std::size_t longest = std::max(kResultOk.size(), kResultError.size());
    searchedTo_ = FReceived.size() >= longest ? FReceived.size() - (longest - 1) : 0;
    return false;
  }
  const std::size_t start = end > kMaxReceived ? end - kMaxReceived : 0;
  reply.assign(FReceived, start, end - start);
  FReceived.erase(0, end);
  searchedTo_ = 0;
  return true;
}

void ReplyFramer::KeepLast(std::size_t size) {
  if (FReceived.size() > size) FReceived.erase(0, FReceived.size() - size);
}

}  // namespace mokuro
