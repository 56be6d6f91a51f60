#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mokuro {

// Gathers the adapter's output into replies: a reply is complete once its text holds the
// final result code "\r\nOK\r\n", or "\r\nERROR\r\n" for a command the adapter rejects.
class ReplyFramer {
 public:
  // What a reply keeps at the most: noise or a wrong line speed, which never end in a
  // result code, can't make it grow without bound.
  static constexpr std::size_t kMaxReceived = 64 * 1024;

  // Adds a chunk from the line, without its zero bytes; true when the text gathered so
  // far is a complete reply. Only the end of the text is searched, where the new bytes
  // can complete a result code, so a reply written a byte at a time costs linear time.
  bool Append(std::string_view chunk);
  const std::string& Received() const { return FReceived; }
  void Clear() { FReceived.clear(); }

 private:
  bool Completes(std::size_t oldSize) const;
  void KeepLast(std::size_t size);

  std::string FReceived;
};

}  // namespace mokuro
