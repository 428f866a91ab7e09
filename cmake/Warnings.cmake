# Warning and sanitizer flags for every target of the project.
add_library(trovelin_options INTERFACE)
target_compile_options(trovelin_options INTERFACE -Wall -Wextra -Wpedantic)
if(TROVELIN_WERROR)
  target_compile_options(trovelin_options INTERFACE -Werror)
endif()
if(TROVELIN_SANITIZE)
  target_compile_options(trovelin_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all
                                                    -fno-omit-frame-pointer)
  target_link_options(trovelin_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# trovelin_library(name SOURCES... DEPENDS...) : one library per folder under src/.
function(trovelin_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE trovelin_options)
endfunction()

# Fuzz builds instrument every library for coverage; the fuzz targets add libFuzzer's main.
if(TROVELIN_FUZZ)
  target_compile_options(trovelin_options INTERFACE -fsanitize=fuzzer-no-link)
  target_link_options(trovelin_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
