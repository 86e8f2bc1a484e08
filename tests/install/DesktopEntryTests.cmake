# The installed desktop entry starts the installed program by its absolute path, whatever the prefix.
#   ORVEL_BUILD    the build folder to install from
#   ORVEL_SOURCE   the source folder
#   ORVEL_SCRATCH  a folder the test may fill
file(REMOVE_RECURSE "${ORVEL_SCRATCH}")

function(expect_exec entry expected)
  file(STRINGS "${entry}" lines REGEX "^Exec=")
  if(NOT lines STREQUAL "Exec=${expected} %u")
    message(FATAL_ERROR "${entry}: expected Exec=${expected} %u, found ${lines}")
  endif()
endfunction()

# The install step itself, into a prefix given only at install time.
set(prefix "${ORVEL_SCRATCH}/my prefix")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${ORVEL_BUILD}" --component desktop --prefix "${prefix}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
expect_exec("${prefix}/share/applications/orvel.desktop" "\"${prefix}/bin/orvel\"")

# The quoting of program paths, one case per row: the path, then the Exec value's program.
set(cases
    "/usr/bin/orvel" "/usr/bin/orvel"
    "/opt/two words/orvel" "\"/opt/two words/orvel\""
    "/opt/a$b/orvel" "\"/opt/a\\\\$b/orvel\""
    "/opt/a\"b/orvel" "\"/opt/a\\\\\"b/orvel\""
    "/opt/back\\slash/orvel" "\"/opt/back\\\\\\\\slash/orvel\""
    "/opt/100%/orvel" "/opt/100%%/orvel")
list(LENGTH cases count)
math(EXPR last "${count} - 1")
foreach(index RANGE 0 ${last} 2)
  math(EXPR next "${index} + 1")
  list(GET cases ${index} program)
  list(GET cases ${next} expected)
  set(entry "${ORVEL_SCRATCH}/case${index}.desktop")
  execute_process(COMMAND "${CMAKE_COMMAND}" "-DORVEL_DESKTOP_TEMPLATE=${ORVEL_SOURCE}/Orvel/app/orvel.desktop.in"
                          "-DORVEL_DESKTOP_PROGRAM=${program}" "-DORVEL_DESKTOP_OUTPUT=${entry}"
                          -P "${ORVEL_SOURCE}/cmake/DesktopEntry.cmake"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${program}: the desktop entry was not written")
  endif()
  expect_exec("${entry}" "${expected}")
endforeach()

# A relative program path is refused rather than written.
execute_process(COMMAND "${CMAKE_COMMAND}" "-DORVEL_DESKTOP_TEMPLATE=${ORVEL_SOURCE}/Orvel/app/orvel.desktop.in"
                        "-DORVEL_DESKTOP_PROGRAM=bin/orvel" "-DORVEL_DESKTOP_OUTPUT=${ORVEL_SCRATCH}/relative.desktop"
                        -P "${ORVEL_SOURCE}/cmake/DesktopEntry.cmake"
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
if(status EQUAL 0 OR EXISTS "${ORVEL_SCRATCH}/relative.desktop")
  message(FATAL_ERROR "a relative program path was written into the desktop entry")
endif()
