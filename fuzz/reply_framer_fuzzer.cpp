// The reply framer, fed the same bytes cut into chunks in different ways: the replies
// must not depend on how the line happened to deliver the bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_fields.h"
#include "reply_framer.h"
#include "result_codes.h"

namespace mokuro {
namespace {

using fuzz::Check;

struct Framed {
  std::vector<std::string> replies;
  std::string left;
};

// Feeds the stream in chunks of the sizes `nextSize` gives, taking every complete reply
// after each chunk, as the reader thread does.
Framed Frame(std::string_view stream, const std::function<std::size_t()>& nextSize) {
  ReplyFramer framer;
  Framed framed;
  for (std::size_t pos = 0; pos < stream.size();) {
    const std::size_t size = std::min(nextSize(), stream.size() - pos);
    framer.Append(stream.substr(pos, size));
    pos += size;
    for (std::string reply; framer.TakeReply(reply);) framed.replies.push_back(reply);
  }
  framed.left = framer.Received();
  return framed;
}

// Where the first result code at or after `from` ends; npos when there is none.
std::size_t EndOfFirstCode(std::string_view text, std::size_t from) {
  std::size_t end = std::string_view::npos;
  for (const std::string_view code : {kResultOk, kResultError}) {
    const std::size_t at = text.find(code, from);
    if (at != std::string_view::npos) end = std::min(end, at + code.size());
  }
  return end;
}

// The replies of the whole text taken at once.
Framed Uncut(std::string_view text) {
  Framed framed;
  std::size_t start = 0;
  for (std::size_t end; (end = EndOfFirstCode(text, start)) != std::string_view::npos; start = end) {
    framed.replies.emplace_back(text.substr(start, end - start));
  }
  framed.left = text.substr(start);
  return framed;
}

bool EndsWithResultCode(std::string_view reply) {
  return reply.ends_with(kResultOk) || reply.ends_with(kResultError);
}

void CheckFramed(const Framed& framed, const Framed& expected, std::string_view text) {
  Check(framed.replies.size() == expected.replies.size(), "as many replies as result codes");
  std::string joined;
  for (std::size_t i = 0; i < framed.replies.size(); ++i) {
    const std::string& reply = framed.replies[i];
    Check(EndsWithResultCode(reply), "a reply ends with its result code");
    Check(EndOfFirstCode(reply, 0) == reply.size(), "a reply holds no earlier result code");
    Check(reply == expected.replies[i], "a reply runs from the end of the last one to its result code");
    joined += reply;
  }
  Check(framed.left == expected.left, "what is left is the start of the next reply");
  Check(joined + framed.left == text, "the replies and what is left are the input without its zero bytes");
}

}  // namespace
}  // namespace mokuro

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mokuro;
  // Inputs are far shorter than a reply may grow: the cutting of overlong text is left
  // to the unit tests.
  const std::string_view stream = fuzz::AsText(data, size);
  std::string text(stream);
  std::erase(text, '\0');
  const Framed expected = Uncut(text);

  // Chunk sizes from the input itself, mostly small as from a slow line, some up to the
  // reader's largest; the largest chunks; a byte at a time.
  constexpr std::size_t kLargestChunk = 1024;
  std::minstd_rand random(static_cast<std::uint_fast32_t>(std::hash<std::string_view>()(stream) | 1));
  const auto someSize = [&] { return random() % 4 == 0 ? 1 + random() % kLargestChunk : 1 + random() % 8; };
  CheckFramed(Frame(stream, someSize), expected, text);
  CheckFramed(Frame(stream, [] { return kLargestChunk; }), expected, text);
  CheckFramed(Frame(stream, [] { return std::size_t{1}; }), expected, text);
  return 0;
}
