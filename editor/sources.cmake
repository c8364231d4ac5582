# Sources of editor/ for the shared GUI library (built once per edition).
file(GLOB editor_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/editor/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/editor/*.h)
list(FILTER editor_sources EXCLUDE REGEX "/main\\.cpp$")
list(APPEND SEALBOOK_GUI_SOURCES ${editor_sources})
