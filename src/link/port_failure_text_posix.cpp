#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "port_failure_text.h"

namespace mokuro {
namespace {

std::string UserName(uid_t uid, gid_t& primaryGroup) {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
  primaryGroup = entry.pw_gid;
  return entry.pw_name;
}

std::string GroupName(gid_t gid) {
  std::vector<char> buffer(65536);
  group entry{};
  group* found = nullptr;
  if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
  return entry.gr_name;
}

bool ProcessHasGroup(gid_t gid) {
  if (::getegid() == gid) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int got = ::getgroups(count, groups.data());
  return got > 0 && std::find(groups.begin(), groups.begin() + got, gid) != groups.begin() + got;
}

bool UserListedInGroup(gid_t gid) {
  gid_t primary = 0;
  const std::string user = UserName(::getuid(), primary);
  if (user.empty()) return false;
  int count = 64;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  if (::getgrouplist(user.c_str(), primary, groups.data(), &count) < 0) {
    groups.resize(static_cast<std::size_t>(count));
    if (::getgrouplist(user.c_str(), primary, groups.data(), &count) < 0) return false;
  }
  return std::find(groups.begin(), groups.begin() + count, gid) != groups.begin() + count;
}

}  // namespace

DeviceAccess QueryDeviceAccess(const std::string& device) {
  DeviceAccess access;
  struct stat st {};
  if (::stat(device.c_str(), &st) != 0) return access;
  gid_t ignored = 0;
  access.owner = UserName(st.st_uid, ignored);
  access.group = GroupName(st.st_gid);
  access.groupMayUse = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
  access.inGroup = ProcessHasGroup(st.st_gid);
  access.listedInGroup = UserListedInGroup(st.st_gid);
  return access;
}

}  // namespace mokuro
