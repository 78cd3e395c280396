# The player's code is built in layers, one static library each, and a layer
# may use only the layers below it:
#
#   container  platform  expr  dialogs  builtins  script  engine  actions|screen  shell  sim|win32
#
# Two things keep that true. Each layer compiles against a folder of links
# to its own headers and those of the layers it was given, so including a
# header from above fails to compile. And on native builds each layer is
# linked whole into a small program of its own with only its dependencies,
# so a call upward through a declaration of its own fails to link.

set(OVRIX_LAYER_ROOT ${CMAKE_BINARY_DIR}/layers)

# Makes `farm` a folder of links to the headers of each src/ folder named:
# "platform" stands for the interface headers only, not the two
# implementations below it.
function(ovrix_make_farm farm)
  file(REMOVE_RECURSE ${farm})
  file(MAKE_DIRECTORY ${farm})
  foreach(dir IN LISTS ARGN)
    if(dir STREQUAL "platform")
      # The interface's own headers, without the implementations' folders.
      file(MAKE_DIRECTORY ${farm}/platform)
      file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/*.h)
      foreach(header IN LISTS headers)
        get_filename_component(leaf ${header} NAME)
        file(CREATE_LINK ${header} ${farm}/platform/${leaf} SYMBOLIC)
      endforeach()
    else()
      get_filename_component(parent ${farm}/${dir} DIRECTORY)
      file(MAKE_DIRECTORY ${parent})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${dir} ${farm}/${dir} SYMBOLIC)
    endif()
  endforeach()
endfunction()

# ovrix_layer(NAME DIR dir [SOURCES files...] [DEPS layers...])
# Makes the library ovrix_NAME from the sources of src/DIR (not of its
# subfolders) unless SOURCES are given.
function(ovrix_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 L "" "DIR" "SOURCES;DEPS")
  set(visible ${L_DIR})
  foreach(dep IN LISTS L_DEPS)
    get_property(dep_visible GLOBAL PROPERTY OVRIX_LAYER_VISIBLE_${dep})
    list(APPEND visible ${dep_visible})
  endforeach()
  list(REMOVE_DUPLICATES visible)
  set_property(GLOBAL PROPERTY OVRIX_LAYER_VISIBLE_${name} ${visible})

  if(NOT L_SOURCES)
    file(GLOB L_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${L_DIR}/*.cpp)
  endif()
  set(farm ${OVRIX_LAYER_ROOT}/${name})
  ovrix_make_farm(${farm} ${visible})

  add_library(ovrix_${name} STATIC ${L_SOURCES})
  # The farm is this layer's own view. Nothing is passed on to whoever links
  # it: a layer above sees through its own farm, and the tools through
  # ovrix_core.
  target_include_directories(ovrix_${name} PRIVATE ${farm})
  foreach(dep IN LISTS L_DEPS)
    target_link_libraries(ovrix_${name} PUBLIC ovrix_${dep})
  endforeach()

  if(NOT WIN32 AND NOT OVRIX_FUZZ)
    add_executable(ovrix_layer_check_${name} ${CMAKE_SOURCE_DIR}/cmake/layer_check.cpp)
    target_link_libraries(ovrix_layer_check_${name} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,ovrix_${name}>")
    foreach(dep IN LISTS L_DEPS)
      target_link_libraries(ovrix_layer_check_${name} PRIVATE ovrix_${dep})
    endforeach()
  endif()
endfunction()
