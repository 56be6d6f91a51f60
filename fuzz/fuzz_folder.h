#pragma once

#include "temp_dir.h"

namespace mokuro::fuzz {

// One folder for the files of every execution, removed when the fuzzer ends normally.
inline const test::TempDir& Folder() {
  static const test::TempDir folder;
  return folder;
}

}  // namespace mokuro::fuzz
