#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <random>

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

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

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

// The file that a path names once its symbolic links are followed; a link to a file not
// yet made names where that file will be.
std::error_code FollowLinks(const std::string& path, std::string& target) {
  target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT ? std::error_code() : LastError();
    if (!S_ISLNK(st.st_mode)) return {};
    std::string link(PATH_MAX, '\0');
    const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
    if (n < 0) return LastError();
    link.resize(static_cast<std::size_t>(n));
    target = link.starts_with('/') ? link : FolderOf(target) + "/" + link;
  }
  return std::make_error_code(std::errc::too_many_symbolic_link_levels);
}

// Checks that the file may be replaced, and gives the mode the new one is to have.
std::error_code ReplaceableMode(const std::string& path, mode_t& mode) {
  mode = NewFileMode();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  if (IsReadOnly(st)) return std::make_error_code(std::errc::permission_denied);
  if (S_ISDIR(st.st_mode)) return std::make_error_code(std::errc::is_a_directory);
  mode = st.st_mode & 07777;
  return {};
}

std::string RandomTempName(const std::string& path) {
  static constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
  std::string name = path + std::string(kTempInfix);
  for (std::size_t i = 0; i < kTempRandomLength; ++i) name += kLetters[pick(random)];
  return name;
}

// Whether a failed hard link calls for a copy instead: the file system can't link, or
// the two names lie on different ones.
bool LinkUnsupported(int error) {
  return error == EPERM || error == EXDEV || error == EMLINK || error == EOPNOTSUPP || error == ENOSYS;
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

StagedFile::~StagedFile() { Discard(); }

void StagedFile::Discard() {
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

std::error_code StagedFile::Stage(const std::string& path, std::string_view bytes) {
  Discard();
  if (const std::error_code error = FollowLinks(path, target_)) return error;
  mode_t mode = 0;
  if (const std::error_code error = ReplaceableMode(target_, mode)) return error;
  RemoveLeftoverTempFiles(target_);
  std::string temp = target_ + std::string(kTempInfix) + std::string(kTempRandomLength, 'X');
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return LastError();
  temp_ = std::move(temp);
  std::error_code result = WriteAll(fd, bytes);
  if (!result && ::fchmod(fd, mode) != 0) result = LastError();
  if (!result && ::fsync(fd) != 0) result = LastError();
  if (::close(fd) != 0 && !result) result = LastError();
  if (result) Discard();
  return result;
}

std::error_code StagedFile::Commit() {
  if (temp_.empty()) return std::make_error_code(std::errc::invalid_argument);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    const std::error_code error = LastError();
    Discard();
    return error;
  }
  temp_.clear();
  SyncFolder(FolderOf(target_));
  return {};
}

std::error_code WriteFileAtomic(const std::string& path, std::string_view bytes) {
  StagedFile staged;
  if (const std::error_code error = staged.Stage(path, bytes)) return error;
  return staged.Commit();
}

std::error_code AppendFileAtomic(const std::string& path, std::string_view bytes) {
  std::string contents;
  if (const std::error_code error = ReadWholeFile(path, contents); error && error != std::errc::no_such_file_or_directory) {
    return error;
  }
  contents.append(bytes);
  return WriteFileAtomic(path, contents);
}

std::error_code ReplaceWithCopyOf(const std::string& from, const std::string& to) {
  std::string target;
  if (const std::error_code error = FollowLinks(to, target)) return error;
  mode_t mode = 0;
  if (const std::error_code error = ReplaceableMode(target, mode)) return error;
  // A second name for the same bytes costs nothing and needs no data written.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string temp = RandomTempName(target);
    if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno == EEXIST) continue;
      if (!LinkUnsupported(errno)) return LastError();
      std::string bytes;
      if (const std::error_code error = ReadWholeFile(from, bytes)) return error;
      return WriteFileAtomic(target, bytes);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
      const std::error_code error = LastError();
      ::unlink(temp.c_str());
      return error;
    }
    SyncFolder(FolderOf(target));
    return {};
  }
  return std::make_error_code(std::errc::file_exists);
}

void RemoveLeftoverTempFiles(const std::string& path) {
  const std::string name = NameOf(path);
  RemoveLeftoverTempFilesIn(FolderOf(path), [&name](std::string_view target) { return target == name; });
}

void RemoveLeftoverTempFilesIn(const std::string& folder, const std::function<bool(std::string_view name)>& isTarget) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    const auto infix = name.rfind(kTempInfix);
    if (infix == std::string_view::npos || name.size() != infix + kTempInfix.size() + kTempRandomLength) continue;
    if (!isTarget(name.substr(0, infix))) continue;
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

}  // namespace mokuro
