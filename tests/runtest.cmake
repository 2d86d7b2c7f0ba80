# Runs one test binary with a fresh private runtime folder and settings folder, so
# tests never meet each other's windows or files. The folder is short and under /tmp
# because local socket paths are limited to about a hundred characters.
string(RANDOM LENGTH 8 _tag)
set(WORK /tmp/cxt-${_tag})
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/run ${WORK}/home)
file(CHMOD ${WORK}/run DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(ENV{XDG_RUNTIME_DIR} ${WORK}/run)
set(ENV{CANTORIX_HOME} ${WORK}/home)
set(ENV{CANTORIX_TEST_TMP} ${WORK})
execute_process(COMMAND ${TEST_EXE} RESULT_VARIABLE rc)
file(REMOVE_RECURSE ${WORK})
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${TEST_NAME} failed: ${rc}")
endif()
