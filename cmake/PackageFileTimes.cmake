# Run by CPack on the staged package tree: every file and folder dated no later
# than the sources' own time, so that two builds of one commit give the same
# package byte for byte. The time is SOURCE_DATE_EPOCH when the packager sets
# it, else the last commit's, else noon of the release's date.
set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(NOT epoch MATCHES "^[0-9]+$")
  execute_process(COMMAND git -C "${CPACK_TARVEX_SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    set(epoch "")
  endif()
endif()
if(NOT epoch MATCHES "^[0-9]+$" AND CPACK_TARVEX_RELEASE_DATE)
  execute_process(COMMAND date -u -d "${CPACK_TARVEX_RELEASE_DATE} 12:00:00 UTC" +%s
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(WARNING "Tarvex: no date for the package's files (no SOURCE_DATE_EPOCH, git or release date); "
                  "they keep the times of this build")
  return()
endif()
# CPack's own archive writer reads it for the times of the files it makes itself.
set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
# Clamped, not set: a file older than the sources keeps its time (links included, not their targets).
execute_process(COMMAND find "${CPACK_TEMPORARY_DIRECTORY}" -newermt "@${epoch}"
                        -exec touch -h -d "@${epoch}" {} +
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "Tarvex: could not date the package's files (find/touch exited with ${status})")
endif()
