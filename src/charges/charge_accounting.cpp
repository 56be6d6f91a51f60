#include "charge_accounting.h"

#include "charge_clearing.h"
#include "charge_snapshot.h"
#include "code_page.h"
#include "event_log.h"

namespace mokuro {
namespace {

constexpr std::string_view kSnapshotFailedLine = "[Charge0.txt に書き込めません]";
constexpr std::string_view kLogFailedMessage = "月間料金記録'ChrgLog.txt'の書き込みに失敗しました";
constexpr std::string_view kClearedMessage = "累積料金をクリアしました";

// In the code page of the reply it heads, as the locale's words in a date may need.
std::string HeaderLine(const std::string& stamp, const std::string& reply) {
  return std::string(25, '=') + " " + InCodePageOf(reply, stamp);
}

}  // namespace

ChargeAccounting::ChargeAccounting(ChargeHost& host, Settings& settings, const Clock& clock, std::string folder)
    : host_(host), settings_(settings), clock_(clock), folder_(std::move(folder)) {}

void ChargeAccounting::ProcessCharge() {
  // Both steps take the reply as it came: the line that a failed snapshot adds to the memo
  // stays out of the monthly log.
  FChargeReply = host_.Memo().Text();
  if (settings_.FCurrentLog) SaveChargeSnapshot();
  if (settings_.FChrgClr) CheckChargeClear();
  FChargeReply.reset();
}

std::string ChargeAccounting::ChargeReply() const { return FChargeReply ? *FChargeReply : host_.Memo().Text(); }

void ChargeAccounting::SaveChargeSnapshot() {
  const std::string path = ChargeSnapshotPath(folder_, 0);
  const std::error_code error = WriteChargeSnapshot(folder_, settings_.FCLogBackup,
                                                    HeaderLine(host_.DateTimeText(clock_.Now()), ChargeReply()), ChargeReply());
  if (!error) {
    LogEvent("charge snapshot written: " + path);
    return;
  }
  LogEvent("charge snapshot failed: " + path + ": " + error.message());
  MemoText& memo = host_.Memo();
  std::string text = memo.Text();
  if (!text.empty() && !text.ends_with("\r\n")) text += "\r\n";
  text.append(InCodePageOf(text, kSnapshotFailedLine)).append("\r\n");
  memo.SetText(std::move(text));
}

void ChargeAccounting::CheckChargeClear() {
  const TDateTime today = clock_.Today();
  if (today < ChargeClearDueDate(settings_.FChrgClrLast, settings_.FChrgClrDay)) return;
  if (settings_.FMonthlyLog) {
    // The adapter's total is cleared only once it is safe in the log; otherwise the next
    // charge reply tries again.
    if (const std::error_code error = AppendChargeLog(folder_, HeaderLine(host_.DateText(today), ChargeReply()), ChargeReply())) {
      LogEvent("charge log failed: " + error.message() + "; charges not cleared");
      host_.ShowMessage(std::string(kLogFailedMessage));
      return;
    }
    LogEvent("charge log written: " + folder_ + std::string(kChargeLogName));
  }
  if (settings_.FDebug) {
    LogEvent("Debug is on: clear command not sent");
  } else {
    host_.IssueChargeClear();
  }
  // Moved on before the message box, so that a reply handled while it is open can't clear
  // again, and on disk at once, so that a crash before the exit can't clear the month twice.
  settings_.FChrgClrLast = today;
  LogEvent("charges cleared on " + host_.DateText(today));
  host_.SaveSettingsFile();
  host_.ShowMessage(std::string(kClearedMessage));
}

}  // namespace mokuro
