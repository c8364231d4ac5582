# Sources of app/ for the shared GUI library (built once per edition).
file(GLOB app_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/app/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/app/*.h)
list(FILTER app_sources EXCLUDE REGEX "/main\\.cpp$")
list(APPEND SEALBOOK_GUI_SOURCES ${app_sources})
