// The phone book: load a file, save it, load it again, look numbers up.
// Input: a number, zero byte, the file's bytes.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "file_bytes.h"
#include "fuzz_check.h"
#include "fuzz_fields.h"
#include "fuzz_folder.h"
#include "phone_list.h"

namespace mokuro {
namespace {

using fuzz::Check;

// Each lookup goes through the book: a few dozen numbers are enough.
constexpr std::size_t kMaxNumbers = 32;

// The file as it is written back: every line end, and the end of a last line without
// one, becomes CR LF.
std::string WithCrLf(std::string_view bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') {
      out += bytes[i];
      continue;
    }
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    out += "\r\n";
  }
  if (!bytes.empty() && !out.ends_with("\r\n")) out += "\r\n";
  return out;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y && (x >= 0x80 || y >= 0x80 || std::tolower(x) != std::tolower(y))) return false;
  }
  return true;
}

// The first line whose text before its first "=" is the number gives the name.
std::string FirstMatch(const TPhoneList& list, std::string_view number) {
  for (const std::string& line : list) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && SameIgnoringAsciiCase(std::string_view(line).substr(0, equals), number)) {
      return line.substr(equals + 1);
    }
  }
  return {};
}

std::string SwapAsciiCase(std::string text) {
  for (char& c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x80) c = static_cast<char>(std::islower(u) ? std::toupper(u) : std::tolower(u));
  }
  return text;
}

}  // namespace
}  // namespace mokuro

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mokuro;
  const std::vector<std::string_view> fields = fuzz::SplitFields(fuzz::AsText(data, size), 2);
  if (fields.size() < 2) return 0;
  const std::string bytes(fields[1]);
  const std::string path = fuzz::Folder().File("PhoneLst.txt");
  const std::string copy = fuzz::Folder().File("PhoneLst-copy.txt");
  test::WriteBytes(path, bytes);

  TPhoneList list;
  Check(!LoadPhoneList(path, list), "the book loads");
  Check(JoinLines(list) == WithCrLf(bytes), "every line is loaded, whatever ends it");
  Check(!SavePhoneList(copy, list), "the book saves");
  Check(test::ReadBytes(copy) == JoinLines(list), "the saved file is the lines, each ended by CR LF");
  TPhoneList reloaded;
  Check(!LoadPhoneList(copy, reloaded), "the saved book loads");
  Check(reloaded == list, "the saved book loads as it was");

  std::vector<std::string> numbers = {std::string(fields[0])};
  for (const std::string& line : list) {
    if (numbers.size() >= kMaxNumbers) break;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    numbers.push_back(line.substr(0, equals));
    numbers.push_back(SwapAsciiCase(numbers.back()));
  }
  for (const std::string& number : numbers) {
    Check(LookupName(list, number) == FirstMatch(list, number), "the first matching line names the number");
  }
  return 0;
}
