#pragma once

#include <string>
#include <string_view>

namespace mokuro {

// What a device's owner and group tell about why it refused this user.
struct DeviceAccess {
  // Empty when they can't be looked up.
  std::string owner;
  std::string group;
  // The group may read and write the device.
  bool groupMayUse = false;
  // The program runs with the group.
  bool inGroup = false;
  // The user database lists the user in the group: it takes effect at the next login.
  bool listedInGroup = false;
};

// The owner and group of `device`, and how the user stands to them.
DeviceAccess QueryDeviceAccess(const std::string& device);

// A port failure as the user reads it: `headline` as the first line, then the port with its
// device and the system's reason for `error`, and for a refused permission what would let
// the user in.
std::string PortFailureText(std::string_view headline, const std::string& portName, int error);
// The same from the device and its access as given.
std::string PortFailureText(std::string_view headline, const std::string& portName, const std::string& device,
                            int error, const DeviceAccess& access);

}  // namespace mokuro
