#include "port_failure_text.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "file_bytes.h"
#include "serial_port.h"
#include "system_error.h"
#include "temp_dir.h"
#include "unprivileged.h"

namespace mokuro {
namespace {

constexpr const char* kOpenFailed = "通信ポートを開けません。";
constexpr const char* kSetupFailed = "通信ポートの初期化ができませんでした。";
constexpr const char* kJoinDialout =
    "このデバイスを使えるのはグループ dialout のユーザーです。\n"
    "次のコマンドでグループに入り、ログインし直してください:\n"
    "  sudo usermod -aG dialout $USER";

TEST(PortFailureText, NamesTheDeviceAndTheReasonAndWhatLetsTheUserIn) {
  struct Case {
    const char* headline;
    const char* port;
    const char* device;
    int error;
    DeviceAccess access;
    std::string expected;
  };
  const DeviceAccess dialout{"root", "dialout", true, false, false};
  const DeviceAccess joined{"root", "dialout", true, false, true};
  const DeviceAccess member{"root", "dialout", true, true, true};
  const DeviceAccess ownerOnly{"root", "tty", false, false, false};
  const DeviceAccess rootGroup{"root", "root", true, false, false};
  const std::string denied = SystemErrorText(EACCES);
  const Case cases[] = {
      {kOpenFailed, "COM1", "/dev/ttyS0", ENOENT, {},
       std::string(kOpenFailed) + "\nCOM1 (/dev/ttyS0): " + SystemErrorText(ENOENT)},
      {kOpenFailed, "/dev/ttyUSB0", "/dev/ttyUSB0", EBUSY, {},
       std::string(kOpenFailed) + "\n/dev/ttyUSB0: " + SystemErrorText(EBUSY)},
      {kOpenFailed, "LPT1", "", ENOENT, {}, std::string(kOpenFailed) + "\nLPT1: " + SystemErrorText(ENOENT)},
      {kOpenFailed, "/dev/ttyUSB0", "/dev/ttyUSB0", EACCES, dialout,
       std::string(kOpenFailed) + "\n/dev/ttyUSB0: " + denied + "\n" + kJoinDialout},
      {kOpenFailed, "com2", "/dev/ttyS1", EPERM, dialout,
       std::string(kOpenFailed) + "\ncom2 (/dev/ttyS1): " + SystemErrorText(EPERM) + "\n" + kJoinDialout},
      {kOpenFailed, "/dev/ttyUSB0", "/dev/ttyUSB0", EACCES, joined,
       std::string(kOpenFailed) + "\n/dev/ttyUSB0: " + denied +
           "\nグループ dialout には登録済みです。ログインし直すと使えるようになります。"},
      {kOpenFailed, "/dev/ttyUSB0", "/dev/ttyUSB0", EACCES, member,
       std::string(kOpenFailed) + "\n/dev/ttyUSB0: " + denied},
      {kOpenFailed, "/dev/ttyS0", "/dev/ttyS0", EACCES, ownerOnly,
       std::string(kOpenFailed) + "\n/dev/ttyS0: " + denied + "\nこのデバイスの所有者は root、グループは tty です。"},
      {kOpenFailed, "/dev/ttyS0", "/dev/ttyS0", EACCES, rootGroup,
       std::string(kOpenFailed) + "\n/dev/ttyS0: " + denied + "\nこのデバイスの所有者は root、グループは root です。"},
      {kOpenFailed, "/dev/gone", "/dev/gone", EACCES, {}, std::string(kOpenFailed) + "\n/dev/gone: " + denied},
      {kSetupFailed, "/tmp/file", "/tmp/file", ENOTTY, dialout,
       std::string(kSetupFailed) + "\n/tmp/file: " + SystemErrorText(ENOTTY)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PortFailureText(c.headline, c.port, c.device, c.error, c.access), c.expected) << c.port;
  }
}

// A device of the group dialout, refused to a user who isn't in it: the text tells how to
// join the group. Only root can make such a device and give up root to be refused.
TEST(PortFailureText, RefusedDeviceNamesItsGroupAndHowToJoinIt) {
  const group* dialout = ::getgrnam("dialout");
  if (::geteuid() != 0 || dialout == nullptr) GTEST_SKIP() << "needs root and the group dialout";
  test::TempDir dir;
  ASSERT_EQ(::chmod(dir.Folder().c_str(), 0755), 0);
  const std::string device = dir.File("ttyUSB0");
  test::WriteBytes(device, "");
  ASSERT_EQ(::chown(device.c_str(), 0, dialout->gr_gid), 0);
  ASSERT_EQ(::chmod(device.c_str(), 0660), 0);

  const auto text = test::RunUnprivileged([&] {
    if (OpenSerialPort(device) != nullptr) return std::string("opened");
    return PortFailureText(kOpenFailed, device, LastSystemError());
  });
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text, std::string(kOpenFailed) + "\n" + device + ": " + SystemErrorText(EACCES) + "\n" + kJoinDialout);
}

}  // namespace
}  // namespace mokuro
