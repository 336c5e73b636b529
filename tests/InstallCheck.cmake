# Installs the build into a scratch root and checks that every file arrived.
file(REMOVE_RECURSE ${DEST})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${DEST} ${CMAKE_COMMAND} --install ${BUILD}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "install failed: ${status}")
endif()
set(expected ${PREFIX}/bin/m7410 ${PREFIX}/bin/logo.bmp ${PREFIX}/bin/mysetting.ini
             ${SYSTEM}/bin/m7410 ${SYSTEM}/lib/udev/rules.d/60-m7410.rules
             ${SYSTEM}/share/applications/m7410.desktop ${SYSTEM}/share/icons/hicolor/64x64/apps/m7410.png
             ${SYSTEM}/share/doc/m7410/copyright ${SYSTEM}/share/doc/m7410/changelog.gz
             ${SYSTEM}/share/man/man1/m7410.1.gz)
if(CTL)
  list(APPEND expected ${PREFIX}/bin/m7410-ctl ${SYSTEM}/bin/m7410-ctl
       ${SYSTEM}/share/bash-completion/completions/m7410-ctl ${SYSTEM}/share/man/man1/m7410-ctl.1.gz)
endif()
foreach(f IN LISTS expected)
  if(NOT EXISTS ${DEST}${f} AND NOT IS_SYMLINK ${DEST}${f})
    message(FATAL_ERROR "missing after install: ${f}")
  endif()
endforeach()
file(READ_SYMLINK ${DEST}${SYSTEM}/bin/m7410 target)
if(NOT target STREQUAL "${PREFIX}/bin/m7410")
  message(FATAL_ERROR "${SYSTEM}/bin/m7410 points to ${target}")
endif()
file(READ ${DEST}${PREFIX}/bin/mysetting.ini template)
if(NOT template MATCHES "\\[Personal settings\\]")
  message(FATAL_ERROR "the settings template has no settings section")
endif()
file(REMOVE_RECURSE ${DEST})
