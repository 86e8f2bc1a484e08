# Writes the desktop entry from its template with the absolute path of the installed program, so that
# the launcher and orvel:// links start this program and not whatever named "orvel" comes first in PATH
# (~/.local/bin comes first on Debian). Run as a script, at install time:
#   ORVEL_DESKTOP_TEMPLATE  the template, whose Exec line holds @ORVEL_DESKTOP_EXEC@
#   ORVEL_DESKTOP_PROGRAM   the program's absolute path
#   ORVEL_DESKTOP_OUTPUT    the file to write
foreach(variable ORVEL_DESKTOP_TEMPLATE ORVEL_DESKTOP_PROGRAM ORVEL_DESKTOP_OUTPUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "DesktopEntry.cmake needs ${variable}")
  endif()
endforeach()
if(NOT IS_ABSOLUTE "${ORVEL_DESKTOP_PROGRAM}")
  message(FATAL_ERROR "The desktop entry needs the program's absolute path, not ${ORVEL_DESKTOP_PROGRAM}")
endif()

# The program as the Exec key's first argument: a path with a reserved character is quoted, with ", `,
# $ and \ escaped inside the quotes; then the value's own escapes double every backslash, and a percent
# sign, which would start a field code, is doubled.
set(exec "${ORVEL_DESKTOP_PROGRAM}")
string(REGEX MATCH "[ \t\n\"'\\\\><~|&;$*?#()`]" reserved "${exec}")
if(NOT reserved STREQUAL "")
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")

set(ORVEL_DESKTOP_EXEC "${exec}")
configure_file("${ORVEL_DESKTOP_TEMPLATE}" "${ORVEL_DESKTOP_OUTPUT}" @ONLY)
