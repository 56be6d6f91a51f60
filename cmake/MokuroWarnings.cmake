# Our own targets link this to get fatal warnings; third-party headers come in as system headers.
add_library(mokuro_warnings INTERFACE)
target_compile_options(mokuro_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror)
