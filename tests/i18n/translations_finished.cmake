# Runs lupdate over the sources into a copy of the English .ts and fails,
# naming them, when any entry has no finished English: a screen text added
# or changed without its translation.
#   cmake -DLUPDATE=… -DSOURCE_DIR=… -DWORK_DIR=… -P translations_finished.cmake
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY ${SOURCE_DIR}/translations/tallymeter_en.ts DESTINATION ${WORK_DIR})
execute_process(
  COMMAND ${LUPDATE} -locations relative -no-obsolete -source-language ja_JP -target-language en_US
          src -ts ${WORK_DIR}/tallymeter_en.ts
  WORKING_DIRECTORY ${SOURCE_DIR}
  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lupdate failed: ${errors}")
endif()
file(READ ${WORK_DIR}/tallymeter_en.ts ts)
string(REGEX MATCHALL "<source>[^<]*(<byte[^>]*>[^<]*)*</source>[^<]*(<comment>[^<]*</comment>[^<]*)?(<extracomment>[^<]*</extracomment>[^<]*)?<translation type=\"unfinished\"" unfinished "${ts}")
list(LENGTH unfinished count)
if(count GREATER 0)
  string(REGEX REPLACE "<translation type=\"unfinished\"" "" unfinished "${unfinished}")
  list(JOIN unfinished "\n" listed)
  message(FATAL_ERROR "${count} screen text(s) without English in translations/tallymeter_en.ts:\n${listed}")
endif()
message(STATUS "every screen text has its English")
