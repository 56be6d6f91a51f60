#include "port_failure_text.h"

#include <cerrno>

#include "serial_port.h"
#include "system_error.h"

namespace mokuro {
namespace {

// The usual case on Linux: the device belongs to a group such as "dialout" that the user
// has not joined, and a new group takes effect only at the next login.
std::string PermissionAdvice(const DeviceAccess& access) {
  if (access.group.empty()) return {};
  if (!access.groupMayUse || access.group == "root") {
    return "このデバイスの所有者は " + access.owner + "、グループは " + access.group + " です。";
  }
  if (access.inGroup) return {};
  if (access.listedInGroup) {
    return "グループ " + access.group + " には登録済みです。ログインし直すと使えるようになります。";
  }
  return "このデバイスを使えるのはグループ " + access.group + " のユーザーです。\n" +
         "次のコマンドでグループに入り、ログインし直してください:\n" + "  sudo usermod -aG " + access.group + " $USER";
}

}  // namespace

std::string PortFailureText(std::string_view headline, const std::string& portName, int error) {
  const std::string device = SerialDevicePath(portName);
  const bool refused = error == EACCES || error == EPERM;
  return PortFailureText(headline, portName, device, error,
                         refused && !device.empty() ? QueryDeviceAccess(device) : DeviceAccess{});
}

std::string PortFailureText(std::string_view headline, const std::string& portName, const std::string& device,
                            int error, const DeviceAccess& access) {
  std::string text(headline);
  text += '\n';
  text += device.empty() || device == portName ? portName : portName + " (" + device + ")";
  text += ": " + SystemErrorText(error);
  if (error == EACCES || error == EPERM) {
    if (const std::string advice = PermissionAdvice(access); !advice.empty()) text += '\n' + advice;
  }
  return text;
}

}  // namespace mokuro
