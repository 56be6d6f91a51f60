#include "call_monitor.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

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
  monitor.SetPhoneList(GetParam().book);
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
  monitor.SetPhoneList(TPhoneList{"0312345678=Office"});
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
    monitor.SetPhoneList(*c.book);
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

// The program's commands, as the settings have them by default.
std::string CommandOf(TQueryKind kind) {
  switch (kind) {
    case qkCharge: return "at\\c0";
    case qkDialInfo: return "at\\l0";
    case qkRxInfo:
    case qkAutoCheck: return "at\\l1";
    case qkChrgClr: break;
  }
  return "at\\c1";
}

class DispatchTest : public ::testing::Test {
 protected:
  void Send(TQueryKind kind) { monitor.QuerySent(kind, CommandOf(kind)); }
  void Arrive(const std::string& response) {
    monitor.FResponse = response;
    monitor.ProcessResponse();
  }
  void Reply(TQueryKind kind, const std::string& response) {
    Send(kind);
    Arrive(response);
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

// Replies that come late, after another query went out, answer the query they echo.
TEST_F(DispatchTest, LateReplyIsProcessedUnderTheQueryItEchoes) {
  monitor.SetPhoneList(TPhoneList{"0312345678=Office"});
  Send(qkRxInfo);
  Send(qkCharge);
  EXPECT_EQ(monitor.FQueryKind, qkCharge);
  Arrive(RxReply("RECEIVE CALLING PARTY    = 0312345678"));
  EXPECT_EQ(window.charges, 0) << "an incoming-number report is no charge total";
  EXPECT_EQ(window.caller, "Office");
  Arrive("at\\c0\r\r\nCHARGE = 120\r\n\r\nOK\r\n");
  EXPECT_EQ(window.charges, 1);
  EXPECT_EQ(window.memo.Text(), "CHARGE = 120\r\n\r\nOK\r\n");
  EXPECT_EQ(monitor.FQueryKind, qkCharge) << "only a query changes the kind";
}

TEST_F(DispatchTest, LateReplyUnderTheAutoCheckDoesNotPopUp) {
  Reply(qkAutoCheck, RxReply("RECEIVE CALLING PARTY    = 0312345678"));
  ASSERT_EQ(window.shown, 1);
  Send(qkDialInfo);
  Send(qkAutoCheck);
  Arrive("at\\l0\r\r\nDIAL 0312345678\r\n\r\nOK\r\n");
  EXPECT_EQ(window.shown, 1) << "the dialled numbers are no new call";
  EXPECT_EQ(window.beeps, 1);
  EXPECT_EQ(window.memo.Text(), "DIAL 0312345678\r\n\r\nOK\r\n");
}

// Each reply sets the memo and the caller field at most once, and the same report again
// doesn't change the memo at all.
TEST_F(DispatchTest, EachReplyChangesTheScreenAtMostOnce) {
  monitor.SetPhoneList(TPhoneList{"0312345678=Office"});
  int memoChanges = 0;
  window.memo.SetOnChange([&] { ++memoChanges; });
  const std::string report = RxReply("RECEIVE CALLING PARTY    = 0312345678");
  const std::vector<std::pair<TQueryKind, std::string>> replies = {
      {qkAutoCheck, report}, {qkAutoCheck, report}, {qkRxInfo, RxReply("RECEIVE CALLING")},
      {qkCharge, "at\\c0\r\r\nCHARGE = 120\r\n\r\nOK\r\n"}, {qkChrgClr, "at\\c1\r\r\nOK\r\n"}};
  const std::vector<int> expectedMemoChanges = {1, 0, 1, 1, 0};
  for (std::size_t i = 0; i < replies.size(); ++i) {
    memoChanges = 0;
    window.callerSets = 0;
    Reply(replies[i].first, replies[i].second);
    EXPECT_EQ(memoChanges, expectedMemoChanges[i]) << "reply " << i;
    EXPECT_EQ(window.callerSets, 1) << "reply " << i;
  }
  EXPECT_EQ(window.caller, "");
}

// The incoming-number command serves two kinds: its reply answers the later of them.
TEST_F(DispatchTest, SharedCommandAnswersTheLaterKind) {
  Send(qkAutoCheck);
  Send(qkRxInfo);
  Arrive(RxReply("RECEIVE CALLING PARTY    = 0312345678"));
  EXPECT_EQ(window.shown, 0);
  EXPECT_EQ(window.caller, "0312345678");
  Send(qkAutoCheck);
  Arrive(RxReply("RECEIVE CALLING PARTY    = 09012345678"));
  EXPECT_EQ(window.shown, 1);
}

struct RejectedCase {
  const char* name;
  TQueryKind kind;
};

class RejectedTest : public DispatchTest, public ::testing::WithParamInterface<RejectedCase> {};

TEST_P(RejectedTest, ErrorReplyIsShownAndNothingElse) {
  window.memo.SetText("CHARGE = 120\r\n\r\nOK\r\n");
  Reply(GetParam().kind, CommandOf(GetParam().kind) + "\r\r\nERROR\r\n");
  EXPECT_EQ(window.memo.Text(), "ERROR\r\n");
  EXPECT_EQ(window.caller, "");
  EXPECT_EQ(window.charges + window.shown + window.beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RejectedTest,
                         ::testing::Values(RejectedCase{"charge", qkCharge}, RejectedCase{"incoming", qkRxInfo},
                                           RejectedCase{"auto_check", qkAutoCheck}),
                         [](const auto& info) { return std::string(info.param.name); });

struct EchoCase {
  const char* name;
  std::string before;  // what the adapter sent ahead of the echo
};

class EchoTest : public DispatchTest, public ::testing::WithParamInterface<EchoCase> {};

// Lines the adapter sends on its own before the echo are not part of the report, and a
// noisy line may put bytes in front of the echo: the caller is still the fourth line.
TEST_P(EchoTest, ReportBeginsAfterTheEcho) {
  monitor.SetPhoneList(TPhoneList{"0312345678=Office"});
  Reply(qkRxInfo, GetParam().before + RxReply("RECEIVE CALLING PARTY    = 0312345678"));
  EXPECT_EQ(window.caller, "Office");
  EXPECT_TRUE(window.memo.Text().starts_with("RECEIVE INFORMATION\r\n")) << window.memo.Text();
}

INSTANTIATE_TEST_SUITE_P(Before, EchoTest,
                         ::testing::Values(EchoCase{"nothing", ""}, EchoCase{"ring", "\r\nRING\r\n"},
                                           EchoCase{"result_codes", "\r\nNO CARRIER\r\nRING\r\n\r\nRING\r\n"},
                                           EchoCase{"noise", "#~q"}),
                         [](const auto& info) { return std::string(info.param.name); });

// An adapter with its echo off: the reply answers the last query, and its first line goes.
TEST_F(DispatchTest, WithoutAnEchoTheLastQueryAndTheFirstLineCount) {
  monitor.SetPhoneList(TPhoneList{"0312345678=Office"});
  Send(qkRxInfo);
  Arrive("\r\nRECEIVE INFORMATION\r\nDATE = 12/11\r\nBEARER = SPEECH\r\nRECEIVE CALLING PARTY    = 0312345678\r\n\r\nOK\r\n");
  EXPECT_EQ(window.caller, "Office");
  Send(qkCharge);
  Arrive("\r\nCHARGE = 120\r\n\r\nOK\r\n");
  EXPECT_EQ(window.charges, 1);
  EXPECT_EQ(window.memo.Text(), "CHARGE = 120\r\n\r\nOK\r\n");
}

TEST_F(DispatchTest, AutoCheckPopsUpOnlyOnAChangedReport) {
  monitor.SetPhoneList(TPhoneList{"0312345678=Office"});
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
