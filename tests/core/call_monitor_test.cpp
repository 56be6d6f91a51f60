#include "call_monitor.h"

#include <gtest/gtest.h>

#include "test_window.h"

namespace mokuro {
namespace {

using test::TestWindow;

// An incoming-number reply: echo, three report lines, the caller line, the result code.
std::string RxReply(const std::string& callerLine) {
  return "at\\l1\r\r\nRECEIVE INFORMATION\r\nDATE = 12/11 10:15\r\nBEARER = SPEECH\r\n" + callerLine + "\r\n\r\nOK\r\n";
}

struct CallerCase {
  const char* name;
  std::string callerLine;
  std::vector<std::string> book;
  std::string expected;
  friend void PrintTo(const CallerCase& c, std::ostream* os) { *os << c.name; }
};

class ShowCallerTest : public ::testing::TestWithParam<CallerCase> {};

TEST_P(ShowCallerTest, ShowsNameOrNumber) {
  TestWindow window;
  CallMonitor monitor(window);
  monitor.FPhoneList = GetParam().book;
  monitor.FQueryKind = qkRxInfo;
  monitor.FResponse = RxReply(GetParam().callerLine);
  monitor.ProcessResponse();
  EXPECT_EQ(window.caller, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    CallerLine, ShowCallerTest,
    ::testing::Values(
        CallerCase{"named", "RECEIVE CALLING PARTY    = 09012345678", {"09012345678=Shop"}, "Shop"},
        CallerCase{"slash_cut", "RECEIVE CALLING PARTY    = 09012345678/64", {"09012345678=Shop"}, "Shop"},
        CallerCase{"slash_unnamed", "RECEIVE CALLING PARTY    = 09012345678/64", {}, "09012345678"},
        CallerCase{"last_slash", "RECEIVE CALLING PARTY    = 09012345678/1/2", {"09012345678/1=Two", "09012345678=One"},
                   "Two"},
        CallerCase{"empty_name", "RECEIVE CALLING PARTY    = 09012345678", {"09012345678=", "09012345678=Late"},
                   "09012345678"},
        CallerCase{"first_wins", "RECEIVE CALLING PARTY    = 09012345678", {"09012345678=A", "09012345678=B"}, "A"},
        CallerCase{"blank_before_equals", "RECEIVE CALLING PARTY    = 09012345678", {"09012345678 =Shop"},
                   "09012345678"},
        CallerCase{"blank_after_equals", "RECEIVE CALLING PARTY    = 0312345678", {"0312345678= Shop "}, " Shop "},
        CallerCase{"ascii_case", "RECEIVE CALLING PARTY    = anonymous", {"ANONYMOUS=非通知"}, "非通知"},
        CallerCase{"no_equals_never_matches", "RECEIVE CALLING PARTY    = 0312345678", {"0312345678"}, "0312345678"},
        CallerCase{"second_equals_in_name", "RECEIVE CALLING PARTY    = 0312345678", {"0312345678=a=b"}, "a=b"},
        CallerCase{"three_blanks", "RECEIVE CALLING PARTY   = 09012345678", {"09012345678=Shop"}, ""},
        CallerCase{"lower_case_prefix", "receive calling party    = 09012345678", {"09012345678=Shop"}, ""},
        CallerCase{"short_line", "RECEIVE CALLING", {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShowCaller, ShortReplyLeavesCallerEmpty) {
  TestWindow window;
  CallMonitor monitor(window);
  monitor.FQueryKind = qkRxInfo;
  monitor.FResponse = "at\\l1\r\r\nRECEIVE INFORMATION\r\nRECEIVE CALLING PARTY    = 0312345678\r\n";
  monitor.ProcessResponse();
  EXPECT_EQ(window.caller, "");
}

TEST(ShowCaller, LongReportLineDoesNotShiftTheCallerLine) {
  TestWindow window;
  CallMonitor monitor(window);
  monitor.FPhoneList = {"0312345678=Office"};
  monitor.FQueryKind = qkRxInfo;
  monitor.FResponse = "at\\l1" + std::string(300, ' ') + "\r\r\nRECEIVE INFORMATION " + std::string(500, '*') +
                      "\r\nDATE = 12/11\r\nBEARER = SPEECH\r\nRECEIVE CALLING PARTY    = 0312345678\r\n\r\nOK\r\n";
  monitor.ProcessResponse();
  EXPECT_EQ(window.caller, "Office");
  EXPECT_TRUE(window.memo.Text().starts_with("RECEIVE INFORMATION *")) << "only the echo line goes";
}

TEST(ShowCaller, NameIsInTheCodePageOfItsBookAndANumberInTheReplys) {
  // ﾐｶ, ﾕｷ and ﾏｷ in Shift_JIS are valid UTF-8 as well (ж, շ, Ϸ): only the whole book tells.
  const std::vector<std::string> shiftJisBook = {"09011110001=\xD0\xB6", "09011110002=\xD5\xB7",
                                                 "09011110003=\xCF\xB7", "0311112222=\x83\x7C\x83\x7C"};
  const std::vector<std::string> utf8Book = {"09011110001=ミカ", "0311112222=ポポ"};
  const std::string speech = "SPEECH";
  const std::string shiftJisSpeech = "\x89\xB9\x90\xBA";  // 音声
  struct Case {
    const std::vector<std::string>* book;
    const std::string* bearer;
    std::string number;
    std::string shown;
    CodePage page;
  };
  const Case cases[] = {
      {&shiftJisBook, &speech, "09011110001", "ﾐｶ", CodePage::ShiftJis},
      {&shiftJisBook, &speech, "09011110002", "ﾕｷ", CodePage::ShiftJis},
      {&shiftJisBook, &speech, "09011110003", "ﾏｷ", CodePage::ShiftJis},
      {&shiftJisBook, &shiftJisSpeech, "0311112222", "ポポ", CodePage::ShiftJis},
      {&utf8Book, &shiftJisSpeech, "09011110001", "ミカ", CodePage::Utf8},
      {&utf8Book, &shiftJisSpeech, "09099999999", "09099999999", CodePage::ShiftJis},
      {&shiftJisBook, &speech, "09099999999", "09099999999", CodePage::Utf8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    TestWindow window;
    CallMonitor monitor(window);
    monitor.FPhoneList = *c.book;
    monitor.FQueryKind = qkRxInfo;
    monitor.FResponse = "at\\l1\r\r\nRECEIVE INFORMATION\r\nDATE = 12/11 10:15\r\nBEARER = " + *c.bearer +
                        "\r\nRECEIVE CALLING PARTY    = " + c.number + "\r\n\r\nOK\r\n";
    monitor.ProcessResponse();
    EXPECT_EQ(window.callerPage, c.page);
    EXPECT_EQ(ToUtf8(window.caller, window.callerPage), c.shown);
  }
}

TEST(CallerNumber, CutsAtLastSlashOnly) {
  EXPECT_EQ(CallerNumber("RECEIVE CALLING PARTY    = 0312345678/1/2"), "0312345678/1");
  EXPECT_EQ(CallerNumber("RECEIVE CALLING PARTY    = /"), "");
  EXPECT_EQ(CallerNumber("X RECEIVE CALLING PARTY    = 0312345678"), "");
}

class DispatchTest : public ::testing::Test {
 protected:
  void Reply(TQueryKind kind, const std::string& response) {
    monitor.FQueryKind = kind;
    monitor.FResponse = response;
    monitor.ProcessResponse();
  }
  TestWindow window;
  CallMonitor monitor{window};
};

TEST_F(DispatchTest, EachKindShowsAndDispatches) {
  Reply(qkDialInfo, "at\\l0\r\r\nDIAL 0312345678\r\n\r\nOK\r\n");
  EXPECT_EQ(window.memo.Text(), "DIAL 0312345678\r\n\r\nOK\r\n");
  EXPECT_EQ(window.caller, "");
  EXPECT_EQ(window.charges, 0);

  Reply(qkCharge, "at\\c0\r\r\nCHARGE = 120\r\n\r\nOK\r\n");
  EXPECT_EQ(window.memo.Text(), "CHARGE = 120\r\n\r\nOK\r\n");
  EXPECT_EQ(window.charges, 1);
  EXPECT_EQ(window.shown + window.beeps, 0);
}

TEST_F(DispatchTest, ChargeClearReplyLeavesMemoAloneAndEmptiesCaller) {
  window.memo.SetText("\r\nCHARGE = 120\r\n\r\nOK\r\n");
  Reply(qkChrgClr, "at\\c1\r\r\nOK\r\n");
  EXPECT_EQ(window.memo.Text(), "\r\nCHARGE = 120\r\n\r\nOK\r\n");
  EXPECT_EQ(window.caller, "");
  EXPECT_EQ(window.charges, 0);
}

TEST_F(DispatchTest, EchoOnlyReplyLeavesMemoEmpty) {
  window.memo.SetText("old");
  Reply(qkDialInfo, "at\\l0\r\n");
  EXPECT_EQ(window.memo.Text(), "");
}

TEST_F(DispatchTest, ReplyIsProcessedUnderTheNewestKind) {
  monitor.FQueryKind = qkRxInfo;  // the incoming-number query went out...
  monitor.FQueryKind = qkCharge;  // ...and the charge query was sent before its reply came
  monitor.FResponse = RxReply("RECEIVE CALLING PARTY    = 0312345678");
  monitor.ProcessResponse();
  EXPECT_EQ(window.charges, 1);
  EXPECT_EQ(window.caller, "");
}

TEST_F(DispatchTest, AutoCheckPopsUpOnlyOnAChangedReport) {
  monitor.FPhoneList = {"0312345678=Office"};
  Reply(qkCharge, "at\\c0\r\r\nCHARGE = 120\r\n\r\nOK\r\n");
  const std::string report = RxReply("RECEIVE CALLING PARTY    = 0312345678");

  Reply(qkAutoCheck, report);  // the first auto-check after another reply differs
  EXPECT_EQ(window.shown, 1);
  EXPECT_EQ(window.beeps, 1);
  EXPECT_EQ(window.caller, "Office");

  window.caller = "(stale)";
  Reply(qkAutoCheck, report);
  EXPECT_EQ(window.shown, 1);
  EXPECT_EQ(window.beeps, 1);
  EXPECT_EQ(window.caller, "Office") << "filled again";

  Reply(qkAutoCheck, RxReply("RECEIVE CALLING PARTY    = 09012345678"));
  EXPECT_EQ(window.shown, 2);
  EXPECT_EQ(window.beeps, 2);
  EXPECT_EQ(window.caller, "09012345678");
}

}  // namespace
}  // namespace mokuro
