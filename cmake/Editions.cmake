# The two editions differ only by one compile definition, SEALBOOK_HANDHELD,
# read through the constexpr flag in core/Edition.h. Code that depends on the
# edition is therefore compiled once per edition.

# sealbook_gui_libraries(NAME sources...) makes NAME_desk and NAME_pad.
function(sealbook_gui_libraries name)
  if(NOT ARGN)
    return()
  endif()
  foreach(edition desk pad)
    set(target ${name}_${edition})
    add_library(${target} STATIC ${ARGN})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC sealbook_core Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Svg)
    if(TARGET sealbook_rtf)
      target_link_libraries(${target} PUBLIC sealbook_rtf)
    endif()
    if(edition STREQUAL "pad")
      target_compile_definitions(${target} PUBLIC SEALBOOK_HANDHELD=1)
    else()
      target_compile_definitions(${target} PUBLIC SEALBOOK_HANDHELD=0)
    endif()
    foreach(extra ${SEALBOOK_GUI_EXTRA_LIBS})
      target_link_libraries(${target} PUBLIC ${extra})
    endforeach()
  endforeach()
endfunction()

# sealbook_gui_test(NAME sources...) makes one test program per edition,
# linked with the matching GUI library, run offscreen.
function(sealbook_gui_test name)
  foreach(edition desk pad)
    set(target ${name}_${edition})
    add_executable(${target} ${ARGN} ${PROJECT_SOURCE_DIR}/tests/support/GuiTestMain.cpp)
    target_compile_definitions(${target} PRIVATE
      SEALBOOK_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      SEALBOOK_CORPUS_DIR="${PROJECT_SOURCE_DIR}/../shared/corpus")
    target_link_libraries(${target} PRIVATE sealbook_gui_${edition} Qt6::Test GTest::gtest)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SEALBOOK_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
      TIMEOUT 600)
  endforeach()
endfunction()
