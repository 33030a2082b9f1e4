# Runs the fault program with one kind of fault and passes when the sanitizers stopped it
# with a failing exit and said EXPECT. Usage: cmake -DPROGRAM=... -DKIND=... -DEXPECT=... -P
execute_process(COMMAND ${PROGRAM} ${KIND} RESULT_VARIABLE result OUTPUT_VARIABLE out
                ERROR_VARIABLE out)
if(result EQUAL 0)
  message(FATAL_ERROR "The ${KIND} fault passed without a failing exit:\n${out}")
endif()
if(NOT out MATCHES "${EXPECT}")
  message(FATAL_ERROR "The ${KIND} fault was not reported as \"${EXPECT}\":\n${out}")
endif()
if(NOT KIND STREQUAL "leak" AND out MATCHES "survived")
  message(FATAL_ERROR "The ${KIND} fault did not stop the program:\n${out}")
endif()
