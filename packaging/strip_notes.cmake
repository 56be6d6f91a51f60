# Run by CPack on the staged files: drops the compilers' notes from the program, as
# Debian's own packages do.
file(GLOB_RECURSE programs "${CPACK_TEMPORARY_DIRECTORY}/*/bin/mokuro")
foreach(program IN LISTS programs)
  execute_process(COMMAND strip --remove-section=.comment --remove-section=.note "${program}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
if(NOT programs)
  message(FATAL_ERROR "no program staged below ${CPACK_TEMPORARY_DIRECTORY}")
endif()
