#include "call_monitor.h"

#include "event_log.h"

namespace mokuro {

std::string CallerNumber(std::string_view line) {
  if (!line.starts_with(kCallerPrefix)) return {};
  std::string_view rest = line.substr(kCallerPrefix.size());
  if (const auto slash = rest.rfind('/'); slash != std::string_view::npos) rest = rest.substr(0, slash);
  return std::string(rest);
}

void CallMonitor::ProcessResponse() {
  LogEvent("reply " + std::string(QueryKindName(FQueryKind)) + ": " + EscapeForLog(FResponse));
  MemoText& memo = window_.Memo();
  if (FQueryKind == qkAutoCheck) PrevAutoText = memo.Text();
  if (FQueryKind != qkChrgClr) {
    memo.SetText(FResponse);
    memo.DeleteLine0();
  }
  window_.SetCallerText({}, CodePage::Utf8);
  switch (FQueryKind) {
    case qkCharge:
      window_.ProcessCharge();
      break;
    case qkRxInfo:
      ShowCaller();
      break;
    case qkAutoCheck:
      if (memo.Text() != PrevAutoText) {
        LogEvent("new incoming-call report: window shown");
        window_.ShowWindow();
        window_.Beep();
      }
      ShowCaller();
      break;
    default:
      break;
  }
}

void CallMonitor::ShowCaller() {
  const std::string line = window_.Memo().Line(3);
  if (!line.starts_with(kCallerPrefix)) return;
  const std::string number = CallerNumber(line);
  std::string name = LookupName(FPhoneList, number);
  const std::string& caller = name.empty() ? number : name;
  // A name is in the book's code page, a bare number in the reply's.
  const CodePage page = name.empty() ? CodePageOf(window_.Memo().Text()) : PhoneListCodePage(FPhoneList);
  LogEvent("caller: " + EscapeForLog(caller, page));
  window_.SetCallerText(caller, page);
}

}  // namespace mokuro
