# The floor check itself: trees with one fault each must fail with that fault named, and a tree
# that keeps its floors must pass. Run as cmake -DCHECK=<check-floors.cmake> -DWORK=<folder> -P.
cmake_minimum_required(VERSION 3.22)

# Writes a tree from "path=content" pairs (content lines separated by "|") and runs the check.
function(run_check name expect_ok expect_text)
    set(root "${WORK}/${name}")
    file(REMOVE_RECURSE "${root}")
    file(WRITE "${root}/floors.txt" "low 1\nlow/Ui 1'\nmid 3\nhigh 5\nhigh/Rules 2\n")
    foreach(spec IN LISTS ARGN)
        string(REGEX MATCH "^[^=]+" path "${spec}")
        string(REGEX REPLACE "^[^=]+=" "" content "${spec}")
        string(REPLACE "|" "\n" content "${content}")
        file(WRITE "${root}/${path}" "${content}\n")
    endforeach()
    execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE=${root} -P ${CHECK}
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    set(text "${out}${err}")
    if(expect_ok AND NOT result EQUAL 0)
        message(FATAL_ERROR "${name}: the check failed a tree that keeps its floors:\n${text}")
    endif()
    if(NOT expect_ok AND result EQUAL 0)
        message(FATAL_ERROR "${name}: the check passed a tree that breaks its floors")
    endif()
    string(FIND "${text}" "${expect_text}" at)
    if(at LESS 0)
        message(FATAL_ERROR "${name}: expected \"${expect_text}\" in:\n${text}")
    endif()
endfunction()

run_check(KeptFloors TRUE "Floors kept: 5 files"
    "low/A.h=#pragma once"
    "low/Ui.h=#include \"A.h\""
    "mid/B.cpp=#include \"A.h\"|#include \"Ui.h\"|#include <QString>"
    "high/C.cpp=#include \"B.h\"|#include \"Rules.h\""
    "high/Rules.h=#include \"A.h\"")
run_check(UpwardInclude FALSE "src/low/A.cpp (floor 1) includes src/high/C.h (floor 5)"
    "low/A.cpp=#include \"C.h\""
    "high/C.h=#pragma once")
run_check(CoreIncludesUi FALSE "src/low/A.cpp (floor 1) includes src/low/Ui.h (floor 1')"
    "low/A.cpp=#include \"Ui.h\""
    "low/Ui.h=#pragma once")
run_check(FileFloorBelowItsFolder FALSE "src/high/Rules.h (floor 2) includes src/mid/B.h (floor 3)"
    "high/Rules.h=#include \"B.h\""
    "mid/B.h=#pragma once")
run_check(RelativePathDoesNotHide FALSE "src/low/A.cpp (floor 1) includes src/mid/B.h (floor 3)"
    "low/A.cpp=  #  include \"../mid/B.h\""
    "mid/B.h=#pragma once")
run_check(FoldersIncludingEachOther FALSE "src/high/ and src/mid/ include each other"
    "mid/B.cpp=#include \"Rules.h\""
    "high/Rules.h=#pragma once"
    "high/C.cpp=#include \"B.h\""
    "mid/B.h=#pragma once")
run_check(FileWithoutFloor FALSE "other/D.h has no floor"
    "other/D.h=#pragma once")
run_check(SameHeaderNameTwice FALSE "E.h is both"
    "low/E.h=#pragma once"
    "mid/E.h=#pragma once")
