// The INI layer: parse a settings file, read every key, write one, save, read it back.
// Input: section, zero byte, key, zero byte, value, zero byte, the file's bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ascii_text.h"
#include "file_bytes.h"
#include "fuzz_check.h"
#include "fuzz_fields.h"
#include "fuzz_folder.h"
#include "profile_file.h"

namespace mokuro {
namespace {

using fuzz::Check;

// No value can hold a line feed, so no value reads as this.
constexpr std::string_view kMissing = "\n";
// Each read scans the file: a few dozen keys are enough to see the others stay.
constexpr std::size_t kMaxKeys = 32;

struct Key {
  std::string section;
  std::string name;
};

// The names of the key lines, roughly as the file's readers see them: the reads are only
// compared before and after a write, so a name read wrongly here still checks something.
std::vector<Key> KeysIn(std::string_view bytes) {
  std::vector<Key> keys;
  std::string section;
  while (!bytes.empty() && keys.size() < kMaxKeys) {
    const std::size_t lf = bytes.find('\n');
    std::string_view line = TrimBlanks(bytes.substr(0, lf));
    bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.starts_with('[') && line.rfind(']') != std::string_view::npos) {
      section = TrimBlanks(line.substr(1, line.rfind(']') - 1));
    } else if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
      keys.push_back({section, std::string(TrimBlanks(line.substr(0, equals)))});
    }
  }
  return keys;
}

// A name that a line of the file can carry: no line break, no blank at either end; a key
// name without "=" that doesn't read as a comment or a section.
bool IsFileName(std::string_view name) {
  return name.find_first_of("\r\n") == std::string_view::npos && TrimBlanks(name) == name;
}
bool IsKeyName(std::string_view name) {
  return IsFileName(name) && name.find('=') == std::string_view::npos && !name.starts_with(';') &&
         !name.starts_with('[');
}

bool SameKey(const Key& key, std::string_view section, std::string_view name) {
  return EqualsIgnoringAsciiCase(key.section, section) && EqualsIgnoringAsciiCase(key.name, name);
}

}  // namespace
}  // namespace mokuro

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mokuro;
  const std::vector<std::string_view> fields = fuzz::SplitFields(fuzz::AsText(data, size), 4);
  if (fields.size() < 4) return 0;
  const std::string_view section = fields[0];
  const std::string_view key = fields[1];
  const std::string_view value = fields[2];
  const std::string bytes(fields[3]);
  const std::string path = fuzz::Folder().File("Mokuro.ini");
  test::WriteBytes(path, bytes);

  ProfileFile file(path);
  std::vector<Key> keys = KeysIn(bytes);
  keys.push_back({std::string(section), std::string(key)});
  std::vector<std::string> before;
  for (const Key& k : keys) {
    before.push_back(file.ReadString(k.section, k.name, kMissing));
    const std::string& read = before.back();
    Check(read == kMissing || read.find('\n') == std::string::npos, "a value holds no line feed");
    Check(read.size() <= ProfileFile::kMaxValueLength, "a value is seen up to the buffer's length");
  }

  const bool writable = IsFileName(section) && IsKeyName(key);
  const bool written = writable && file.WriteString(section, key, value);
  Check(written == (writable && value.find_first_of("\r\n") == std::string_view::npos),
        "every value without a line break is written");
  Check(!file.Save(), "the file is saved");
  if (!written) {
    Check(test::ReadBytes(path) == bytes, "a file read and saved unchanged keeps every byte");
    return 0;
  }

  const ProfileFile reread(path);
  Check(reread.ReadString(section, key, kMissing) == value.substr(0, ProfileFile::kMaxValueLength),
        "a written value reads back");
  // A file that ends in a lone CR: a line added after it makes that CR part of a CR LF,
  // so the value on its last line loses the CR.
  const bool endsInLoneCr = bytes.ends_with('\r');
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (SameKey(keys[i], section, key)) continue;
    const std::string after = reread.ReadString(keys[i].section, keys[i].name, kMissing);
    Check(after == before[i] || (endsInLoneCr && after + "\r" == before[i]), "a write changes no other key");
  }
  return 0;
}
