#include "call_monitor.h"

#include "event_log.h"
#include "result_codes.h"

namespace mokuro {
namespace {
constexpr std::string_view kLineBreak = "\r\n";
}

std::string CallerNumber(std::string_view line) {
  if (!line.starts_with(kCallerPrefix)) return {};
  std::string_view rest = line.substr(kCallerPrefix.size());
  if (const auto slash = rest.rfind('/'); slash != std::string_view::npos) rest = rest.substr(0, slash);
  return std::string(rest);
}

void CallMonitor::SetPhoneList(TPhoneList lines) {
  phoneIndex_ = PhoneIndex(lines);
  FPhoneList = std::move(lines);
}

void CallMonitor::QuerySent(TQueryKind kind, const std::string& command) {
  FQueryKind = kind;
  sent_[static_cast<std::size_t>(kind)] = {command, ++sentCount_};
}

CallMonitor::Answer CallMonitor::AnswerOf(const std::string& reply) const {
  for (std::size_t start = 0; start < reply.size();) {
    const std::size_t end = reply.find(kLineBreak, start);
    const std::size_t next = end == std::string::npos ? reply.size() : end + kLineBreak.size();
    std::string_view line(reply.data() + start, (end == std::string::npos ? reply.size() : end) - start);
    // The adapter ends its echo with the command's CR before the CR LF of the line.
    while (line.ends_with('\r')) line.remove_suffix(1);
    const SentQuery* latest = nullptr;
    for (std::size_t kind = 0; kind < sent_.size(); ++kind) {
      const SentQuery& query = sent_[kind];
      if (query.order == 0 || query.command.empty() || !line.ends_with(query.command)) continue;
      if (latest == nullptr || query.order > latest->order) latest = &query;
    }
    if (latest != nullptr) return {static_cast<TQueryKind>(latest - sent_.data()), next};
    start = next;
  }
  const std::size_t end = reply.find(kLineBreak);
  return {FQueryKind, end == std::string::npos ? reply.size() : end + kLineBreak.size()};
}

void CallMonitor::ProcessResponse() {
  const Answer answer = AnswerOf(FResponse);
  const bool rejected = FResponse.ends_with(kResultError);
  LogEvent("reply " + std::string(QueryKindName(answer.kind)) + (rejected ? " (rejected)" : "") + ": " +
           EscapeForLog(FResponse));
  MemoText& memo = window_.Memo();
  if (answer.kind == qkAutoCheck) PrevAutoText = memo.Text();
  if (answer.kind != qkChrgClr) memo.SetText(FResponse.substr(answer.reportStart));
  // A rejected command has no report: nothing to account, compare or look up.
  const bool namesCaller = !rejected && (answer.kind == qkRxInfo || answer.kind == qkAutoCheck);
  // The caller field is emptied and then filled by ShowCaller: set once, so that it changes
  // on the screen only when the caller does.
  if (!namesCaller) window_.SetCallerText({}, CodePage::Utf8);
  if (rejected) return;
  switch (answer.kind) {
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
  if (!line.starts_with(kCallerPrefix)) {
    window_.SetCallerText({}, CodePage::Utf8);
    return;
  }
  const std::string number = CallerNumber(line);
  std::string name = phoneIndex_.Lookup(number);
  const std::string& caller = name.empty() ? number : name;
  // A name is in the book's code page, a bare number in the reply's.
  const CodePage page = name.empty() ? CodePageOf(window_.Memo().Text()) : phoneIndex_.Page();
  LogEvent("caller: " + EscapeForLog(caller, page));
  window_.SetCallerText(caller, page);
}

}  // namespace mokuro
