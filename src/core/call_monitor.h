#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "monitor_window.h"
#include "phone_index.h"
#include "phone_list.h"
#include "query_kind.h"

namespace mokuro {

inline constexpr std::string_view kCallerPrefix = "RECEIVE CALLING PARTY    = ";

// The number in a caller line: the text after the prefix, cut at its last "/"; empty
// when the line doesn't begin with the prefix exactly.
std::string CallerNumber(std::string_view line);

// The dispatch of complete replies by the kind of the query they answer, and the caller
// shown from the phone book. The main window owns it and runs it on its own thread.
class CallMonitor {
 public:
  explicit CallMonitor(MonitorWindow& window) : window_(window) {}

  // Records a query just before its command goes out: the kind becomes FQueryKind, and a
  // reply that echoes the command is known to answer it.
  void QuerySent(TQueryKind kind, const std::string& command);
  // Called with FResponse holding a complete reply.
  void ProcessResponse();
  void ShowCaller();

  // The phone book: its lines, and the index that names callers from them.
  void SetPhoneList(TPhoneList lines);
  const TPhoneList& PhoneList() const { return FPhoneList; }

  TQueryKind FQueryKind = qkCharge;
  std::string FResponse;
  std::string PrevAutoText;

 private:
  // What a reply answers, and where its report begins.
  struct Answer {
    TQueryKind kind;
    std::size_t reportStart;
  };
  struct SentQuery {
    std::string command;
    std::uint64_t order = 0;  // 0: never sent
  };

  // The reply's echo is the first line that ends with a command the program sent (a noisy
  // line may put bytes before it); lines before it came from the adapter on its own. The
  // reply answers the latest query of that command. Without an echo it answers
  // FQueryKind, and its first line is taken for the echo.
  Answer AnswerOf(const std::string& reply) const;

  MonitorWindow& window_;
  TPhoneList FPhoneList;
  PhoneIndex phoneIndex_;
  std::array<SentQuery, kQueryKindCount> sent_{};
  std::uint64_t sentCount_ = 0;
};

}  // namespace mokuro
