# Runs the corpus replay on probe corpora and checks its verdict and its closing line:
# cmake -DREPLAY=<fuzz_replay_probe> -DWORK=<scratch folder> -P ReplaySelfTest.cmake
file(REMOVE_RECURSE ${WORK})
file(WRITE ${WORK}/fine/one "fine")
file(WRITE ${WORK}/fine/two "also fine")
file(WRITE ${WORK}/aborts/good "fine")
file(WRITE ${WORK}/aborts/bad "abort")
file(WRITE ${WORK}/reports/bad "report")
file(MAKE_DIRECTORY ${WORK}/empty)

function(expect name expected_result expected_line)
    execute_process(COMMAND ${REPLAY} ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(STRIP "${out}" out)
    if(NOT result STREQUAL expected_result OR NOT out STREQUAL expected_line)
        message(FATAL_ERROR "${name}: exit ${result} (expected ${expected_result}), output '${out}' (expected '${expected_line}')\n${err}")
    endif()
    message(STATUS "${name}: exit ${result}, '${out}'")
endfunction()

expect("clean corpus" 0 "2 passed, 0 failed" ${WORK}/fine)
expect("an input aborts" 1 "1 passed, 1 failed" ${WORK}/aborts)
expect("a sanitizer reports" 1 "0 passed, 1 failed" ${WORK}/reports)
expect("a folder is missing" 1 "2 passed, 1 failed" ${WORK}/fine ${WORK}/missing)
expect("a folder is empty" 1 "2 passed, 1 failed" ${WORK}/fine ${WORK}/empty)
