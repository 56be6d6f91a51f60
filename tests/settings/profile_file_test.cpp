#include "profile_file.h"

#include <sys/stat.h>

#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "temp_dir.h"
#include "unprivileged.h"

namespace mokuro {
namespace {

constexpr const char* kFallback = "(fallback)";

TEST(ProfileFile, ReadsKeysAsThePrivateProfileFunctionsDo) {
  test::TempDir dir;
  const std::string path = dir.File("a.ini");
  test::WriteBytes(path,
                   "; comment\r\n"
                   "[Config]\r\n"
                   "Port=COM3\r\n"
                   "  timer  =  0x7D0  \r\n"
                   "Quoted=\" spaced \"\r\n"
                   "Single='x'\r\n"
                   "OnlyOpen=\"abc\r\n"
                   "Twice=\"\"a\"\"\r\n"
                   "Empty=\r\n"
                   "Blank=  \t\r\n"
                   "NoEquals\r\n"
                   ";Hidden=1\r\n"
                   "Port=COM9\r\n"
                   "[ATCommand]\r\n"
                   "Charge=at\\c0\r\n"
                   "[ config ]\r\n"
                   "Extra=1\r\n"
                   "[\x83\x5D]\r\n"  // a double-byte name whose second byte is "]"
                   "Name=\x95\x5C\r\n");
  const ProfileFile file(path);
  const struct {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Config", "Port", "COM3"},          {"CONFIG", "pORT", "COM3"},         {"Config", "Timer", "0x7D0"},
      {"Config", "Quoted", " spaced "},    {"Config", "Single", "x"},          {"Config", "OnlyOpen", "\"abc"},
      {"Config", "Twice", "\"a\""},        {"Config", "Empty", ""},            {"Config", "Blank", ""},
      {"Config", "NoEquals", kFallback},   {"Config", "Hidden", kFallback},    {"Config", "Charge", kFallback},
      {"Config", "Extra", kFallback},      {"ATCommand", "Charge", "at\\c0"},  {"\x83\x5D", "Name", "\x95\x5C"},
      {"Missing", "Port", kFallback},
  };
  for (const auto& c : cases) EXPECT_EQ(file.ReadString(c.section, c.key, kFallback), c.expected) << c.key;
}

TEST(ProfileFile, MissingFileAndOtherLineEndsRead) {
  test::TempDir dir;
  EXPECT_EQ(ProfileFile(dir.File("none.ini")).ReadString("Config", "Port", kFallback), kFallback);
  EXPECT_EQ(ProfileFile(dir.File("none/a.ini")).ReadString("Config", "Port", kFallback), kFallback);
  test::WriteBytes(dir.File("lf.ini"), "\xEF\xBB\xBF[Config]\nLeft=1\nPort=COM4");
  EXPECT_EQ(ProfileFile(dir.File("lf.ini")).ReadString("Config", "Port", kFallback), "COM4");
}

TEST(ProfileFile, LongValuesAreSeenUpToTheBufferAndKeptWhole) {
  test::TempDir dir;
  const std::string path = dir.File("a.ini");
  std::string value;
  for (int i = 0; i < 3000; ++i) value += static_cast<char>('a' + i % 26);
  ProfileFile file(path);
  ASSERT_TRUE(file.WriteString("S", "K", value));
  ASSERT_FALSE(file.Save());
  EXPECT_EQ(test::ReadBytes(path), "[S]\r\nK=" + value + "\r\n");
  EXPECT_EQ(ProfileFile(path).ReadString("S", "K", ""), value.substr(0, ProfileFile::kMaxValueLength));
}

// Shift_JIS, CR LF: comments, blank lines and the other sections come back byte for byte.
TEST(ProfileFile, WritesChangeOnlyTheirLines) {
  test::TempDir dir;
  const std::string path = dir.File("a.ini");
  test::WriteBytes(path,
                   "; \x90\xDD\x92\xE8\r\n"
                   "\r\n"
                   "[Config]\r\n"
                   "Port = COM1\r\n"
                   "; \x83\x7C\x81\x5B\x83\x67\r\n"
                   "\r\n"
                   "[Other]\r\n"
                   "Name=\x95\x5C\x8E\xA6\r\n");
  ProfileFile file(path);
  ASSERT_TRUE(file.WriteString("CONFIG", "port", "\x83\x5C"));
  ASSERT_TRUE(file.WriteString("Config", "Timer", "2000"));
  ASSERT_TRUE(file.WriteString("Other", "New", "1"));
  ASSERT_TRUE(file.WriteString("Third", "K", "v"));
  EXPECT_EQ(file.ReadString("Config", "Port", ""), "\x83\x5C");
  ASSERT_FALSE(file.Save());
  EXPECT_EQ(test::ReadBytes(path),
            "; \x90\xDD\x92\xE8\r\n"
            "\r\n"
            "[Config]\r\n"
            "Port = \x83\x5C\r\n"
            "Timer=2000\r\n"
            "; \x83\x7C\x81\x5B\x83\x67\r\n"
            "\r\n"
            "[Other]\r\n"
            "Name=\x95\x5C\x8E\xA6\r\n"
            "New=1\r\n"
            "[Third]\r\n"
            "K=v\r\n");
}

TEST(ProfileFile, NewLinesTakeTheFilesLineEnd) {
  test::TempDir dir;
  const struct {
    const char* before;
    const char* after;
  } cases[] = {
      {"[Config]\nPort=COM1", "[Config]\nPort=COM1\nTimer=1\n[New]\nK=v\n"},
      {"[Config]\r\n\r\n[B]\r\n", "[Config]\r\nTimer=1\r\n\r\n[B]\r\n[New]\r\nK=v\r\n"},
      {"; only a comment", "; only a comment\r\n[Config]\r\nTimer=1\r\n[New]\r\nK=v\r\n"},
  };
  for (const auto& c : cases) {
    const std::string path = dir.File("a.ini");
    test::WriteBytes(path, c.before);
    ProfileFile file(path);
    ASSERT_TRUE(file.WriteString("Config", "Timer", "1"));
    ASSERT_TRUE(file.WriteString("New", "K", "v"));
    ASSERT_FALSE(file.Save());
    EXPECT_EQ(test::ReadBytes(path), c.after) << c.before;
  }
}

TEST(ProfileFile, ValuesReadBackAsWritten) {
  test::TempDir dir;
  const std::string path = dir.File("a.ini");
  const std::string values[] = {" lead", "trail ", "\"q\"", "'s'", "\"", "a\"b", "", "at\\c0", "\x95\x5C"};
  {
    ProfileFile file(path);
    for (std::size_t i = 0; i < std::size(values); ++i) ASSERT_TRUE(file.WriteString("S", std::to_string(i), values[i]));
    ASSERT_FALSE(file.Save());
  }
  const ProfileFile file(path);
  for (std::size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(file.ReadString("S", std::to_string(i), kFallback), values[i]);
  }
}

TEST(ProfileFile, LineBreakInAValueIsRefused) {
  test::TempDir dir;
  const std::string path = dir.File("a.ini");
  test::WriteBytes(path, "[S]\r\nK=old\r\n");
  ProfileFile file(path);
  EXPECT_FALSE(file.WriteString("S", "K", "new\r\n[T]"));
  EXPECT_FALSE(file.WriteString("S", "L", "a\nb"));
  ASSERT_FALSE(file.Save());
  EXPECT_EQ(test::ReadBytes(path), "[S]\r\nK=old\r\n");
}

TEST(ProfileFile, FailedSaveLeavesTheOldFile) {
  test::TempDir dir;
  const std::string path = dir.File("a.ini");
  test::WriteBytes(path, "[S]\r\nK=old\r\n");
  ::chmod(path.c_str(), 0444);
  ProfileFile readOnly(path);
  ASSERT_TRUE(readOnly.WriteString("S", "K", "new"));
  EXPECT_TRUE(readOnly.Save());
  EXPECT_EQ(test::ReadBytes(path), "[S]\r\nK=old\r\n");

  test::WriteBytes(dir.File("file"), "");
  ProfileFile inAFile(dir.File("file/a.ini"));
  ASSERT_TRUE(inAFile.WriteString("S", "K", "new"));
  EXPECT_TRUE(inAFile.Save());
}

// A file that exists but can't be read would lose all its other lines if it were replaced.
TEST(ProfileFile, UnreadableFileIsNeverReplaced) {
  test::TempDir dir;
  const std::string path = dir.File("a.ini");
  test::WriteBytes(path, "[S]\r\nK=secret\r\n");
  ::chmod(path.c_str(), 0200);
  ::chmod(dir.Folder().c_str(), 0777);
  const auto result = test::RunUnprivileged([&path] {
    ProfileFile file(path);
    const std::string seen = file.ReadString("S", "K", kFallback);
    file.WriteString("S", "Other", "1");
    return seen + (file.Save() ? " refused" : " saved");
  });
  ASSERT_TRUE(result);
  EXPECT_EQ(*result, std::string(kFallback) + " refused");
  EXPECT_EQ(test::ReadBytes(path), "[S]\r\nK=secret\r\n");
}

}  // namespace
}  // namespace mokuro
