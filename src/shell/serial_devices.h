#pragma once

#include <string>
#include <vector>

namespace mokuro {

// The serial adapters this machine has, by the names that open them, in a stable order:
// the USB serial devices, then their names by id, which stay the same whichever socket
// the adapter is in. `deviceFolder` is where the devices are looked for.
std::vector<std::string> SerialDeviceNames(const std::string& deviceFolder = "/dev");

}  // namespace mokuro
