// The reply routing: queries sent and replies processed in any order against a window
// that only records what it was told.
// Input: records parted by zero bytes, each a letter and its text:
//   Q<kind digit 0..4><command>  a query sent; without a command, the kind's default
//   R<reply>                     a complete reply processed
//   P<phone book bytes>          the phone book replaced
// (the letter counts modulo 3, so every record means something).
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "call_monitor.h"
#include "fuzz_check.h"
#include "fuzz_fields.h"
#include "monitor_window.h"
#include "phone_list.h"
#include "result_codes.h"

namespace mokuro {
namespace {

using fuzz::Check;

constexpr std::string_view kDefaultCommands[kQueryKindCount] = {"at\\c0", "at\\l0", "at\\l1", "at\\l1", "at\\c1"};

class RecordingWindow : public MonitorWindow {
 public:
  RecordingWindow() {
    memo.SetOnChange([this] { ++memoChanges; });
  }

  MemoText& Memo() override { return memo; }
  std::string CallerText() const override { return caller; }
  void SetCallerText(const std::string& text, CodePage) override {
    caller = text;
    callerSets.push_back(text);
  }
  void ShowWindow() override { ++shown; }
  void Beep() override { ++beeps; }
  void ProcessCharge() override { ++charges; }

  MemoText memo;
  std::string caller;
  std::vector<std::string> callerSets;
  int shown = 0;
  int beeps = 0;
  int charges = 0;
  int memoChanges = 0;
};

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool IsName(const TPhoneList& list, std::string_view caller) {
  for (const std::string& line : list) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && std::string_view(line).substr(equals + 1) == caller) return true;
  }
  return false;
}

class Session {
 public:
  void Query(std::string_view record) {
    const auto kind = static_cast<TQueryKind>(
        record.empty() ? qkAutoCheck : (static_cast<unsigned char>(record[0]) + 2) % kQueryKindCount);
    const std::string command(record.size() > 1 ? record.substr(1) : kDefaultCommands[kind]);
    monitor_.QuerySent(kind, command);
    kindsSent_.insert(kind);
    commands_[kind] = command;
  }

  void Reply(std::string_view reply) {
    const std::string memoBefore = window_.memo.Text();
    const int charges = window_.charges;
    const int shown = window_.shown;
    const int beeps = window_.beeps;
    const int memoChanges = window_.memoChanges;
    window_.callerSets.clear();
    monitor_.FResponse = reply;
    monitor_.ProcessResponse();

    const std::string& memo = window_.memo.Text();
    const bool memoChanged = memo != memoBefore;
    const bool rejected = reply.ends_with(kResultError);
    const bool charged = window_.charges != charges;
    const bool popped = window_.shown != shown;
    const std::string& caller = window_.caller;

    Check(window_.callerSets.size() == 1, "a reply sets the caller field once");
    Check(window_.memoChanges - memoChanges <= 1, "a reply changes the memo once at most");
    Check(caller.empty() || Contains(reply, std::string(kCallerPrefix) + caller) ||
              (IsName(monitor_.PhoneList(), caller) && Contains(reply, kCallerPrefix)),
          "the caller is the reply's number or a name from the book");
    Check(!memoChanged || reply.ends_with(memo), "the memo shows an end of the reply");
    Check(!memoChanged || memo.empty() || reply.substr(0, reply.size() - memo.size()).ends_with("\r\n"),
          "the memo starts at a line of the reply");
    Check(window_.charges - charges <= 1 && window_.shown - shown <= 1, "one reply, one step at most");
    Check(popped == (window_.beeps != beeps), "the window comes up with a beep");
    Check(!charged || (!rejected && (monitor_.FQueryKind == qkCharge || (commands_.contains(qkCharge) &&
                                                                         Contains(reply, commands_[qkCharge])))),
          "only a charge reply that isn't an ERROR is accounted");
    Check(!popped || (!rejected && memoChanged), "only a changed report brings the window up");
    Check(!rejected || caller.empty(), "an ERROR reply names no caller");

    // With one kind of query sent, every reply answers it; before any, the first kind.
    if (kindsSent_.size() > 1) return;
    switch (kindsSent_.empty() ? qkCharge : *kindsSent_.begin()) {
      case qkCharge:
        Check(charged == !rejected && !popped, "a charge reply is accounted unless rejected");
        break;
      case qkAutoCheck:
        Check(popped == (!rejected && memoChanged), "a changed auto-check report, and only that, pops up");
        Check(monitor_.PrevAutoText == memoBefore, "an auto-check reply keeps what the memo showed");
        break;
      case qkChrgClr:
        Check(!memoChanged && caller.empty() && !charged && !popped, "a clearing reply shows nothing");
        break;
      case qkDialInfo:
        Check(caller.empty() && !charged && !popped, "a dialled-number reply names no caller");
        break;
      case qkRxInfo:
        Check(!charged && !popped, "an incoming-number reply only shows");
        break;
    }
  }

  void PhoneBook(std::string_view bytes) { monitor_.SetPhoneList(SplitLines(bytes)); }

 private:
  RecordingWindow window_;
  CallMonitor monitor_{window_};
  std::set<TQueryKind> kindsSent_;
  std::map<TQueryKind, std::string> commands_;
};

}  // namespace
}  // namespace mokuro

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mokuro;
  Session session;
  for (const std::string_view record : fuzz::SplitFields(fuzz::AsText(data, size), size + 1)) {
    if (record.empty()) continue;
    const std::string_view body = record.substr(1);
    switch (static_cast<unsigned char>(record[0]) % 3) {
      case 0:
        session.Query(body);
        break;
      case 1:
        session.Reply(body);
        break;
      default:
        session.PhoneBook(body);
        break;
    }
  }
  return 0;
}
