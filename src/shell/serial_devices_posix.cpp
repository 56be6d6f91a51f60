#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string_view>
#include <system_error>

#include "serial_devices.h"

namespace mokuro {
namespace {

// "ttyUSB2" before "ttyUSB10": names compared by their text, runs of digits by value.
bool NaturalLess(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const bool digitA = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
    const bool digitB = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
    if (digitA && digitB) {
      std::size_t endA = i;
      std::size_t endB = j;
      while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA]))) ++endA;
      while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB]))) ++endB;
      const auto numberA = a.substr(i, endA - i);
      const auto numberB = b.substr(j, endB - j);
      const auto trimmedA = numberA.substr(std::min(numberA.find_first_not_of('0'), numberA.size()));
      const auto trimmedB = numberB.substr(std::min(numberB.find_first_not_of('0'), numberB.size()));
      if (trimmedA.size() != trimmedB.size()) return trimmedA.size() < trimmedB.size();
      if (trimmedA != trimmedB) return trimmedA < trimmedB;
      i = endA;
      j = endB;
    } else {
      if (a[i] != b[j]) return a[i] < b[j];
      ++i;
      ++j;
    }
  }
  return a.size() - i < b.size() - j;
}

// The entries of `folder` whose names begin with `prefix` (any prefix when empty) and that
// `wanted` accepts, in natural order.
std::vector<std::string> Entries(const std::filesystem::path& folder, std::string_view prefix,
                                 const std::function<bool(const std::string&)>& wanted) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.starts_with(prefix) && wanted(name)) names.push_back(it->path().string());
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
  return names;
}

// "ttyS4" and up: COM1 to COM4 are ttyS0 to ttyS3. The kernel makes a number of these
// whether or not there is a chip behind them; its type 0 says there is none.
bool FurtherBuiltInPort(const std::string& name, const std::filesystem::path& ttyClassFolder) {
  const std::string_view number = std::string_view(name).substr(4);
  unsigned value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (number.empty() || error != std::errc() || end != number.data() + number.size() || value < 4) return false;
  std::ifstream type(ttyClassFolder / name / "type");
  int chip = -1;
  return !(type >> chip) || chip != 0;
}

}  // namespace

std::vector<std::string> SerialDeviceNames(const std::string& deviceFolder, const std::string& ttyClassFolder) {
  const std::filesystem::path folder(deviceFolder);
  const auto any = [](const std::string&) { return true; };
  const auto builtIn = [&](const std::string& name) { return FurtherBuiltInPort(name, ttyClassFolder); };
  struct Group {
    const char* subfolder;
    const char* prefix;
    std::function<bool(const std::string&)> wanted;
  };
  const Group groups[] = {{"", "ttyS", builtIn},     {"", "ttyUSB", any}, {"", "ttyACM", any},
                          {"", "ttyAMA", any},       {"", "rfcomm", any}, {"serial/by-id", "", any}};
  std::vector<std::string> names;
  for (const Group& group : groups) {
    const auto found = Entries(folder / group.subfolder, group.prefix, group.wanted);
    names.insert(names.end(), found.begin(), found.end());
  }
  return names;
}

}  // namespace mokuro
