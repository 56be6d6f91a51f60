#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mokuro {

// Gathers the adapter's output into replies: a reply is the text up to and including its
// final result code, "\r\nOK\r\n", or "\r\nERROR\r\n" for a command the adapter rejects.
// What follows the result code is the start of the next reply.
class ReplyFramer {
 public:
  // What a reply keeps at the most: noise or a wrong line speed, which never end in a
  // result code, can't make it grow without bound.
  static constexpr std::size_t kMaxReceived = 64 * 1024;

  // Adds a chunk from the line, without its zero bytes.
  void Append(std::string_view chunk);
  // Takes the first complete reply out of what was gathered, in the order the replies
  // came; false when none is complete.
  bool TakeReply(std::string& reply);
  const std::string& Received() const { return FReceived; }

 private:
  void KeepLast(std::size_t size);

  std::string FReceived;
  // No result code begins before this offset: each byte is searched about once, so a
  // reply written a byte at a time costs linear time.
  std::size_t searchedTo_ = 0;
};

}  // namespace mokuro
