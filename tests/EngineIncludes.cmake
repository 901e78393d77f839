cmake_minimum_required(VERSION 3.25)
# engine/ sits below the feature folders: none of its files may include one.
# Run as: cmake -DSOURCE_DIR=<tree> -P EngineIncludes.cmake
set(features navigation names paint labels lines output forms)
# Left to the area-reset rework, which replaces their includes by hooks; drop
# each name here as its file lands clean.
set(pending Uarea.cpp Uken.cpp)

file(GLOB files ${SOURCE_DIR}/engine/*.cpp ${SOURCE_DIR}/engine/*.h)
set(bad "")
foreach(f ${files})
  get_filename_component(name ${f} NAME)
  if(name IN_LIST pending)
    continue()
  endif()
  file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${lines})
    string(REGEX MATCH "\"([^/\"]+)/" m "${line}")
    if(m AND CMAKE_MATCH_1 IN_LIST features)
      list(APPEND bad "engine/${name}: ${line}")
    endif()
  endforeach()
endforeach()
if(bad)
  list(JOIN bad "\n" text)
  message(FATAL_ERROR "engine/ includes a feature folder:\n${text}")
endif()
