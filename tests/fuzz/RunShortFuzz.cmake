# The short fuzz run of `make test`: the same inputs every time. It reads only the committed
# seeds; what it finds goes to a scratch folder that is emptied first, so the next run does
# not start from it (the timed runs of `make fuzz` keep growing their own corpus).
#   cmake -DFUZZER=<exe> -DSCRATCH=<dir> -DSEEDS=<dir> -DARGS=<options separated by |> -P RunShortFuzz.cmake
string(REPLACE "|" ";" ARGS "${ARGS}")
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(COMMAND ${FUZZER} ${ARGS} ${SCRATCH} ${SEEDS} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${rc})")
endif()
