# cmake -DNM=<nm> -DPROGRAM=<mobrigan> -P NoTestHooks.cmake
# Fails when the program carries any of the test suites' hooks (gui::testing, in the
# framework_testing library that only the tests link).
execute_process(COMMAND "${NM}" -C "${PROGRAM}" OUTPUT_VARIABLE symbols ERROR_VARIABLE errors
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${PROGRAM}: ${errors}")
endif()
# A stripped program would list nothing and pass for the wrong reason.
string(FIND "${symbols}" "gui::Picture::_OpenFromApp" layer)
if(layer EQUAL -1)
  message(FATAL_ERROR "${PROGRAM} lists none of the layer's symbols; cannot tell what it carries")
endif()
string(REGEX MATCHALL "[^\n]*gui::testing::[^\n]*" hooks "${symbols}")
if(hooks)
  string(REPLACE ";" "\n" hooks "${hooks}")
  message(FATAL_ERROR "the program carries test hooks:\n${hooks}")
endif()
message(STATUS "no test hooks in ${PROGRAM}")
