#pragma once

#include <string>
#include <system_error>

namespace mokuro {

// Whole-file operations on the user's files. Paths and contents are bytes.
// A file without any write permission counts as read-only even for a superuser, as the
// read-only attribute does on the program's home platform.

std::error_code ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file as a whole or not at all: the bytes go to a temporary file in the
// same folder, reach the disk, and the temporary file is renamed over the old one.
std::error_code WriteFileAtomic(const std::string& path, const std::string& bytes);
// Removes the temporary files that writers of the file, killed before they could rename
// them, left in its folder. A writer of the same file that is still at work then fails
// and reports it, and the file stays whole.
void RemoveLeftoverTempFiles(const std::string& path);

// Appends all bytes and flushes them to disk, creating the file when missing. When they
// can't all be written the file is cut back to its old length.
std::error_code AppendFileDurably(const std::string& path, const std::string& bytes);

bool FileExists(const std::string& path);
bool RemoveFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);

}  // namespace mokuro
