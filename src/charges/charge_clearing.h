#pragma once

#include <string>
#include <string_view>
#include <system_error>

#include "date_time.h"

namespace mokuro {

inline constexpr std::string_view kChargeLogName = "ChrgLog.txt";

// The clearing day as it falls in the month: a day the month lacks (from a hand-edited
// settings file) becomes its last day, a day below 1 the 1st.
int ClearingDayIn(int year, int month, int clearDay);

// Appends the header line, CR LF and the text to the monthly log in the folder: the block
// is on disk whole when this returns without an error, and a crash at any moment leaves
// the log with all of it or none of it.
std::error_code AppendChargeLog(const std::string& folder, const std::string& header, const std::string& text);

}  // namespace mokuro
