#pragma once

#include <string>

namespace mokuro {

// The calling thread's last error number, as the failing system call left it.
int LastSystemError();
void SetLastSystemError(int error);
// The system's own text for an error number.
std::string SystemErrorText(int error);

}  // namespace mokuro
