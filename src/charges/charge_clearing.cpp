#include "charge_clearing.h"

#include <algorithm>

#include "charge_accounting.h"
#include "file_io.h"

namespace mokuro {

int ClearingDayIn(int year, int month, int clearDay) { return std::clamp(clearDay, 1, DaysInMonth(year, month)); }

TDateTime ChargeClearDueDate(TDateTime lastClear, int clearDay) {
  const CalendarDate last = DecodeDate(lastClear);
  int year = last.year;
  int month = last.month;
  // Compared with the day as it fell in that month, so that a clearing on the 30th of April
  // for day 31 is not due again the same day.
  if (last.day >= ClearingDayIn(year, month, clearDay)) {
    month = month == 12 ? 1 : month + 1;
    if (month == 1) ++year;
  }
  return EncodeDate(year, month, ClearingDayIn(year, month, clearDay));
}

std::error_code AppendChargeLog(const std::string& folder, const std::string& header, const std::string& text) {
  return AppendFileAtomic(folder + std::string(kChargeLogName), header + "\r\n" + text);
}

}  // namespace mokuro
