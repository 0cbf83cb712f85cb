# What `cmake --install` puts where, and the Debian package CPack makes of
# it (`cpack -G DEB` in the build folder).

include(GNUInstallDirs)

# The manual page carries the version; Debian wants it compressed, and
# -n keeps the archive free of the build's time stamp.
set(MOX_MAN_PAGE ${PROJECT_BINARY_DIR}/man/mox.1)
configure_file(${PROJECT_SOURCE_DIR}/man/mox.1 ${MOX_MAN_PAGE} @ONLY)
add_custom_command(OUTPUT ${MOX_MAN_PAGE}.gz
                   COMMAND gzip -9 -n -k -f ${MOX_MAN_PAGE}
                   DEPENDS ${MOX_MAN_PAGE}
                   COMMENT "Compressing the manual page")
add_custom_target(man_page ALL DEPENDS ${MOX_MAN_PAGE}.gz)

install(TARGETS mox RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${MOX_MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
install(FILES ${PROJECT_SOURCE_DIR}/editors/textmate/mox.tmLanguage.json
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/editors)
# Debian's Vim has share/vim/vimfiles in its runtime path.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/editors/vim/
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/vim/vimfiles)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mox)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "interpreter for a small functional language reduced as a combinator graph")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}
 mox runs programs of a small, terse functional language: global functions,
 lambdas and lets over unbounded integers, exact binary numbers, reals, texts,
 vectors and byte blobs, evaluated lazily by combinator graph reduction.
 Programs reach the host through builtins named after the C library's
 functions (stdio, strings, memory, maths, time, processes, directories,
 sockets) and can load further program text at run time.
 .
 The package holds the interpreter, its manual page, example programs and
 syntax colouring for Vim and for editors that read TextMate grammars.")
set(MOX_PACKAGE_MAINTAINER "mox developers <mox@localhost>"
    CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${MOX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION interpreters)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# dpkg-shlibdeps reads the binary's libraries: libc and GMP (the C++ runtime
# is linked in, but for the sanitizer and fuzzing builds).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
