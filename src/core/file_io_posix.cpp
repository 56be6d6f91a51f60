#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string_view>

#include "file_io.h"

namespace mokuro {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

std::error_code WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return {};
}

// The temporary file of a write is the file's name with this and six random characters.
constexpr std::string_view kTempInfix = ".tmp-";
constexpr std::size_t kTempRandomLength = 6;

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes a completed rename survive a power cut.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool IsReadOnly(const struct stat& st) { return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::error_code ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return LastError();
  char buffer[65536];
  std::error_code result;
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      result = LastError();
      break;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (result) bytes.clear();
  return result;
}

std::error_code WriteFileAtomic(const std::string& path, const std::string& bytes) {
  mode_t mode = NewFileMode();
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (IsReadOnly(st)) return std::make_error_code(std::errc::permission_denied);
    if (S_ISDIR(st.st_mode)) return std::make_error_code(std::errc::is_a_directory);
    mode = st.st_mode & 07777;
  }
  std::string temp = path + std::string(kTempInfix) + std::string(kTempRandomLength, 'X');
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return LastError();
  std::error_code result = WriteAll(fd, bytes);
  if (!result && ::fchmod(fd, mode) != 0) result = LastError();
  if (!result && ::fsync(fd) != 0) result = LastError();
  if (::close(fd) != 0 && !result) result = LastError();
  if (!result && ::rename(temp.c_str(), path.c_str()) != 0) result = LastError();
  if (result) {
    ::unlink(temp.c_str());
    return result;
  }
  SyncFolder(FolderOf(path));
  return {};
}

std::error_code AppendFileDurably(const std::string& path, const std::string& bytes) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && IsReadOnly(st)) return std::make_error_code(std::errc::permission_denied);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return LastError();
  std::error_code result;
  const off_t oldSize = ::lseek(fd, 0, SEEK_END);
  if (oldSize < 0) result = LastError();
  if (!result) result = WriteAll(fd, bytes);
  if (!result && ::fsync(fd) != 0) result = LastError();
  if (result && oldSize >= 0 && ::ftruncate(fd, oldSize) == 0) ::fsync(fd);
  if (::close(fd) != 0 && !result) result = LastError();
  return result;
}

void RemoveLeftoverTempFiles(const std::string& path) {
  const std::string folder = FolderOf(path);
  const std::string prefix = path.substr(path.find_last_of('/') + 1) + std::string(kTempInfix);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() != prefix.size() + kTempRandomLength || !name.starts_with(prefix)) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) {
  // Renaming onto an existing file fails, as it does on the program's home platform.
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  if (FileExists(to) || !FileExists(from)) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace mokuro
