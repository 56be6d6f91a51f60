#include "system_error.h"

#include <cerrno>
#include <cstring>

namespace mokuro {

int LastSystemError() { return errno; }

void SetLastSystemError(int error) { errno = error; }

std::string SystemErrorText(int error) {
  char buffer[256];
  // The GNU strerror_r may return a static text instead of filling the buffer.
  return ::strerror_r(error, buffer, sizeof buffer);
}

}  // namespace mokuro
