# Runs the real `vehmira` executable: writes the demo game, then lists it.
# cmake -DVEHMIRA=<executable> -DWORK_DIR=<scratch directory> -P SmokeTest.cmake
file(REMOVE_RECURSE "${WORK_DIR}")

function(run_vehmira)
  execute_process(COMMAND "${VEHMIRA}" ${ARGN} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "vehmira ${ARGN} exited with ${code}:\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

run_vehmira(demo-game "${WORK_DIR}/game")
run_vehmira(--game "${WORK_DIR}/game" list)
foreach(expected "400\tВнедорожник\n" "596\tПолиция\n" "487\tВертолёт\n")
  string(FIND "${out}" "${expected}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "vehmira list did not print \"${expected}\":\n${out}")
  endif()
endforeach()
# The archive rebuilt by the real executable reads correctly afterwards.
run_vehmira(--game "${WORK_DIR}/game" img rebuild)
run_vehmira(--game "${WORK_DIR}/game" img check --json)
string(FIND "${out}" "\"misread_pairs\": 0," found)
if(found EQUAL -1)
  message(FATAL_ERROR "vehmira img check after the rebuild:\n${out}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
