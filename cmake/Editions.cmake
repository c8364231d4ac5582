# The two editions differ only by one compile definition, SEALBOOK_HANDHELD,
# read through the constexpr flag in core/Edition.h. Code that depends on the
# edition is therefore compiled once per edition.

set(SEALBOOK_EDITIONS desk pad)

# The layer views: which folders each GUI folder may include.
set(SEALBOOK_VIEW_gui core editor/rtf gui)
set(SEALBOOK_VIEW_editor core editor gui)
set(SEALBOOK_VIEW_dialogs core editor gui dialogs)
set(SEALBOOK_VIEW_ftp core editor gui dialogs ftp)
set(SEALBOOK_VIEW_app core editor gui dialogs ftp app)

# sealbook_gui_layer(NAME SOURCES files... [BELOW layer] [LIBS libs...]) makes
# sealbook_NAME_desk and sealbook_NAME_pad from the sources of the folder NAME,
# each linked with the same edition of the layer BELOW (or the plain libraries
# when NAME is the bottom GUI layer) and LIBS.
function(sealbook_gui_layer name)
  cmake_parse_arguments(L "" "BELOW" "SOURCES;LIBS" ${ARGN})
  foreach(edition ${SEALBOOK_EDITIONS})
    set(target sealbook_${name}_${edition})
    add_library(${target} STATIC ${L_SOURCES})
    sealbook_layer_view(${target} ${name} ${SEALBOOK_VIEW_${name}})
    if(L_BELOW)
      target_link_libraries(${target} PUBLIC sealbook_${L_BELOW}_${edition})
    else()
      target_link_libraries(${target} PUBLIC sealbook_rtf sealbook_core
                            Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Svg)
      if(edition STREQUAL "pad")
        target_compile_definitions(${target} PUBLIC SEALBOOK_HANDHELD=1)
      else()
        target_compile_definitions(${target} PUBLIC SEALBOOK_HANDHELD=0)
      endif()
    endif()
    if(L_LIBS)
      target_link_libraries(${target} PUBLIC ${L_LIBS})
    endif()
  endforeach()
endfunction()

# The GUI folder's own sources: every .cpp and .h directly in it.
function(sealbook_folder_sources out folder)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp
       ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# sealbook_gui_test(NAME LAYER sources...) makes one test program per edition,
# linked with that edition of LAYER, run offscreen.
function(sealbook_gui_test name layer)
  foreach(edition ${SEALBOOK_EDITIONS})
    set(target ${name}_${edition})
    add_executable(${target} ${ARGN} ${PROJECT_SOURCE_DIR}/tests/support/GuiTestMain.cpp)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_definitions(${target} PRIVATE
      SEALBOOK_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      SEALBOOK_CORPUS_DIR="${PROJECT_SOURCE_DIR}/../shared/corpus")
    target_link_libraries(${target} PRIVATE sealbook_${layer}_${edition} Qt6::Test GTest::gtest)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SEALBOOK_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
      TIMEOUT 600)
  endforeach()
endfunction()
