#pragma once

#include <cstdint>
#include <string>

#include "date_time.h"

namespace mokuro {

// The program's settings as the main window keeps them while it runs. They are read from
// the settings file at start-up and written back at exit; the dialog changes them here.
struct Settings {
  // Window position, pixels.
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  // Period of the auto-check timer, milliseconds.
  std::int32_t TimerInterval = 5000;

  std::string FPortName;
  bool FChrgClr = false;
  std::int32_t FChrgClrDay = 0;
  TDateTime FChrgClrLast = 0;
  bool FMonthlyLog = false;
  bool FCurrentLog = false;
  std::int32_t FCLogBackup = 0;
  std::string FATCharge;
  std::string FATDialInfo;
  std::string FATRxInfo;
  std::string FATChrgClr;
  // Only the file sets it: clearing then sends no clear command.
  bool FDebug = false;
};

}  // namespace mokuro
