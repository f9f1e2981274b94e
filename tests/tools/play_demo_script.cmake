# Plays a walkthrough script on a scratch copy of a built game and checks how it ended.
#
#   cmake -DPLAYER=... -DGAME=... -DSCRIPT=... -DWORK=... [-DEXTRA_ARGS=a;b]
#         [-DENVIRONMENT=VAR=value;...] -P play_demo_script.cmake
#
# The game is copied to WORK/game without the saved games a run in the build tree left
# there, because the script saves into the game folder and tests run side by side. The
# player runs with EXTRA_ARGS (e.g. --headless, or --window --renderer software) and the
# ENVIRONMENT given, writes its log to WORK/log.txt and its end state to WORK/state.json.
# The test fails unless the player exits with status 0 and the state matches every line
#   # state: KEY [KEY...] = JSON
# of the script: the member reached through the keys equals the JSON value, e.g.
#   # state: window = "NagForm"
#   # state: score current = "40"
#   # state: inventory = [3, 5]
foreach(var PLAYER GAME SCRIPT WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "play_demo_script.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${GAME}/ DESTINATION ${WORK}/game PATTERN Saved EXCLUDE)

set(state ${WORK}/state.json)
set(log ${WORK}/log.txt)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env ${ENVIRONMENT} --
          ${PLAYER} ${EXTRA_ARGS} --script ${SCRIPT} --log ${log} --state-json ${state}
          ${WORK}/game
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 300)
if(NOT rc EQUAL 0)
  set(tail "")
  if(EXISTS ${log})
    file(READ ${log} tail)
  endif()
  message(FATAL_ERROR "the player exited with ${rc}:\n${out}\nlog:\n${tail}")
endif()
if(NOT EXISTS ${state})
  message(FATAL_ERROR "the player wrote no state JSON:\n${out}")
endif()
file(READ ${state} json)

file(STRINGS ${SCRIPT} checks REGEX "^# state: ")
if(checks STREQUAL "")
  message(FATAL_ERROR "${SCRIPT} has no '# state:' lines saying how it ends")
endif()
foreach(check IN LISTS checks)
  if(NOT check MATCHES "^# state: ([^=]+[^ =]) *= *(.+)$")
    message(FATAL_ERROR "bad state line: ${check}")
  endif()
  set(name "${CMAKE_MATCH_1}")
  string(REPLACE " " ";" keys "${name}")
  set(wanted "${CMAKE_MATCH_2}")
  string(JSON actual ERROR_VARIABLE missing GET "${json}" ${keys})
  if(missing)
    message(FATAL_ERROR "the end state has no ${name}:\n${json}")
  endif()
  string(JSON type TYPE "${json}" ${keys})
  if(type STREQUAL "STRING")
    # GET gives a string member without its quotes: quote it again to compare as JSON.
    string(REPLACE "\\" "\\\\" actual "${actual}")
    string(REPLACE "\"" "\\\"" actual "${actual}")
    set(actual "\"${actual}\"")
  elseif(type STREQUAL "BOOLEAN")
    if(actual)
      set(actual true)
    else()
      set(actual false)
    endif()
  elseif(type STREQUAL "NULL")
    set(actual null)
  endif()
  string(JSON same ERROR_VARIABLE bad EQUAL "${actual}" "${wanted}")
  if(bad)
    message(FATAL_ERROR "bad JSON in state line: ${check}")
  endif()
  if(NOT same)
    message(FATAL_ERROR "the game ended with ${name} = ${actual}, not ${wanted}")
  endif()
endforeach()
