# Our own targets link this to get fatal warnings; third-party headers come in as system headers.
add_library(mokuro_warnings INTERFACE)
target_compile_options(mokuro_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror)
# GCC 12 reports uninitialised members inside the standard library's own templates (regex,
# function) once sanitizers change its inlining; the plain build keeps the check.
if(MOKURO_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(mokuro_warnings INTERFACE -Wno-maybe-uninitialized)
endif()
