# One folder of src/ is one static library, gx_<folder> (QtCore/QtGui only), plus gx_<folder>_ui
# for a folder with widgets (the files in its ui/ folder). A folder names the folders it may
# include, lower ones only, in the order
#
#   platform < core < imaging < media < album < {view picture publish online ole} < cdout < app
#
# glimmerix_folder(<folder> [USES <folder>...] [UI] [EMPTY]) makes the libraries and links them
# to exactly the USES folders (and to their _ui libraries from the _ui library). The `layering`
# test reads these calls and fails on any #include that they do not allow. EMPTY is for a folder
# without sources yet: its edges are declared, the library is an interface.
function(glimmerix_folder folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "UI;EMPTY" "" "USES")
  set(lib gx_${folder})
  if(arg_EMPTY)
    add_library(${lib} INTERFACE)
  else()
    add_library(${lib} STATIC)
    glimmerix_warnings(${lib})
  endif()
  foreach(used IN LISTS arg_USES)
    if(NOT TARGET gx_${used})
      message(FATAL_ERROR "${folder} uses ${used}, which is not a lower folder")
    endif()
    if(arg_EMPTY)
      target_link_libraries(${lib} INTERFACE gx_${used})
    else()
      target_link_libraries(${lib} PUBLIC gx_${used})
    endif()
  endforeach()
  set_property(GLOBAL APPEND PROPERTY GLIMMERIX_LOGIC_LIBRARIES ${lib})
  if(arg_UI)
    add_library(${lib}_ui STATIC)
    glimmerix_warnings(${lib}_ui)
    target_link_libraries(${lib}_ui PUBLIC ${lib} Qt6::Widgets)
    foreach(used IN LISTS arg_USES)
      if(TARGET gx_${used}_ui)
        target_link_libraries(${lib}_ui PUBLIC gx_${used}_ui)
      endif()
    endforeach()
    set_property(GLOBAL APPEND PROPERTY GLIMMERIX_UI_LIBRARIES ${lib}_ui)
  endif()
endfunction()
