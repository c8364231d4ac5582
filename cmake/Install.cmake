# What `cmake --install` puts where: the default prefix is /usr/local and
# DESTDIR is honoured. Nothing installed or built in depends on the prefix (the
# desktop entries start the programs by name, the programs find the manual
# relative to themselves), so one build installs under any prefix and the
# Debian package (cmake/Package.cmake) holds exactly this installation.
#
#   bin/                           Wrendesk, Wrenpad, sealbook
#   share/doc/marrowick-sealbook/  notes.html, notes.pdf, copyright, changelog.gz
#   share/applications/            one desktop entry per edition
#   share/mime/packages/           the *.nte file type
#   share/icons/hicolor/           the program icon at the theme's sizes
#   share/metainfo/                AppStream description
#   share/man/man1/                the three programs' manual pages
#
# The spelling dictionary is not installed: installed programs use the
# system's (/usr/share/hunspell, package hunspell-en-us).

set(SEALBOOK_APPSTREAM_ID example.marrowick.sealbook)
set(SEALBOOK_HOME_PAGE https://www.marrowick.example/sealbook/)
set(SEALBOOK_MAINTAINER "Marrowick Sealbook developers <sealbook@marrowick.example>")
# Dates of the release entries; SOURCE_DATE_EPOCH, when set, fixes them.
string(TIMESTAMP SEALBOOK_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP SEALBOOK_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

set(staging ${PROJECT_BINARY_DIR}/install-files)
find_program(SEALBOOK_GZIP gzip REQUIRED)
# gzip -9n: smallest, and without a time stamp so that the file is reproducible.
function(sealbook_gzip source)
  add_custom_command(OUTPUT ${source}.gz
    COMMAND ${SEALBOOK_GZIP} -9nkf ${source}
    DEPENDS ${source}
    VERBATIM)
endfunction()

# Programs.
foreach(program sealbook Wrendesk Wrenpad)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# Manual pages.
set(man_outputs "")
foreach(page sealbook Wrendesk Wrenpad)
  if(page STREQUAL "sealbook" OR TARGET ${page})
    configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.1.in ${staging}/${page}.1 @ONLY)
    sealbook_gzip(${staging}/${page}.1)
    list(APPEND man_outputs ${staging}/${page}.1.gz)
  endif()
endforeach()
install(FILES ${man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Copyright and changelog, where Debian wants them and beside the manual.
configure_file(${PROJECT_SOURCE_DIR}/res/linux/changelog.in ${staging}/changelog @ONLY)
sealbook_gzip(${staging}/changelog)
install(FILES ${PROJECT_SOURCE_DIR}/res/linux/copyright ${staging}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
add_custom_target(sealbook_install_files ALL DEPENDS ${man_outputs} ${staging}/changelog.gz)

if(NOT SEALBOOK_BUILD_GUI)
  return()
endif()

# The manual the help commands open.
if(TARGET sealbook_manual_files)
  install(FILES ${PROJECT_BINARY_DIR}/notes.html ${PROJECT_BINARY_DIR}/notes.pdf
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

# Desktop entries and the MIME package, written by the registration code
# itself (tools/desktopfiles.cpp), one tool per edition.
foreach(edition desk pad)
  if(edition STREQUAL "pad")
    set(program Wrenpad)
  else()
    set(program Wrendesk)
  endif()
  if(NOT TARGET ${program})
    continue()
  endif()
  string(TOLOWER ${program} lower)
  set(entry ${staging}/marrowick-${lower}.desktop)
  set(tool sealbook_desktop_files_${edition})
  add_executable(${tool} ${PROJECT_SOURCE_DIR}/tools/desktopfiles.cpp)
  target_link_libraries(${tool} PRIVATE sealbook_gui_${edition})
  set(outputs ${entry})
  if(edition STREQUAL "desk")
    list(APPEND outputs ${staging}/marrowick-sealbook.xml)
  endif()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${tool} ${program} ${outputs}
    DEPENDS ${tool}
    COMMENT "Writing the desktop entry of ${program}"
    VERBATIM)
  add_custom_target(sealbook_desktop_entry_${edition} ALL DEPENDS ${outputs})
  install(FILES ${entry} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  if(edition STREQUAL "desk")
    install(FILES ${staging}/marrowick-sealbook.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  endif()
endforeach()

# The program icon: the theme picture res/icons.txt names for the program, at
# every size the theme draws it, and its largest design as the scalable one.
file(STRINGS ${PROJECT_SOURCE_DIR}/res/icons.txt program_icon_line REGEX "^program[ \t]+")
string(REGEX REPLACE "^program[ \t]+([^ \t]+).*" "\\1" program_icon "${program_icon_line}")
set(largest "")
foreach(size 16 22 24 32 48 64 96 128 256)
  file(GLOB designs "${SEALBOOK_ICON_THEME_DIR}/*/${size}/${program_icon}.svg")
  if(designs)
    list(SORT designs)
    list(GET designs 0 design)
    install(FILES ${design} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME marrowick-sealbook.svg)
    set(largest ${design})
  endif()
endforeach()
if(largest)
  install(FILES ${largest} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME marrowick-sealbook.svg)
else()
  message(WARNING "The program icon ${program_icon} is not in ${SEALBOOK_ICON_THEME_DIR}; none is installed")
endif()

# AppStream.
configure_file(${PROJECT_SOURCE_DIR}/res/linux/sealbook.metainfo.xml.in
               ${staging}/${SEALBOOK_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${staging}/${SEALBOOK_APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
