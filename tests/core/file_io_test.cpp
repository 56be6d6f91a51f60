#include "file_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

TEST(FileIo, AtomicWriteReplacesAndKeepsTheMode) {
  test::TempDir dir;
  const auto path = dir.File("a.txt");
  ASSERT_FALSE(WriteFileAtomic(path, "first"));
  ::chmod(path.c_str(), 0640);
  ASSERT_FALSE(WriteFileAtomic(path, "second"));
  EXPECT_EQ(test::ReadBytes(path), "second");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Folder()), {}), 1) << "no temporary file left";
}

TEST(FileIo, ReadOnlyFileIsRefusedAndKept) {
  test::TempDir dir;
  const auto path = dir.File("a.txt");
  test::WriteBytes(path, "keep");
  ::chmod(path.c_str(), 0444);
  EXPECT_EQ(WriteFileAtomic(path, "lost"), std::errc::permission_denied);
  EXPECT_EQ(AppendFileAtomic(path, "lost"), std::errc::permission_denied);
  EXPECT_EQ(ReplaceWithCopyOf(path, path), std::errc::permission_denied);
  EXPECT_EQ(test::ReadBytes(path), "keep");
  EXPECT_TRUE(WriteFileAtomic(dir.File("no/such/folder.txt"), "x"));
}

TEST(FileIo, LeftoverTempFilesOfTheFileAloneAreRemoved) {
  test::TempDir dir;
  const auto path = dir.File("a.ini");
  for (const char* name : {"a.ini", "a.ini.tmp-Ab12Cd", "a.ini.tmp-zzzzzz", "a.ini.tmp-short", "a.ini.tmp-toolong7",
                           "b.ini.tmp-Ab12Cd", "xa.ini.tmp-Ab12Cd"}) {
    test::WriteBytes(dir.File(name), name);
  }
  std::filesystem::create_directory(dir.File("a.ini.tmp-folder"));
  RemoveLeftoverTempFiles(path);
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Folder())) left.push_back(entry.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"a.ini", "a.ini.tmp-folder", "a.ini.tmp-short", "a.ini.tmp-toolong7",
                                            "b.ini.tmp-Ab12Cd", "xa.ini.tmp-Ab12Cd"}));
  EXPECT_EQ(test::ReadBytes(path), "a.ini");
}

TEST(FileIo, ExistsAndRemove) {
  test::TempDir dir;
  test::WriteBytes(dir.File("b"), "b");
  EXPECT_TRUE(FileExists(dir.File("b")));
  EXPECT_FALSE(FileExists(dir.Folder()));
  EXPECT_TRUE(RemoveFile(dir.File("b")));
  EXPECT_FALSE(FileExists(dir.File("b")));
  EXPECT_FALSE(RemoveFile(dir.File("b")));
}

std::vector<std::string> Names(const test::TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Folder())) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// A user file kept as a link into another folder: every writer changes the target and
// keeps the link, also where the target is not made yet or the link is relative.
TEST(FileIo, WritersFollowSymbolicLinks) {
  using Writer = std::error_code (*)(const std::string&, const std::string&);
  const std::pair<const char*, Writer> writers[] = {
      {"write", [](const std::string& p, const std::string& b) { return WriteFileAtomic(p, b); }},
      {"append", [](const std::string& p, const std::string& b) { return AppendFileAtomic(p, b); }},
      {"copy", [](const std::string& p, const std::string& b) {
         test::WriteBytes(p + ".source", b);
         return ReplaceWithCopyOf(p + ".source", p);
       }}};
  for (const auto& [name, write] : writers) {
    for (const bool relative : {false, true}) {
      for (const bool targetExists : {true, false}) {
        SCOPED_TRACE(std::string(name) + (relative ? " relative" : " absolute") + (targetExists ? "" : " dangling"));
        test::TempDir home;
        test::TempDir synced;
        const std::string target = synced.File("Mokuro.ini");
        if (targetExists) test::WriteBytes(target, "old;");
        const std::string link = home.File("Mokuro.ini");
        const std::string linkText = relative ? std::filesystem::relative(target, home.Folder()).string() : target;
        ASSERT_EQ(::symlink(linkText.c_str(), link.c_str()), 0);
        ASSERT_FALSE(write(link, "new;"));
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        const bool appended = std::string_view(name) == "append" && targetExists;
        EXPECT_EQ(test::ReadBytes(target), appended ? "old;new;" : "new;");
        EXPECT_EQ(Names(synced), (std::vector<std::string>{"Mokuro.ini"}));
      }
    }
  }
}

TEST(FileIo, LinkLoopIsAnError) {
  test::TempDir dir;
  ASSERT_EQ(::symlink("b", dir.File("a").c_str()), 0);
  ASSERT_EQ(::symlink("a", dir.File("b").c_str()), 0);
  EXPECT_EQ(WriteFileAtomic(dir.File("a"), "x"), std::errc::too_many_symbolic_link_levels);
}

TEST(FileIo, AppendKeepsTheOldBytesAndMakesAMissingFile) {
  test::TempDir dir;
  const auto path = dir.File("ChrgLog.txt");
  ASSERT_FALSE(AppendFileAtomic(path, "a\r\n"));
  ASSERT_FALSE(AppendFileAtomic(path, std::string("\0\x82\r", 3)));
  EXPECT_EQ(test::ReadBytes(path), std::string("a\r\n\0\x82\r", 6));
  EXPECT_EQ(Names(dir), (std::vector<std::string>{"ChrgLog.txt"}));
}

TEST(FileIo, CopyReplacesInOneStepAndAMissingSourceLeavesTheTarget) {
  test::TempDir dir;
  test::WriteBytes(dir.File("Charge0.txt"), "zero");
  test::WriteBytes(dir.File("Charge1.txt"), "one");
  ASSERT_FALSE(ReplaceWithCopyOf(dir.File("Charge0.txt"), dir.File("Charge1.txt")));
  EXPECT_EQ(test::ReadBytes(dir.File("Charge1.txt")), "zero");
  // The copy is a file of its own: replacing the source leaves it.
  ASSERT_FALSE(WriteFileAtomic(dir.File("Charge0.txt"), "new"));
  EXPECT_EQ(test::ReadBytes(dir.File("Charge1.txt")), "zero");
  EXPECT_EQ(ReplaceWithCopyOf(dir.File("Charge7.txt"), dir.File("Charge1.txt")), std::errc::no_such_file_or_directory);
  EXPECT_EQ(test::ReadBytes(dir.File("Charge1.txt")), "zero");
  EXPECT_EQ(Names(dir), (std::vector<std::string>{"Charge0.txt", "Charge1.txt"}));
}

TEST(FileIo, StagedBytesAreNotInPlaceUntilCommittedAndGoWhenDropped) {
  test::TempDir dir;
  const auto path = dir.File("Charge0.txt");
  test::WriteBytes(path, "old");
  {
    StagedFile staged;
    ASSERT_FALSE(staged.Stage(path, "dropped"));
    EXPECT_EQ(test::ReadBytes(path), "old");
    EXPECT_EQ(Names(dir).size(), 2u);
  }
  EXPECT_EQ(Names(dir), (std::vector<std::string>{"Charge0.txt"}));
  StagedFile staged;
  ASSERT_FALSE(staged.Stage(path, "new"));
  ASSERT_FALSE(staged.Commit());
  EXPECT_EQ(test::ReadBytes(path), "new");
  EXPECT_EQ(Names(dir), (std::vector<std::string>{"Charge0.txt"}));
}

}  // namespace
}  // namespace mokuro
