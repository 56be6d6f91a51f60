#include "settings_store.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "profile_file.h"

namespace mokuro {
namespace {

constexpr std::string_view kConfig = "Config";
constexpr std::string_view kATCommand = "ATCommand";

template <typename Number>
bool ParseWhole(std::string_view text, Number& value, int base) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, base);
  return error == std::errc{} && stop == end;
}

// Decimal with an optional sign, "$" and, in a value longer than two characters, "0x"
// or "0X" before hexadecimal; hexadecimal gives the 32 bits it spells.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
  const bool hexWithX = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  if (hexWithX || text.starts_with('$')) {
    text.remove_prefix(hexWithX ? 2 : 1);
    std::uint32_t bits = 0;
    if (!ParseWhole(text, bits, 16)) return std::nullopt;
    return static_cast<std::int32_t>(bits);
  }
  if (text.starts_with('+')) {
    text.remove_prefix(1);
    if (text.empty() || text[0] == '-') return std::nullopt;
  }
  std::int32_t value = 0;
  if (!ParseWhole(text, value, 10)) return std::nullopt;
  return value;
}

std::int32_t ReadInteger(const ProfileFile& file, std::string_view section, std::string_view key,
                         std::int32_t fallback) {
  return ParseInteger(file.ReadString(section, key, "")).value_or(fallback);
}

bool ReadBool(const ProfileFile& file, std::string_view section, std::string_view key, bool fallback) {
  return ReadInteger(file, section, key, fallback ? 1 : 0) != 0;
}

// Today, when the value is missing or is no date.
TDateTime ReadDate(const ProfileFile& file, std::string_view section, std::string_view key,
                   const DateFormats& formats, const Clock& clock) {
  const TDateTime today = clock.Today();
  TDateTime date = today;
  const std::string text = file.ReadString(section, key, "");
  if (text.empty() || !TextToStoredDate(text, formats, DecodeDate(today).year, date)) return today;
  return date;
}

std::string BoolText(bool value) { return value ? "1" : "0"; }

}  // namespace

void LoadSettings(const std::string& iniPath, Settings& settings, const DateFormats& formats, const Clock& clock) {
  const ProfileFile file(iniPath);
  settings.Left = ReadInteger(file, kConfig, "Left", 0);
  settings.Top = ReadInteger(file, kConfig, "Top", 0);
  settings.FPortName = file.ReadString(kConfig, "Port", "COM1");
  settings.TimerInterval = ReadInteger(file, kConfig, "Timer", 5000);
  settings.FChrgClr = ReadBool(file, kConfig, "ChrgClr", false);
  settings.FChrgClrDay = ReadInteger(file, kConfig, "ChrgClrDay", 26);
  settings.FChrgClrLast = ReadDate(file, kConfig, "ChrgClrLast", formats, clock);
  settings.FMonthlyLog = ReadBool(file, kConfig, "MonthlyLog", false);
  settings.FCurrentLog = ReadBool(file, kConfig, "CurrentLog", false);
  settings.FCLogBackup = ReadInteger(file, kConfig, "CLogBackup", 1);
  settings.FDebug = ReadBool(file, kConfig, "Debug", false);
  settings.FATCharge = file.ReadString(kATCommand, "Charge", "at\\c0");
  settings.FATDialInfo = file.ReadString(kATCommand, "DialInfo", "at\\l0");
  settings.FATRxInfo = file.ReadString(kATCommand, "RxInfo", "at\\l1");
  settings.FATChrgClr = file.ReadString(kATCommand, "ChrgClr", "at\\c1");
}

std::optional<std::string> SaveSettings(const std::string& iniPath, const Settings& settings,
                                        const DateFormats& formats) {
  struct Entry {
    std::string_view section;
    std::string_view key;
    std::string value;
  };
  // Debug is left out: only an edit of the file sets it.
  const Entry entries[] = {
      {kConfig, "Left", std::to_string(settings.Left)},
      {kConfig, "Top", std::to_string(settings.Top)},
      {kConfig, "Port", settings.FPortName},
      {kConfig, "Timer", std::to_string(settings.TimerInterval)},
      {kConfig, "ChrgClr", BoolText(settings.FChrgClr)},
      {kConfig, "ChrgClrDay", std::to_string(settings.FChrgClrDay)},
      {kConfig, "ChrgClrLast", DateToText(settings.FChrgClrLast, formats)},
      {kConfig, "MonthlyLog", BoolText(settings.FMonthlyLog)},
      {kConfig, "CurrentLog", BoolText(settings.FCurrentLog)},
      {kConfig, "CLogBackup", std::to_string(settings.FCLogBackup)},
      {kATCommand, "Charge", settings.FATCharge},
      {kATCommand, "DialInfo", settings.FATDialInfo},
      {kATCommand, "RxInfo", settings.FATRxInfo},
      {kATCommand, "ChrgClr", settings.FATChrgClr},
  };
  ProfileFile file(iniPath);
  bool complete = true;
  for (const Entry& entry : entries) {
    if (!file.WriteString(entry.section, entry.key, entry.value)) {
      complete = false;
      break;
    }
  }
  // The keys before one that can't be written still reach the file.
  const bool saved = !file.Save();
  if (saved && complete) return std::nullopt;
  return iniPath + " に書き込めません";
}

}  // namespace mokuro
