# The hardening Debian builds its own packages with: checked string and memory calls, a
# guarded stack, relocations read-only from the start. Not with sanitizers, which bring
# checks of their own, and the checked calls only where the build optimises, as they need.
if(NOT MOKURO_SANITIZE)
  add_compile_options($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2> -fstack-protector-strong)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
