#pragma once

#include <optional>
#include <string>

#include "clock.h"
#include "date_time.h"
#include "memo_text.h"
#include "settings.h"

namespace mokuro {

// What charge accounting needs of the main window.
class ChargeHost {
 public:
  virtual ~ChargeHost() = default;
  virtual MemoText& Memo() = 0;
  // A plain message box; returns when the user has closed it.
  virtual void ShowMessage(const std::string& text) = 0;
  // Issues the clearing query: the kind becomes qkChrgClr and FATChrgClr is sent.
  virtual void IssueChargeClear() = 0;
  // Writes the settings file now, reporting a failure to the user.
  virtual void SaveSettingsFile() = 0;
  // The user's short date, and short date with long time.
  virtual std::string DateText(TDateTime date) const = 0;
  virtual std::string DateTimeText(TDateTime dateTime) const = 0;
};

// The due date of the next clearing after the one on `lastClear`, on day `clearDay`.
TDateTime ChargeClearDueDate(TDateTime lastClear, int clearDay);

// What happens to a charge reply once it is in the memo: the snapshot files and the
// monthly clearing with its log, in the folder of the user's files.
class ChargeAccounting {
 public:
  ChargeAccounting(ChargeHost& host, Settings& settings, const Clock& clock, std::string folder);

  // The snapshot when CurrentLog is on, then the clearing check when ChrgClr is on.
  void ProcessCharge();
  void SaveChargeSnapshot();
  void CheckChargeClear();

 private:
  // The charge reply the steps keep: as ProcessCharge found it in the memo, else the memo.
  std::string ChargeReply() const;

  ChargeHost& host_;
  Settings& settings_;
  const Clock& clock_;
  std::string folder_;
  std::optional<std::string> FChargeReply;
};

}  // namespace mokuro
