# Sources of dialogs/ for the shared GUI library (built once per edition).
file(GLOB dialogs_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/dialogs/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/dialogs/*.h)
list(FILTER dialogs_sources EXCLUDE REGEX "/main\\.cpp$")
list(APPEND SEALBOOK_GUI_SOURCES ${dialogs_sources})
