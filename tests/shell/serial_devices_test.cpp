#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "serial_devices.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

TEST(SerialDevices, UsbDevicesInNumberOrderThenTheirNamesById) {
  test::TempDir dev;
  std::filesystem::create_directories(dev.File("serial/by-id"));
  for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "tty", "ttyUSB", "null", "serial/by-id/usb-B",
                           "serial/by-id/usb-A"}) {
    test::WriteBytes(dev.File(name), "");
  }
  const std::vector<std::string> expected = {
      dev.File("ttyUSB"),  dev.File("ttyUSB2"),          dev.File("ttyUSB10"),
      dev.File("ttyACM0"), dev.File("serial/by-id/usb-A"), dev.File("serial/by-id/usb-B")};
  EXPECT_EQ(SerialDeviceNames(dev.Folder()), expected);
}

TEST(SerialDevices, NoneWhereTheFolderIsMissing) {
  test::TempDir dev;
  EXPECT_TRUE(SerialDeviceNames(dev.File("missing")).empty());
}

}  // namespace
}  // namespace mokuro
