# Builds the house from floors.txt: each folder's library links exactly the libraries its row
# names, and each library's headers are reachable only through its own include root, so an
# include that runs up a floor, or sideways where no row allows it, does not compile.

set(VELKOR_FLOORS_TABLE ${PROJECT_SOURCE_DIR}/floors.txt)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${VELKOR_FLOORS_TABLE})

# "widgets/day" -> velkor_widgets_day
function(velkor_floor_target folder out)
  string(REPLACE "/" "_" name "${folder}")
  set(${out} velkor_${name} PARENT_SCOPE)
endfunction()

# Reads the table: VELKOR_FLOORS lists the folders from the ground up; for each folder
# VELKOR_LINKS_<folder> and VELKOR_OUTSIDE_<folder> hold its row.
function(velkor_read_floors)
  file(STRINGS ${VELKOR_FLOORS_TABLE} lines)
  set(folders "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*$" "" line "${line}")
    string(REGEX REPLACE "[ \t]+" ";" words "${line}")
    list(REMOVE_ITEM words "")
    if(NOT words)
      continue()
    endif()
    list(POP_FRONT words folder floor)
    set(links "${words}")
    set(outside "")
    list(FIND words "|" bar)
    if(bar GREATER -1)
      list(SUBLIST words 0 ${bar} links)
      math(EXPR after "${bar} + 1")
      list(SUBLIST words ${after} -1 outside)
    endif()
    list(APPEND folders ${folder})
    set_property(GLOBAL PROPERTY VELKOR_LINKS_${folder} "${links}")
    set_property(GLOBAL PROPERTY VELKOR_OUTSIDE_${folder} "${outside}")
  endforeach()
  set_property(GLOBAL PROPERTY VELKOR_FLOORS "${folders}")
endfunction()

# Gives the target the folder's own include root: a folder of the build tree in which the
# folder's name leads to its sources, so "data/DataSet.h" names data/DataSet.h and nothing
# else of the repository can be reached.
function(velkor_include_root target folder scope)
  velkor_floor_target(${folder} name)
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  set(link ${root}/${folder})
  get_filename_component(parent ${link} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT IS_SYMLINK ${link})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${link} SYMBOLIC)
  endif()
  target_include_directories(${target} ${scope} ${root})
endfunction()

# The plain outside libraries: the name a row gives, the target it links.
set(VELKOR_OUTSIDE_TARGET_GDAL GDAL::GDAL)
set(VELKOR_OUTSIDE_TARGET_json nlohmann_json::nlohmann_json)
set(VELKOR_OUTSIDE_TARGET_kissfft velkor_kissfft)
set(VELKOR_OUTSIDE_TARGET_CLI11 CLI11::CLI11)
set(VELKOR_OUTSIDE_TARGET_dl ${CMAKE_DL_LIBS})
set(VELKOR_OUTSIDE_TARGET_threads Threads::Threads)
set(VELKOR_OUTSIDE_TARGET_util util)
set(VELKOR_OUTSIDE_TARGET_benchmark benchmark::benchmark)

# An outside library by its name in the table.
function(velkor_link_outside target name scope)
  if(name STREQUAL "Qt?")
    if(VELKOR_BUILD_UI)
      velkor_link_outside(${target} Qt ${scope})
    endif()
  elseif(name STREQUAL "Qt")
    # A widget's header shows its Qt base classes to whoever includes it.
    if(scope STREQUAL "PRIVATE")
      set(scope PUBLIC)
    endif()
    target_link_libraries(${target} ${scope} Qt6::Widgets Qt6::PrintSupport)
    set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON)
  elseif(name STREQUAL "X11")
    if(X11_FOUND AND X11_Xkb_FOUND)
      target_compile_definitions(${target} ${scope} VELKOR_HAVE_X11)
      target_link_libraries(${target} ${scope} X11::X11)
    endif()
  elseif(DEFINED VELKOR_OUTSIDE_TARGET_${name})
    target_link_libraries(${target} ${scope} ${VELKOR_OUTSIDE_TARGET_${name}})
  else()
    message(FATAL_ERROR "floors.txt: no outside library called ${name}")
  endif()
endfunction()

# Links the target as the folder's row says. A floor left out of this build (the widgets
# without the toolkit) is left out of the links too.
function(velkor_floor_links target folder scope outsideScope)
  velkor_include_root(${target} ${folder} ${scope})
  get_property(links GLOBAL PROPERTY VELKOR_LINKS_${folder})
  get_property(outside GLOBAL PROPERTY VELKOR_OUTSIDE_${folder})
  foreach(lib IN LISTS links)
    velkor_floor_target(${lib} dependency)
    if(TARGET ${dependency})
      target_link_libraries(${target} ${scope} ${dependency})
    endif()
  endforeach()
  foreach(name IN LISTS outside)
    velkor_link_outside(${target} ${name} ${outsideScope})
  endforeach()
endfunction()

function(velkor_current_folder out)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(${out} ${folder} PARENT_SCOPE)
endfunction()

# The library of the folder this is called from, of the given sources.
function(velkor_floor_library)
  velkor_current_folder(folder)
  velkor_floor_target(${folder} target)
  add_library(${target} STATIC ${ARGN})
  velkor_floor_links(${target} ${folder} PUBLIC PRIVATE)
endfunction()

# The floor of a folder of programs only: what its programs link to stand on their row.
function(velkor_floor_programs)
  velkor_current_folder(folder)
  velkor_floor_target(${folder} target)
  add_library(${target} INTERFACE)
  velkor_floor_links(${target} ${folder} INTERFACE INTERFACE)
endfunction()

# Whether this build has the folder: the widget floors need the toolkit, the benchmarks
# the tests, the fuzz targets their own build.
function(velkor_floor_built folder out)
  get_property(outside GLOBAL PROPERTY VELKOR_OUTSIDE_${folder})
  set(built TRUE)
  if("Qt" IN_LIST outside AND NOT VELKOR_BUILD_UI)
    set(built FALSE)
  elseif(folder STREQUAL "bench" AND NOT VELKOR_BUILD_TESTS)
    set(built FALSE)
  elseif(folder STREQUAL "fuzz" AND NOT VELKOR_BUILD_FUZZ)
    set(built FALSE)
  endif()
  set(${out} ${built} PARENT_SCOPE)
endfunction()
