#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace mokuro {

// Bits of the line error flags, as TakeErrorFlags reports them.
enum LineErrorFlag : std::uint32_t {
  kLineOverrun = 1,        // the hardware lost characters
  kLineBufferOverrun = 2,  // the driver's input queue was full
  kLineParity = 4,
  kLineFraming = 8,
  kLineBreak = 16,
};

struct PortWaitResult {
  // The device is gone (pulled, hung up): waits return at once and reads fail from now on.
  bool hungUp = false;
  int error = 0;  // with hungUp: the error number to report
};

struct PortReadResult {
  std::size_t count = 0;
  int error = 0;  // non-zero: the device is gone
};

struct PortWriteResult {
  enum Status { kDone, kFailed, kFailedPending };
  // kFailed: the write failed at once; kFailedPending: it had to wait for room in the
  // output queue and then failed or ran out of time.
  Status status = kDone;
  int error = 0;
};

// An open serial device, held for exclusive use until the object is destroyed.
// One thread waits and reads while another writes; Wake may be called from any thread.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // The line settings the adapter needs: the speed, 8 data bits, no parity, one stop bit,
  // raw bytes, no flow control. False, with the reason as the thread's last system error,
  // when the device refuses any of it.
  virtual bool SetLine(std::int32_t baudRate) = 0;
  // False, with the thread's last system error, on a failure; a device without modem
  // lines (a pseudo-terminal) counts as success.
  virtual bool SetDtr(bool on) = 0;
  // Drops whatever is queued in both directions.
  virtual bool Purge() = 0;

  // Blocks until input is queued, the device is gone, or Wake has been called.
  virtual PortWaitResult WaitForInput() = 0;
  // Releases the wait, and every later one.
  virtual void Wake() = 0;

  // Bytes waiting in the input queue; error non-zero when the device is gone.
  virtual PortReadResult QueuedBytes() = 0;
  // Reads what is queued, at most count bytes; never waits.
  virtual PortReadResult Read(char* buffer, std::size_t count) = 0;
  // Writes all the bytes, waiting for room in the output queue at most totalTimeout.
  virtual PortWriteResult Write(std::string_view bytes, std::chrono::milliseconds totalTimeout) = 0;
  // The line errors since the last call, as LineErrorFlag bits; false when the device
  // doesn't keep them.
  virtual bool TakeErrorFlags(std::uint32_t& flags) = 0;
};

// The device a port name stands for: "COMn" (any case) is the n-th serial port, a name
// beginning with "/" is a device path used as it is; empty for any other name.
std::string SerialDevicePath(const std::string& portName);

// Opens the port for exclusive use. Null, with the reason as the thread's last system
// error, when the device is missing or held by another program.
std::unique_ptr<SerialPort> OpenSerialPort(const std::string& portName);

}  // namespace mokuro
