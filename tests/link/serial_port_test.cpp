#include "serial_port.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <future>
#include <string>

#include "simulated_adapter.h"
#include "system_error.h"

namespace mokuro {
namespace {

TEST(SerialDevicePathTest, NamesPortsAsTheSystemDoes) {
  struct Case {
    const char* name;
    const char* path;
  };
  const Case cases[] = {
      {"COM1", "/dev/ttyS0"},   {"COM4", "/dev/ttyS3"},     {"com2", "/dev/ttyS1"},
      {"Com12", "/dev/ttyS11"}, {"/dev/ttyUSB0", "/dev/ttyUSB0"}, {"/dev/serial/by-id/usb-x", "/dev/serial/by-id/usb-x"},
      {"COM0", ""},             {"COM", ""},                {"COM01", ""},
      {"COM1x", ""},            {"COM-1", ""},              {"LPT1", ""},
      {"ttyS0", ""},            {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(SerialDevicePath(c.name), c.path) << c.name;
}

TEST(SerialPortTest, MissingDeviceIsNotOpened) {
  for (const char* name : {"/dev/mokuro-no-such-port", "COM0", "ttyS0"}) {
    EXPECT_EQ(OpenSerialPort(name), nullptr) << name;
    EXPECT_EQ(LastSystemError(), ENOENT) << name;
  }
}

TEST(SerialPortTest, IsHeldForExclusiveUse) {
  SimulatedAdapter adapter;
  auto first = OpenSerialPort(adapter.DevicePath());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(OpenSerialPort(adapter.DevicePath()), nullptr);
  EXPECT_EQ(LastSystemError(), EBUSY);
  first.reset();
  EXPECT_NE(OpenSerialPort(adapter.DevicePath()), nullptr);
}

TEST(SerialPortTest, WakeReleasesTheWaitForGood) {
  SimulatedAdapter adapter;
  auto port = OpenSerialPort(adapter.DevicePath());
  ASSERT_NE(port, nullptr);
  auto waiting = std::async(std::launch::async, [&] { return port->WaitForInput(); });
  port->Wake();
  ASSERT_EQ(waiting.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_FALSE(waiting.get().hungUp);
  EXPECT_FALSE(port->WaitForInput().hungUp);
}

TEST(SerialPortTest, PulledDeviceHangsUp) {
  SimulatedAdapter adapter;
  auto port = OpenSerialPort(adapter.DevicePath());
  ASSERT_NE(port, nullptr);
  adapter.Unplug();
  const PortWaitResult wait = port->WaitForInput();
  EXPECT_TRUE(wait.hungUp);
  EXPECT_NE(wait.error, 0);
  EXPECT_NE(port->QueuedBytes().error, 0);
  char byte;
  EXPECT_NE(port->Read(&byte, 1).error, 0);
  EXPECT_EQ(port->Write("at\r", std::chrono::milliseconds(1000)).status, PortWriteResult::kFailed);
}

TEST(SerialPortTest, RefusesSpeedsItHasNo) {
  SimulatedAdapter adapter;
  auto port = OpenSerialPort(adapter.DevicePath());
  ASSERT_NE(port, nullptr);
  EXPECT_FALSE(port->SetLine(12345));
  EXPECT_EQ(LastSystemError(), EINVAL);
  EXPECT_TRUE(port->SetLine(38400));
}

}  // namespace
}  // namespace mokuro
