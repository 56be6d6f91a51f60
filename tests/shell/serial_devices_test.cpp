#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "serial_devices.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

TEST(SerialDevices, EachKindInNumberOrderThenTheUsbNamesById) {
  test::TempDir dev;
  test::TempDir sys;
  std::filesystem::create_directories(dev.File("serial/by-id"));
  for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS3", "ttyS4", "ttyS12", "ttyS5", "ttyS31",
                           "ttySx", "tty", "ttyUSB", "ttyAMA0", "rfcomm0", "null", "serial/by-id/usb-B",
                           "serial/by-id/usb-A"}) {
    test::WriteBytes(dev.File(name), "");
  }
  // ttyS5 has a chip, ttyS31 has none, ttyS4 and ttyS12 are not described.
  for (const auto& [name, type] : {std::pair{"ttyS5", "4\n"}, std::pair{"ttyS31", "0\n"}}) {
    std::filesystem::create_directories(sys.File(name));
    test::WriteBytes(sys.File(name) + "/type", type);
  }
  const std::vector<std::string> expected = {
      dev.File("ttyS4"),   dev.File("ttyS5"),   dev.File("ttyS12"),  dev.File("ttyUSB"),
      dev.File("ttyUSB2"), dev.File("ttyUSB10"), dev.File("ttyACM0"), dev.File("ttyAMA0"),
      dev.File("rfcomm0"), dev.File("serial/by-id/usb-A"), dev.File("serial/by-id/usb-B")};
  EXPECT_EQ(SerialDeviceNames(dev.Folder(), sys.Folder()), expected);
}

TEST(SerialDevices, NoneWhereTheFolderIsMissing) {
  test::TempDir dev;
  EXPECT_TRUE(SerialDeviceNames(dev.File("missing"), dev.File("missing")).empty());
}

}  // namespace
}  // namespace mokuro
