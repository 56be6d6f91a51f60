#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace mokuro {

// Whole-file operations on the user's files. Paths and contents are bytes.
// A file without any write permission counts as read-only even for a superuser, as the
// read-only attribute does on the program's home platform.
// Writers follow symbolic links: a file kept as a link elsewhere (into a synced folder,
// say) has its target replaced, and the link stays.

std::error_code ReadWholeFile(const std::string& path, std::string& bytes);

// New contents for a file, on disk beside it but not yet in its place, so that other
// files can be changed in between and the file still changes in one step.
class StagedFile {
 public:
  StagedFile() = default;
  // Discards what was staged and not committed.
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Writes the bytes to a temporary file in the folder of the file (of its link's
  // target), and makes them reach the disk. Temporary files that killed writers of the
  // same file left there are removed first.
  std::error_code Stage(const std::string& path, std::string_view bytes);
  // Puts the staged bytes in place of the file in one step.
  std::error_code Commit();

 private:
  void Discard();

  std::string target_;
  std::string temp_;
};

// Replaces the file as a whole or not at all: a crash leaves the old file or the new one.
std::error_code WriteFileAtomic(const std::string& path, std::string_view bytes);

// Appends the bytes, creating the file when missing. The longer file replaces the old one
// in one step, so that a crash or a full disk leaves the old file or all of the new one,
// never a part of the bytes.
std::error_code AppendFileAtomic(const std::string& path, std::string_view bytes);

// `to` gets what `from` holds, in one step; `from` stays. A missing `from` is
// no_such_file_or_directory, and `to` is then left alone.
std::error_code ReplaceWithCopyOf(const std::string& from, const std::string& to);

// Removes the temporary files that writers of the file, killed before they could rename
// them, left in its folder. A writer of the same file that is still at work then fails
// and reports it, and the file stays whole.
void RemoveLeftoverTempFiles(const std::string& path);
// The same for every file of the folder whose name `isTarget` accepts.
void RemoveLeftoverTempFilesIn(const std::string& folder, const std::function<bool(std::string_view name)>& isTarget);

bool FileExists(const std::string& path);
bool RemoveFile(const std::string& path);

}  // namespace mokuro
