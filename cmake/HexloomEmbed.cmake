# hexloom_embed(<target> [ARRAY] FILES <file>... [OUTPUT_DIR <dir>] [OPTIONS <option>...])
#
# Compiles the bytes of each <file> into <target>: at build time Hexloom
# writes <dir>/<file name>.cpp and <dir>/<file name>.h, the .cpp files
# become sources of <target> and <dir> goes on its include path (PRIVATE),
# so that the target can
#
#   #include "logo.png.h"      // Data::logo_png, Data::logo_png_size
#
# FILES       relative paths start from the current source directory.
# OUTPUT_DIR  defaults to ${CMAKE_CURRENT_BINARY_DIR}/hexloom_embed/<target>;
#             a relative path starts from the current binary directory.
# ARRAY       keeps the data a brace list. Without it, the data is a string
#             literal (-str, many times faster to compile) when the C++
#             compiler is GCC or Clang, and a brace list with any other
#             compiler: MSVC refuses string literals longer than about 64 KB.
# OPTIONS     Hexloom style options, given to it before -o and -i:
#             -str -stl -dyn -nons -dec -bw -bwns -size_t -s32 -u32
#             -8 ... -1024 -t0 ... -t4, and -cpp or -cpp_md5, -cpp_sha1,
#             -cpp_sha256, -cpp_sha512 (which embed the file's digest instead
#             of its bytes). Options that make anything other than a
#             .cpp/.h pair (-cxx*, -md5, -sha*) or that pick files or
#             folders (-o, -i, -p, -last, -test) are refused at configure
#             time.
#
# Call it in the directory that creates <target>. Each embedded file needs a
# name of its own within an output folder and an identifier of its own
# within a target: two inputs called logo.png (or logo.png and logo_png)
# would define the same symbol, so they are refused at configure time.
#
# Hexloom rewrites an output only when its bytes change. Each conversion
# therefore has a stamp file as its declared output and the .cpp/.h as
# byproducts: the stamp tells the build tool that the conversion is up to
# date, and the untouched byproducts keep the objects that depend on them
# from being compiled again (Ninja rechecks them after the command;
# Makefiles compare them with the objects when the target is built).

include_guard(GLOBAL)

# The executable that runs the conversions: the in-tree "hexloom" target when
# this tree is part of the build, the imported Hexloom::hexloom when the
# package configuration has set it before including this file.
get_property(_hexloom_embed_tool_set GLOBAL PROPERTY HEXLOOM_EMBED_EXECUTABLE SET)
if(NOT _hexloom_embed_tool_set)
  set_property(GLOBAL PROPERTY HEXLOOM_EMBED_EXECUTABLE hexloom)
endif()
unset(_hexloom_embed_tool_set)

function(_hexloom_embed_check_options)
  foreach(option IN LISTS ARGN)
    if(option MATCHES "^-(cpp|cpp_(md5|sha1|sha256|sha512)|str|stl|dyn|nons|dec|bw|bwns|size_t|s32|u32|8|16|32|64|128|256|512|1024|t[0-4])$")
      continue()
    elseif(option MATCHES "^-(cxx|cxx_.*|md5|sha1|sha256|sha512)$")
      message(FATAL_ERROR "hexloom_embed(): option ${option} makes Hexloom write something "
        "other than a .cpp/.h pair, which hexloom_embed() cannot compile into a target. "
        "Run hexloom with add_custom_command() for such outputs.")
    elseif(option MATCHES "^-(o|i|p|last)$")
      message(FATAL_ERROR "hexloom_embed(): option ${option} is not accepted in OPTIONS: "
        "hexloom_embed() chooses the inputs and the output folder itself (FILES, OUTPUT_DIR).")
    elseif(option STREQUAL "-test")
      message(FATAL_ERROR "hexloom_embed(): option -test is not accepted in OPTIONS: "
        "with it Hexloom writes nothing for the target to compile.")
    else()
      message(FATAL_ERROR "hexloom_embed(): \"${option}\" is not a Hexloom style option.")
    endif()
  endforeach()
endfunction()

function(hexloom_embed target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "ARRAY" "OUTPUT_DIR" "FILES;OPTIONS")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "hexloom_embed(): unexpected arguments: ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if("OUTPUT_DIR" IN_LIST arg_KEYWORDS_MISSING_VALUES)
    message(FATAL_ERROR "hexloom_embed(): OUTPUT_DIR needs a folder.")
  endif()
  if(NOT arg_FILES)
    message(FATAL_ERROR "hexloom_embed(${target}): no FILES to embed.")
  endif()
  if(NOT TARGET ${target})
    message(FATAL_ERROR "hexloom_embed(): there is no target \"${target}\".")
  endif()
  get_target_property(aliased ${target} ALIASED_TARGET)
  get_target_property(imported ${target} IMPORTED)
  get_target_property(type ${target} TYPE)
  if(aliased OR imported OR type STREQUAL "INTERFACE_LIBRARY" OR type STREQUAL "UTILITY")
    message(FATAL_ERROR "hexloom_embed(): \"${target}\" must be an executable or a library "
      "that compiles sources (not an alias, imported, interface or custom target).")
  endif()
  # A custom command only reaches the targets of its own directory.
  get_target_property(target_dir ${target} SOURCE_DIR)
  if(NOT target_dir STREQUAL CMAKE_CURRENT_SOURCE_DIR)
    message(FATAL_ERROR "hexloom_embed(${target}): call it in ${target_dir}, "
      "the directory that creates the target.")
  endif()
  get_property(tool GLOBAL PROPERTY HEXLOOM_EMBED_EXECUTABLE)
  if(NOT TARGET ${tool})
    message(FATAL_ERROR "hexloom_embed(${target}): the Hexloom executable (target ${tool}) "
      "is not visible here; call find_package(Hexloom) in this directory or a parent one, "
      "or add the Hexloom source tree with add_subdirectory().")
  endif()
  _hexloom_embed_check_options(${arg_OPTIONS})
  set(options ${arg_OPTIONS})
  if(arg_ARRAY AND "-str" IN_LIST options)
    message(FATAL_ERROR "hexloom_embed(${target}): ARRAY asks for a brace list and -str for a string literal.")
  elseif(NOT arg_ARRAY AND NOT "-str" IN_LIST options AND CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang|AppleClang)$")
    list(PREPEND options -str)
  endif()

  if(arg_OUTPUT_DIR)
    cmake_path(ABSOLUTE_PATH arg_OUTPUT_DIR BASE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}"
      NORMALIZE OUTPUT_VARIABLE output_dir)
  else()
    set(output_dir "${CMAKE_CURRENT_BINARY_DIR}/hexloom_embed/${target}")
  endif()
  string(REGEX REPLACE "(.)/+$" "\\1" output_dir "${output_dir}")
  # Exists from the start, so the include path never names a missing folder.
  file(MAKE_DIRECTORY "${output_dir}")
  set(stamp_dir "${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/hexloom_embed/${target}")

  foreach(file IN LISTS arg_FILES)
    cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE
      OUTPUT_VARIABLE input)
    get_source_file_property(generated "${input}" GENERATED)
    if(NOT EXISTS "${input}" AND NOT generated)
      message(FATAL_ERROR "hexloom_embed(${target}): cannot find ${input}.")
    endif()
    cmake_path(GET input FILENAME name)
    set(source "${output_dir}/${name}.cpp")
    set(header "${output_dir}/${name}.h")

    # Same rule as Hexloom's own, byte by byte.
    string(TOLOWER "${name}" identifier)
    string(REGEX REPLACE "[^a-z0-9]" "_" identifier "${identifier}")
    if(NOT identifier MATCHES "^[a-z]")
      string(PREPEND identifier "_")
    endif()

    get_property(previous GLOBAL PROPERTY "HEXLOOM_EMBED_OUTPUT:${source}")
    if(previous STREQUAL input)
      message(FATAL_ERROR "hexloom_embed(${target}): ${input} is already embedded into ${output_dir}.")
    elseif(previous)
      message(FATAL_ERROR "hexloom_embed(${target}): ${input} and ${previous} have the same name, "
        "so both would be written as ${source}. Rename one of them, or embed it into "
        "another target with another OUTPUT_DIR.")
    endif()
    get_property(previous GLOBAL PROPERTY "HEXLOOM_EMBED_IDENTIFIER:${target}:${identifier}")
    if(previous STREQUAL input)
      message(FATAL_ERROR "hexloom_embed(${target}): ${input} is already embedded into ${target}.")
    elseif(previous)
      message(FATAL_ERROR "hexloom_embed(${target}): ${input} and ${previous} would both define "
        "the identifier \"${identifier}\" (and their headers could not be told apart by name). "
        "Rename one of them.")
    endif()
    set_property(GLOBAL PROPERTY "HEXLOOM_EMBED_OUTPUT:${source}" "${input}")
    set_property(GLOBAL PROPERTY "HEXLOOM_EMBED_IDENTIFIER:${target}:${identifier}" "${input}")

    # The options and the paths are part of the stamp's name: changing them
    # makes a stamp that does not exist yet, so the conversion runs again even
    # with build tools that don't compare command lines (Makefiles).
    string(MD5 key "${input}|${output_dir}|${options}")
    string(SUBSTRING "${key}" 0 12 key)
    set(stamp "${stamp_dir}/${name}.${key}.stamp")
    # Makefiles know no rule for the byproducts: a stamp must not outlive them.
    if(EXISTS "${stamp}" AND NOT (EXISTS "${source}" AND EXISTS "${header}"))
      file(REMOVE "${stamp}")
    endif()

    add_custom_command(
      OUTPUT "${stamp}"
      BYPRODUCTS "${source}" "${header}"
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${output_dir}" "${stamp_dir}"
      COMMAND ${tool} ${options} -o "${output_dir}" -i "${input}"
      COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
      DEPENDS "${input}" ${tool}
      COMMENT "Embedding ${name} with Hexloom"
      VERBATIM)
    target_sources(${target} PRIVATE "${stamp}" "${source}" "${header}")
  endforeach()
  target_include_directories(${target} PRIVATE "${output_dir}")
endfunction()
