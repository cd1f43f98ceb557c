# The include arrows: each folder's sources include only from the folders
# it may build on, so that the layers run down only. Every quoted include
# names its folder from the repository's root ("game/Records.h").
#   cmake -DSOURCE_DIR=<repository> -P scripts/check-includes.cmake
# Prints every include that crosses the wrong way and fails when there is one.

cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<repository> -P check-includes.cmake")
endif()

# Which folders each folder may include from, itself first.
set(may_game     game)
set(may_content  content game)
set(may_sim      sim content game)
set(may_net      net sim content game)
set(may_platform platform)
set(may_view     view game platform)
set(may_editor   editor view content game platform)
set(may_shell    shell editor view platform sim net content game)
set(may_tools    tools net sim content game platform view editor)

# Readers that know no game and stand alone, each a library of its own,
# which any folder may use: the SDL music player asks the MIDI length reader
# how long the music runs and which programs it plays, and gives the mixer's
# synthesiser the sound font cut to those programs.
set(leaf_headers content/MidiLength.h content/SoundFont.h)

set(wrong)
set(checked 0)
foreach(folder game content sim net platform view editor shell tools)
  file(GLOB sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source ${sources})
    file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" included "${line}")
      math(EXPR checked "${checked} + 1")
      if(NOT included MATCHES "^([a-z]+)/")
        list(APPEND wrong "${source}: \"${included}\" names no folder")
        continue()
      endif()
      set(from ${CMAKE_MATCH_1})
      if(from IN_LIST may_${folder})
        continue()
      endif()
      if(included IN_LIST leaf_headers)
        continue()
      endif()
      string(REPLACE ";" ", " allowed "${may_${folder}}")
      list(APPEND wrong "${source}: \"${included}\" (${folder}/ may include from ${allowed})")
    endforeach()
  endforeach()
endforeach()

if(wrong)
  list(LENGTH wrong count)
  string(REPLACE ";" "\n  " listed "${wrong}")
  message(FATAL_ERROR "${count} include(s) cross the wrong way:\n  ${listed}")
endif()
message(STATUS "${checked} includes checked, none crosses the wrong way")
