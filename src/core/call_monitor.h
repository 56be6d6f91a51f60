#pragma once

#include <string>
#include <string_view>

#include "monitor_window.h"
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

  // Called with FResponse holding a complete reply.
  void ProcessResponse();
  void ShowCaller();

  TQueryKind FQueryKind = qkCharge;
  std::string FResponse;
  std::string PrevAutoText;
  TPhoneList FPhoneList;

 private:
  MonitorWindow& window_;
};

}  // namespace mokuro
