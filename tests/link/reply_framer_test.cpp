#include "reply_framer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mokuro {
namespace {

// What comes out of the framer for the chunks fed in order: the replies delivered, then
// what is still gathered.
struct Framed {
  std::vector<std::string> replies;
  std::string rest;
};

Framed Frame(const std::vector<std::string>& chunks) {
  ReplyFramer framer;
  Framed out;
  for (const std::string& chunk : chunks) {
    framer.Append(chunk);
    for (std::string reply; framer.TakeReply(reply);) out.replies.push_back(reply);
  }
  out.rest = framer.Received();
  return out;
}

std::vector<std::string> Bytes(const std::string& text) {
  std::vector<std::string> chunks;
  for (const char c : text) chunks.emplace_back(1, c);
  return chunks;
}

struct FramingCase {
  const char* name;
  std::vector<std::string> chunks;
  std::vector<std::string> replies;
  std::string rest;
  friend void PrintTo(const FramingCase& c, std::ostream* os) { *os << c.name; }
};

class FramingTest : public ::testing::TestWithParam<FramingCase> {};

TEST_P(FramingTest, DeliversCompleteReplies) {
  const Framed framed = Frame(GetParam().chunks);
  EXPECT_EQ(framed.replies, GetParam().replies);
  EXPECT_EQ(framed.rest, GetParam().rest);
}

const std::string kReply = "at\\l1\r\r\nRECEIVE CALLING PARTY    = 0312345678\r\n\r\nOK\r\n";
const std::string kRejected = "at\\x9\r\r\nERROR\r\n";

INSTANTIATE_TEST_SUITE_P(
    Chunks, FramingTest,
    ::testing::Values(
        FramingCase{"whole", {kReply}, {kReply}, ""},
        FramingCase{"byte_at_a_time", Bytes(kReply), {kReply}, ""},
        FramingCase{"code_split_at_every_place",
                    {"at\r\r\nA\r", "\n", "\r", "\nO", "K", "\r", "\n"},
                    {"at\r\r\nA\r\n\r\nOK\r\n"},
                    ""},
        FramingCase{"what_follows_the_code_starts_the_next_reply",
                    {"x\r\n\r\nOK\r\nRI", "NG\r\n"},
                    {"x\r\n\r\nOK\r\n"},
                    "RING\r\n"},
        FramingCase{"two_replies_in_one_chunk", {kReply + kRejected + "at"}, {kReply, kRejected}, "at"},
        FramingCase{"unsolicited_line_and_next_reply_after_a_reply",
                    {kReply + "\r\nRING\r\n" + kReply.substr(0, 9), kReply.substr(9)},
                    {kReply, "\r\nRING\r\n" + kReply},
                    ""},
        FramingCase{"the_earlier_code_ends_the_reply",
                    {"a\r\nERROR\r\nb\r\nOK\r\n"},
                    {"a\r\nERROR\r\n", "b\r\nOK\r\n"},
                    ""},
        FramingCase{"ok_inside_a_line",
                    {"BOOK\r\n", "\r\nOKAY\r\n", "NOK\r\n", "\r\nok\r\n", "\r\nOK \r\n"},
                    {},
                    "BOOK\r\n\r\nOKAY\r\nNOK\r\n\r\nok\r\n\r\nOK \r\n"},
        FramingCase{"ok_without_leading_line_break", {"at\rOK\r\n"}, {}, "at\rOK\r\n"},
        FramingCase{"error_ends_a_reply", {kRejected, kReply}, {kRejected, kReply}, ""},
        FramingCase{"error_split", Bytes(kRejected), {kRejected}, ""},
        FramingCase{"zero_bytes_dropped",
                    {std::string("a\0t\r\r\n\0\r\nO", 11), std::string("K\r\0\nMORE", 8)},
                    {"at\r\r\n\r\nOK\r\n"},
                    "MORE"},
        FramingCase{"only_zero_bytes", {std::string(3, '\0')}, {}, ""}));

TEST(ReplyFramerTest, KeepsTheLastPartOfALineThatNeverEnds) {
  ReplyFramer framer;
  std::string reply;
  const std::string noise(1000, '~');
  for (int i = 0; i < 1000; ++i) {
    framer.Append(noise);
    ASSERT_FALSE(framer.TakeReply(reply));
    ASSERT_LE(framer.Received().size(), 2 * ReplyFramer::kMaxReceived);
  }
  framer.Append(kReply + kReply);
  ASSERT_TRUE(framer.TakeReply(reply));
  EXPECT_EQ(reply.size(), ReplyFramer::kMaxReceived);
  EXPECT_TRUE(reply.ends_with(kReply));
  ASSERT_TRUE(framer.TakeReply(reply));
  EXPECT_EQ(reply, kReply);
  EXPECT_FALSE(framer.TakeReply(reply));
  EXPECT_EQ(framer.Received(), "");
}

TEST(ReplyFramerTest, ResultCodeAcrossTheCutIsFound) {
  // The cut happens while the text grows; a result code whose first bytes came before it
  // still completes the reply.
  ReplyFramer framer;
  std::string reply;
  framer.Append(std::string(2 * ReplyFramer::kMaxReceived, '~') + "\r\nO");
  ASSERT_FALSE(framer.TakeReply(reply));
  framer.Append("K\r\n");
  ASSERT_TRUE(framer.TakeReply(reply));
  EXPECT_EQ(reply.size(), ReplyFramer::kMaxReceived);
  EXPECT_TRUE(reply.ends_with("~~\r\nOK\r\n"));
}

}  // namespace
}  // namespace mokuro
