# Runs PROGRAM with the arguments ARGS (joined by ",") as a user without a display would (DISPLAY,
# WAYLAND_DISPLAY and QT_QPA_PLATFORM unset) and checks its exit status (STATUS) and that the
# stream STREAM (stdout or stderr) matches the regular expression MATCH.
# cmake -DPROGRAM=... -DARGS=... -DSTATUS=0 -DSTREAM=stdout -DMATCH=... -P expect-run.cmake
string(REPLACE "," ";" ARGS "${ARGS}")
execute_process(
  COMMAND env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ${PROGRAM} ${ARGS}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE stdout
  ERROR_VARIABLE stderr
  TIMEOUT 60)
if(NOT "${status}" STREQUAL "${STATUS}")
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\nstdout:\n${stdout}\nstderr:\n${stderr}")
endif()
if(NOT "${${STREAM}}" MATCHES "${MATCH}")
  message(FATAL_ERROR "${STREAM} does not match '${MATCH}':\n${${STREAM}}")
endif()
message(STATUS "exit status ${status}; ${STREAM}:\n${${STREAM}}")
