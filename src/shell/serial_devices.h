#pragma once

#include <string>
#include <vector>

namespace mokuro {

// The serial devices this machine has beside COM1 to COM4 (/dev/ttyS0 to ttyS3), by the
// names that open them, in a stable order: the further built-in ports, the USB adapters,
// the boards' own ports, Bluetooth ports, then the USB adapters' names by id, which stay
// the same whichever socket the adapter is in. A built-in port that the kernel keeps a
// place for but found no chip for is left out. `deviceFolder` is where the devices are
// looked for, `ttyClassFolder` where the kernel describes them.
std::vector<std::string> SerialDeviceNames(const std::string& deviceFolder = "/dev",
                                           const std::string& ttyClassFolder = "/sys/class/tty");

}  // namespace mokuro
