# Sources of editor/ for the shared GUI library (built once per edition).
file(GLOB editor_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/editor/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/editor/*.h)
list(FILTER editor_sources EXCLUDE REGEX "/main\\.cpp$")
list(APPEND SEALBOOK_GUI_SOURCES ${editor_sources})

# The spelling library.
find_package(PkgConfig REQUIRED)
pkg_check_modules(HUNSPELL REQUIRED IMPORTED_TARGET hunspell)
list(APPEND SEALBOOK_GUI_EXTRA_LIBS PkgConfig::HUNSPELL)

# The "en_US" dictionary goes into the folder "dic" beside the programs.
set(SEALBOOK_DICTIONARY_SOURCE /usr/share/hunspell)
if(EXISTS ${SEALBOOK_DICTIONARY_SOURCE}/en_US.aff AND EXISTS ${SEALBOOK_DICTIONARY_SOURCE}/en_US.dic)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/dic/en_US.aff ${CMAKE_BINARY_DIR}/dic/en_US.dic
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dic
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${SEALBOOK_DICTIONARY_SOURCE}/en_US.aff
            ${SEALBOOK_DICTIONARY_SOURCE}/en_US.dic ${CMAKE_BINARY_DIR}/dic/
    DEPENDS ${SEALBOOK_DICTIONARY_SOURCE}/en_US.aff ${SEALBOOK_DICTIONARY_SOURCE}/en_US.dic
    COMMENT "Copying the en_US spelling dictionary")
  add_custom_target(sealbook_dictionary ALL
    DEPENDS ${CMAKE_BINARY_DIR}/dic/en_US.aff ${CMAKE_BINARY_DIR}/dic/en_US.dic)
else()
  message(WARNING "No en_US spelling dictionary in ${SEALBOOK_DICTIONARY_SOURCE}; install hunspell-en-us")
endif()
