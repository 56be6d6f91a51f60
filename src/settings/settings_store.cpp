#include "settings_store.h"

#include <charconv>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <variant>

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

using SettingField =
    std::variant<std::int32_t Settings::*, bool Settings::*, std::string Settings::*, TDateTime Settings::*>;

// A key of the settings file: where it is, the setting it fills, and its default as the
// file would hold it (none for the date, whose default is today).
struct SettingKey {
  std::string_view section;
  std::string_view name;
  SettingField field;
  std::string_view fallback;
  // Debug is left out of the saving: only an edit of the file sets it.
  bool saved = true;
};

// Every key once, in the order the file is read and written.
const SettingKey kSettingKeys[] = {
    {kConfig, "Left", &Settings::Left, "0"},
    {kConfig, "Top", &Settings::Top, "0"},
    {kConfig, "Port", &Settings::FPortName, "COM1"},
    {kConfig, "Timer", &Settings::TimerInterval, "5000"},
    {kConfig, "ChrgClr", &Settings::FChrgClr, "0"},
    {kConfig, "ChrgClrDay", &Settings::FChrgClrDay, "26"},
    {kConfig, "ChrgClrLast", &Settings::FChrgClrLast, ""},
    {kConfig, "MonthlyLog", &Settings::FMonthlyLog, "0"},
    {kConfig, "CurrentLog", &Settings::FCurrentLog, "0"},
    {kConfig, "CLogBackup", &Settings::FCLogBackup, "1"},
    {kConfig, "Debug", &Settings::FDebug, "0", false},
    {kATCommand, "Charge", &Settings::FATCharge, "at\\c0"},
    {kATCommand, "DialInfo", &Settings::FATDialInfo, "at\\l0"},
    {kATCommand, "RxInfo", &Settings::FATRxInfo, "at\\l1"},
    {kATCommand, "ChrgClr", &Settings::FATChrgClr, "at\\c1"},
};

}  // namespace

void LoadSettings(const std::string& iniPath, Settings& settings, const DateFormats& formats, const Clock& clock) {
  const ProfileFile file(iniPath);
  for (const SettingKey& key : kSettingKeys) {
    std::visit(
        [&](auto field) {
          using Value = std::remove_reference_t<decltype(settings.*field)>;
          if constexpr (std::is_same_v<Value, std::string>) {
            settings.*field = file.ReadString(key.section, key.name, key.fallback);
          } else if constexpr (std::is_same_v<Value, TDateTime>) {
            settings.*field = ReadDate(file, key.section, key.name, formats, clock);
          } else {
            const std::int32_t number =
                ReadInteger(file, key.section, key.name, ParseInteger(key.fallback).value_or(0));
            if constexpr (std::is_same_v<Value, bool>) {
              settings.*field = number != 0;
            } else {
              settings.*field = number;
            }
          }
        },
        key.field);
  }
}

std::optional<std::string> SaveSettings(const std::string& iniPath, const Settings& settings,
                                        const DateFormats& formats) {
  ProfileFile file(iniPath);
  bool complete = true;
  for (const SettingKey& key : kSettingKeys) {
    if (!key.saved) continue;
    const std::string text = std::visit(
        [&](auto field) -> std::string {
          const auto& value = settings.*field;
          using Value = std::remove_cvref_t<decltype(value)>;
          if constexpr (std::is_same_v<Value, std::string>) {
            return value;
          } else if constexpr (std::is_same_v<Value, TDateTime>) {
            return DateToText(value, formats);
          } else if constexpr (std::is_same_v<Value, bool>) {
            return BoolText(value);
          } else {
            return std::to_string(value);
          }
        },
        key.field);
    if (!file.WriteString(key.section, key.name, text)) {
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
