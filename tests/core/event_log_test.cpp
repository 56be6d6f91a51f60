#include "event_log.h"

#include <gtest/gtest.h>

namespace mokuro {
namespace {

TEST(EscapeForLog, WritesUtf8FromTheTextsCodePageOnOneLine) {
  EXPECT_EQ(EscapeForLog("RECEIVE = \x89\xB9\x90\xBA\r\n\tOK\\\x01\x7F"), "RECEIVE = 音声\\r\\n\\tOK\\\\\\x01\\x7F");
  EXPECT_EQ(EscapeForLog("ポポ\r\n"), "ポポ\\r\\n");
  // A name's bytes read in the code page of its phone book, not on their own.
  EXPECT_EQ(EscapeForLog("\xD0\xB6", CodePage::ShiftJis), "ﾐｶ");
  EXPECT_EQ(EscapeForLog("\xD0\xB6", CodePage::Utf8), "ж");
  EXPECT_EQ(EscapeForLog("=\x83\r", CodePage::ShiftJis), "=\xEF\xBF\xBD\\r");
}

}  // namespace
}  // namespace mokuro
