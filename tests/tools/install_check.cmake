# Installs the build into a scratch prefix and checks what lands there: the programs, the
# demo game, the desktop entry, the icon and the manual page; the installed lint finds the
# installed demo clean, and the installed player plays the game installed beside it (the
# demo is replaced by a game whose first scene sets flag 9 on entry, which the build
# tree's demo does not).
#   cmake -DBUILD=... -DPREFIX=... -DBINDIR=... -DDATADIR=... -DMANDIR=... -P install_check.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
set(demo ${PREFIX}/${DATADIR}/quorvex-player/demo)
foreach(file ${BINDIR}/quorvex-player ${BINDIR}/quorvex-lint ${BINDIR}/quorvex-dump
             ${BINDIR}/quorvex-build ${DATADIR}/quorvex-player/demo/resource/Quorvex1.dat
             ${DATADIR}/applications/quorvex-player.desktop
             ${DATADIR}/icons/hicolor/scalable/apps/quorvex-player.svg
             ${MANDIR}/man6/quorvex-player.6)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

execute_process(COMMAND ${PREFIX}/${BINDIR}/quorvex-lint ${demo}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
  message(FATAL_ERROR "the installed demo does not lint clean:\n${out}")
endif()

file(REMOVE_RECURSE ${demo})
file(WRITE ${PREFIX}/marked.json
     [=[{"Scenes": [{"EntryFlagOn": 1, "EntryFlag": 9, "EntryFlagValue": 1}]}]=])
execute_process(COMMAND ${PREFIX}/${BINDIR}/quorvex-build ${PREFIX}/marked.json ${demo}
                RESULT_VARIABLE rc)
file(WRITE ${PREFIX}/play.txt "new-game\nexpect flag 9 = 1\n")
execute_process(COMMAND ${PREFIX}/${BINDIR}/quorvex-player --script ${PREFIX}/play.txt
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the installed player did not play the installed game:\n${out}")
endif()
file(REMOVE_RECURSE ${PREFIX})
