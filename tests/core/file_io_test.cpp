#include "file_io.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
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
  EXPECT_EQ(AppendFileDurably(path, "lost"), std::errc::permission_denied);
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

TEST(FileIo, RenameNeverReplacesAFile) {
  test::TempDir dir;
  test::WriteBytes(dir.File("a"), "a");
  test::WriteBytes(dir.File("b"), "b");
  EXPECT_FALSE(RenameFile(dir.File("a"), dir.File("b")));
  EXPECT_FALSE(RenameFile(dir.File("missing"), dir.File("c")));
  EXPECT_TRUE(RenameFile(dir.File("a"), dir.File("c")));
  EXPECT_EQ(test::ReadBytes(dir.File("c")), "a");
  EXPECT_TRUE(FileExists(dir.File("b")));
  EXPECT_TRUE(RemoveFile(dir.File("b")));
  EXPECT_FALSE(FileExists(dir.File("b")));
  EXPECT_FALSE(RemoveFile(dir.File("b")));
}

}  // namespace
}  // namespace mokuro
