# Each top folder is one library, and a library sees the headers of the
# libraries it links and of no other: every library gets an include root of
# its own that holds only its folder, so an include of a higher layer fails
# the build.
function(hexloom_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;DEPENDS")
  set(root ${PROJECT_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  add_library(hexloom_${folder} STATIC ${arg_SOURCES})
  target_include_directories(hexloom_${folder} PUBLIC $<BUILD_INTERFACE:${root}>)
  target_link_libraries(hexloom_${folder} PUBLIC ${arg_DEPENDS} PRIVATE hexloom_warnings)
endfunction()
