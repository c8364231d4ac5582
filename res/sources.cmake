# Sources of res/ for the shared GUI library (built once per edition).
file(GLOB res_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/res/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/res/*.h)
list(FILTER res_sources EXCLUDE REGEX "/main\\.cpp$")
list(APPEND SEALBOOK_GUI_SOURCES ${res_sources})
