# Fails when a text the windows can show has no English translation: runs
# lupdate over the sources on a copy of the English catalogue, then wants
# the copy unchanged (no text new to it, none gone from the sources) and no
# entry left unfinished. Run as: cmake -DLUPDATE=... -DTS=... -DCOPY=...
# -DARGS="..." -P catalogue_check.cmake
file(COPY_FILE ${TS} ${COPY})
separate_arguments(args UNIX_COMMAND "${ARGS}")
execute_process(COMMAND ${LUPDATE} ${args} ${COPY} RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lupdate failed (${status})")
endif()
file(READ ${TS} kept)
file(READ ${COPY} refreshed)
if(NOT kept STREQUAL refreshed)
  message(FATAL_ERROR "qt/i18n/zelkar_en.ts is behind the sources: build the target "
                      "zelkar_lupdate, translate what it adds and commit the catalogue")
endif()
string(REGEX MATCHALL "<source>[^<]*</source>[^<]*<translation type=\"unfinished\"" open
       "${kept}")
string(REGEX MATCHALL "<translation></translation>" empty "${kept}")
if(open OR empty)
  message(FATAL_ERROR "texts without an English translation: ${open} ${empty}")
endif()
