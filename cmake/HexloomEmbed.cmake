# hexloom_embed(<target> [PUBLIC|PRIVATE|INTERFACE] [ARRAY|INCBIN] FILES <file>...
#               [OUTPUT_DIR <dir>] [NAMESPACE <name>] [OPTIONS <option>...])
#
# Compiles the bytes of each <file> into <target>: at build time Hexloom
# writes <dir>/<file name>.cpp and <dir>/<file name>.h, the .cpp files
# become sources of <target> and <dir> goes on its include path, so that the
# target (and, with PUBLIC or INTERFACE, the targets that link it) can
#
#   #include "logo.png.h"      // Data::logo_png, Data::logo_png_size
#
# PUBLIC, PRIVATE, INTERFACE
#             the scope of <dir> on the include path (PRIVATE by default):
#             PUBLIC lets a library of assets give its headers to its users.
# FILES       relative paths start from the current source directory.
# OUTPUT_DIR  defaults to ${CMAKE_CURRENT_BINARY_DIR}/hexloom_embed/<target>;
#             a relative path starts from the current binary directory.
# NAMESPACE   the namespace of the data, "Data" by default; "a::b" nests.
# ARRAY       keeps the data a brace list. Without it, the data is a string
#             literal (-str, many times faster to compile) when the C++
#             compiler is GCC or Clang, and a brace list with any other
#             compiler: MSVC refuses string literals longer than about 64 KB.
# INCBIN      the .cpp includes the file with the assembler's .incbin (-incbin):
#             it compiles in a moment whatever the size, with GCC and Clang
#             only, and on the machine that converted it (the source names
#             the file's absolute path). Each object depends on its assets.
# OPTIONS     Hexloom style options, given to it before -o and -i (see
#             _hexloom_embed_style_options below), and -cpp or -cpp_md5,
#             -cpp_sha1, -cpp_sha256, -cpp_sha512 (which embed the file's
#             digest instead of its bytes).
#
# hexloom_embed(<target> [PUBLIC|PRIVATE|INTERFACE] [ARRAY|INCBIN] INDEX <name>
#               DIRECTORY <dir> [TAG <tag>] [ALL] [EXCLUDE <pattern>...] |
#               FILES <file>... [BASE <dir>]
#               [PREFIX <prefix>] [COMPRESS] [OUTPUT_DIR <dir>] [NAMESPACE <name>] [OPTIONS <option>...])
#
# Compiles one catalogue <name> into <target> instead: <dir>/<name>.cpp and
# <name>.h, with the table <name>[] of every file under DIRECTORY whose name
# holds <tag> (every file without TAG), keyed by its path below <dir>, or of
# the FILES, keyed by their paths relative to the current source directory;
# <name>_find("ui/icon.png") looks one up. Files added, removed or renamed
# under DIRECTORY are picked up by the next build: Hexloom's dependency file
# (-depfile) names every folder it listed, whose time such a change moves.
#
# DIRECTORY leaves out files whose names start with "." (folders starting
# with "." are always left out); ALL keeps them. EXCLUDE leaves out every
# file or folder whose name matches one of the shell wildcard patterns
# (-exclude). BASE is the folder that FILES keys are taken relative to (the
# current source directory by default); a file outside it is refused.
# PREFIX goes before every key, with a "/" (-prefix). COMPRESS stores each
# entry that gzip makes a tenth smaller as gzip (-compress), and links zlib
# into <target> for <name>_inflate().
#
# Names: a file's data is called by Hexloom's rule (lowercase ASCII letters
# and digits, every other byte "_", a "_" in front unless it starts with a
# letter, a "_" after a keyword or size_t), and its size constant is that
# name followed by "_size". Two files whose names would meet in one
# namespace, in any two targets of the build, are refused at configure time:
# linked together they would define one symbol, and the linker could quietly
# keep one of them. NAMESPACE gives each its own.
#
# Cross builds: set the cache variable HEXLOOM_EXECUTABLE to a hexloom built
# for the build machine; it then runs every conversion.
#
# Hexloom rewrites an output only when its bytes change. Each conversion
# therefore has a stamp file as its declared output and the .cpp/.h as
# byproducts: the stamp tells the build tool that the conversion is up to
# date, and the untouched byproducts keep the objects that depend on them
# from being compiled again (Ninja rechecks them after the command;
# Makefiles compare them with the objects when the target is built).
# Hexloom's dependency file, its target made the stamp, is the command's
# DEPFILE: the build tool knows every file and folder the conversion read.

include_guard(GLOBAL)
# Ninja reads each DEPFILE as Hexloom escaped it: CMake 3.25's rewrite for
# Ninja would write "#", "$" and ":" unescaped. The functions below keep this
# setting wherever they are called from.
cmake_policy(SET CMP0116 OLD)

# The executable that runs the conversions: the in-tree "hexloom" target when
# this tree is part of the build, the imported Hexloom::hexloom when the
# package configuration has set it before including this file.
get_property(_hexloom_embed_tool_set GLOBAL PROPERTY HEXLOOM_EMBED_EXECUTABLE SET)
if(NOT _hexloom_embed_tool_set)
  set_property(GLOBAL PROPERTY HEXLOOM_EMBED_EXECUTABLE hexloom)
endif()
unset(_hexloom_embed_tool_set)
set(HEXLOOM_EXECUTABLE "" CACHE FILEPATH
  "hexloom that hexloom_embed() runs instead of Hexloom::hexloom: one built for the build machine, for cross builds")

# Sets the vocabulary in the caller's scope: a variable of this file would not
# reach the directories above the one that includes it (add_subdirectory()).
macro(_hexloom_embed_vocabulary)
set(_hexloom_embed_style_options -str -stl -dyn -nons -dec -bw -bwns -size_t -s32 -u32
  -8 -16 -32 -64 -128 -256 -512 -1024 -t0 -t1 -t2 -t3 -t4 -cpp -cpp_md5 -cpp_sha1 -cpp_sha256 -cpp_sha512 -incbin)
# Names a definition can't use, as Hexloom knows them (codegen/identifier.cpp).
set(_hexloom_embed_reserved alignas alignof and and_eq asm auto bitand bitor bool break case catch char
  char16_t char32_t char8_t class co_await co_return co_yield compl concept const const_cast consteval
  constexpr constinit continue decltype default delete do double dynamic_cast else enum explicit export
  extern false float for friend goto if inline int long mutable namespace new noexcept not not_eq nullptr
  operator or or_eq private protected public register reinterpret_cast requires return short signed size_t
  sizeof static static_assert static_cast struct switch template this thread_local throw true try typedef
  typeid typename union unsigned using virtual void volatile wchar_t while xor xor_eq)
# The generators that take a DEPFILE (CMake 3.21 on); with any other one
# (Green Hills MULTI) a DIRECTORY is globbed again by every build.
set(_hexloom_embed_depfile_generators "Ninja|Makefiles|Xcode|Visual Studio")
set(_hexloom_embed_usage "hexloom_embed(<target> [PUBLIC|PRIVATE|INTERFACE] [ARRAY|INCBIN] \
[INDEX <name> [PREFIX <prefix>] [COMPRESS] DIRECTORY <dir> [TAG <tag>] [ALL] [EXCLUDE <pattern>...]] FILES <file>... [BASE <dir>] \
[OUTPUT_DIR <dir>] [NAMESPACE <name>] [OPTIONS <option>...])")
endmacro()

function(_hexloom_embed_check_options)
  set(value_of "")
  foreach(option IN LISTS ARGN)
    if(value_of STREQUAL "-align")
      set(value_of "")
      if(NOT option MATCHES "^(1|2|4|8|16|32|64|128|256|512|1024|2048|4096)$")
        message(FATAL_ERROR "hexloom_embed(): -align takes a power of two from 1 to 4096, not \"${option}\".")
      endif()
      continue()
    elseif(option STREQUAL "-align")
      set(value_of "${option}")
      continue()
    elseif(option IN_LIST _hexloom_embed_style_options OR option STREQUAL "-q")
      continue()
    elseif(option MATCHES "^-(cxx|cxx_.*|md5|sha1|sha256|sha512)$")
      message(FATAL_ERROR "hexloom_embed(): option ${option} makes Hexloom write something "
        "other than a .cpp/.h pair, which hexloom_embed() cannot compile into a target. "
        "Run hexloom with add_custom_command() for such outputs.")
    elseif(option MATCHES "^-(o|i|p|last)$")
      message(FATAL_ERROR "hexloom_embed(): option ${option} is not accepted in OPTIONS: "
        "hexloom_embed() chooses the inputs and the output folder itself (FILES, OUTPUT_DIR).")
    elseif(option STREQUAL "-index")
      message(FATAL_ERROR "hexloom_embed(): option -index is not accepted in OPTIONS: use INDEX <name>.")
    elseif(option MATCHES "^-(no)?compress$")
      message(FATAL_ERROR "hexloom_embed(): option ${option} is not accepted in OPTIONS: use COMPRESS with INDEX.")
    elseif(option STREQUAL "-ns")
      message(FATAL_ERROR "hexloom_embed(): option -ns is not accepted in OPTIONS: use NAMESPACE <name>.")
    elseif(option STREQUAL "-test")
      message(FATAL_ERROR "hexloom_embed(): option -test is not accepted in OPTIONS: "
        "with it Hexloom writes nothing for the target to compile.")
    else()
      list(JOIN _hexloom_embed_style_options " " valid)
      message(FATAL_ERROR "hexloom_embed(): \"${option}\" is not a Hexloom style option. "
        "OPTIONS takes: ${valid}.")
    endif()
  endforeach()
endfunction()

# Makefiles know no rule that remakes a deleted byproduct, so before any
# target that embeds is built, one step removes each stamp whose .cpp or .h
# is gone: the conversion then runs again. Ninja reruns a command whose
# byproduct is missing by itself.
function(_hexloom_embed_heal converter stamp source header)
  if(NOT CMAKE_GENERATOR MATCHES "Makefiles")
    return()
  endif()
  set(script "${CMAKE_BINARY_DIR}/CMakeFiles/hexloom_embed_heal.cmake")
  get_property(started GLOBAL PROPERTY HEXLOOM_EMBED_HEAL)
  if(NOT started)
    # Written afresh by each configure run, then one line per conversion.
    file(WRITE "${script}" "# Removes the stamps of hexloom_embed() whose outputs are missing.\n")
    add_custom_target(hexloom_embed_heal COMMAND "${CMAKE_COMMAND}" -P "${script}" VERBATIM)
    set_property(GLOBAL PROPERTY HEXLOOM_EMBED_HEAL ON)
  endif()
  file(APPEND "${script}"
    "if(NOT (EXISTS \"${source}\" AND EXISTS \"${header}\"))\n  file(REMOVE \"${stamp}\")\nendif()\n")
  add_dependencies(${converter} hexloom_embed_heal)
endfunction()

# Sets, in the caller's scope, the step that ends a conversion and, when
# `wanted` and the generator takes one: the Hexloom options that write the
# dependency file beside the stamp, the DEPFILE argument of the command, and
# a step that makes the file the stamp's before it touches the stamp.
macro(_hexloom_embed_depfile stamp wanted)
  set(depfile_options "")
  set(depfile_argument "")
  set(stamp_step "${CMAKE_COMMAND}" -E touch "${stamp}")
  if(${wanted} AND CMAKE_GENERATOR MATCHES "${_hexloom_embed_depfile_generators}")
    _hexloom_embed_depfile_step("${stamp}")
  endif()
endmacro()

macro(_hexloom_embed_depfile_step stamp)
  string(REGEX REPLACE "\\.stamp$" ".d" depfile "${stamp}")
  set(depfile_options -depfile "${depfile}")
  set(depfile_target "${stamp}")
  if(CMAKE_GENERATOR MATCHES "Ninja")
    # The stamp as Ninja names the command's first output.
    cmake_path(RELATIVE_PATH stamp BASE_DIRECTORY "${CMAKE_BINARY_DIR}" OUTPUT_VARIABLE depfile_target)
  endif()
  set(stamp_step "${CMAKE_COMMAND}" "-DDEPFILE=${depfile}" "-DSTAMP=${stamp}" "-DTARGET=${depfile_target}")
  if(CMAKE_GENERATOR MATCHES "Ninja")
    # Ninja needs no empty rules, and reads each path of them again.
    list(APPEND stamp_step -DRULES=OFF)
  endif()
  if(CMAKE_GENERATOR MATCHES "Makefiles")
    # CMake's Makefiles add each new DEPFILE to what they kept of the old
    # one, so a removed file would stay a prerequisite that is never there:
    # without what they kept, the next build reads every DEPFILE afresh.
    # They also write a ":" of a path as it is, which Make takes for a rule.
    list(APPEND stamp_step "-DFORGET=${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/${converter}.dir/compiler_depend.internal"
      -DCOLONS=${CMAKE_HOST_UNIX})
  endif()
  list(APPEND stamp_step -P "${stamp_script}")
  set(depfile_argument DEPFILE "${stamp}.d")
endmacro()

# Under -incbin the assembler reads the assets while the source compiles:
# each object depends on them as on a header, so a changed asset is never
# linked stale, even when its conversion would leave the source as it was.
function(_hexloom_embed_object_depends source)
  if(incbin)
    set_source_files_properties("${source}" PROPERTIES OBJECT_DEPENDS "${ARGN}")
  endif()
endfunction()

# The INDEX form, in the scope of hexloom_embed(): one conversion writes the
# catalogue <name>.cpp/.h from every file under DIRECTORY (whose name holds
# TAG, ASCII case ignored) or from FILES. A DIRECTORY is not globbed: its
# dependency file names the folders that Hexloom listed, so adding, removing
# or renaming a file makes the catalogue again. FILES are named relative to
# the source directory, which a DEPFILE can't take: they are DEPENDS, and
# part of the stamp's name.
macro(_hexloom_embed_catalogue)
  if(NOT arg_INDEX MATCHES "^[A-Za-z_][A-Za-z0-9_]*$" OR arg_INDEX IN_LIST _hexloom_embed_reserved)
    message(FATAL_ERROR "hexloom_embed(${target}): INDEX \"${arg_INDEX}\" is not a C++ identifier "
      "(ASCII letters, digits and _, not starting with a digit, no keyword).")
  endif()
  if(DEFINED arg_DIRECTORY)
    cmake_path(ABSOLUTE_PATH arg_DIRECTORY BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE
      OUTPUT_VARIABLE base)
    string(REGEX REPLACE "(.)/+$" "\\1" base "${base}")
    if(NOT IS_DIRECTORY "${base}")
      message(FATAL_ERROR "hexloom_embed(${target}): DIRECTORY ${base} is not a folder.")
    endif()
    set(inputs "")
    if(NOT CMAKE_GENERATOR MATCHES "${_hexloom_embed_depfile_generators}")
      file(GLOB_RECURSE inputs CONFIGURE_DEPENDS LIST_DIRECTORIES false "${base}/*")
    endif()
    set(conversion "")
    if(NOT arg_ALL)
      list(APPEND conversion -exclude ".*")
    endif()
    foreach(pattern IN LISTS arg_EXCLUDE)
      list(APPEND conversion -exclude "${pattern}")
    endforeach()
    list(APPEND conversion -p "${base}")
  else()
    # Each file is keyed by the path written on the command line, relative
    # to BASE, the directory that the conversion runs in.
    set(base "${CMAKE_CURRENT_SOURCE_DIR}")
    if(DEFINED arg_BASE)
      cmake_path(ABSOLUTE_PATH arg_BASE BASE_DIRECTORY "${base}" NORMALIZE OUTPUT_VARIABLE base)
      string(REGEX REPLACE "(.)/+$" "\\1" base "${base}")
    endif()
    set(inputs "")
    set(conversion "")
    foreach(file IN LISTS arg_FILES)
      cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE OUTPUT_VARIABLE input)
      if(NOT EXISTS "${input}" OR IS_DIRECTORY "${input}")
        message(FATAL_ERROR "hexloom_embed(${target}): cannot find the file ${input}.")
      endif()
      cmake_path(IS_PREFIX base "${input}" NORMALIZE inside)
      if(NOT inside)
        message(FATAL_ERROR "hexloom_embed(${target}): ${input} is outside BASE ${base}: its key would name "
          "the folders of the build machine.")
      endif()
      cmake_path(RELATIVE_PATH input BASE_DIRECTORY "${base}" OUTPUT_VARIABLE relative)
      list(APPEND inputs "${input}")
      list(APPEND conversion -i "${relative}")
    endforeach()
  endif()
  set(source "${output_dir}/${arg_INDEX}.cpp")
  set(header "${output_dir}/${arg_INDEX}.h")
  get_property(previous GLOBAL PROPERTY "HEXLOOM_EMBED_OUTPUT:${source}")
  if(previous)
    message(FATAL_ERROR "hexloom_embed(${target}): the catalogue ${arg_INDEX} and ${previous} would both be "
      "written as ${source}.")
  endif()
  set_property(GLOBAL PROPERTY "HEXLOOM_EMBED_OUTPUT:${source}" "catalogue ${arg_INDEX}")
  # A catalogue's data has internal linkage: only its public names can meet
  # the names of other embedded files or catalogues.
  set(place "catalogue ${arg_INDEX} (target ${target})")
  set(suffixes "" _entry _count _find _entry_range _child _child_range _under _list _is_folder)
  if(arg_COMPRESS)
    list(APPEND suffixes _inflate)
  endif()
  foreach(suffix IN LISTS suffixes)
    set(symbol "${arg_INDEX}${suffix}")
    get_property(previous GLOBAL PROPERTY "HEXLOOM_EMBED_SYMBOL:${namespace}::${symbol}")
    if(previous)
      message(FATAL_ERROR "hexloom_embed(${target}): ${place} and ${previous} would both define "
        "${namespace}::${symbol}, which the linker takes for one symbol. Give one of them a namespace of its "
        "own (NAMESPACE <name>) or another name.")
    endif()
    set_property(GLOBAL PROPERTY "HEXLOOM_EMBED_SYMBOL:${namespace}::${symbol}" "${place}")
  endforeach()
  if(DEFINED arg_PREFIX)
    list(PREPEND conversion -prefix "${arg_PREFIX}")
  endif()
  if(arg_COMPRESS)
    list(PREPEND conversion -compress)
    find_package(ZLIB REQUIRED)
    target_link_libraries(${target} PRIVATE ZLIB::ZLIB)
  endif()
  # An empty TAG must reach Hexloom as an argument of its own, which a list
  # variable can't hold.
  if(DEFINED arg_DIRECTORY)
    set(last_argument "${arg_TAG}")
  else()
    list(POP_BACK conversion last_argument)
  endif()
  # With the inputs that the command names or depends on: a new list makes a
  # new stamp, so that even a removal runs the conversion again.
  string(MD5 key "${base}|${output_dir}|${options}|${conversion}|${last_argument}|${inputs}")
  string(SUBSTRING "${key}" 0 12 key)
  set(stamp "${stamp_dir}/${arg_INDEX}.${key}.stamp")
  set(scanned OFF)
  if(DEFINED arg_DIRECTORY)
    set(scanned ON)
  endif()
  _hexloom_embed_depfile("${stamp}" "${scanned}")
  add_custom_command(
    OUTPUT "${stamp}"
    BYPRODUCTS "${source}" "${header}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${output_dir}" "${stamp_dir}"
    COMMAND ${tool} ${options} -o "${output_dir}" ${depfile_options} -index ${arg_INDEX} ${conversion}
            "${last_argument}"
    COMMAND ${stamp_step}
    WORKING_DIRECTORY "${base}"
    DEPENDS ${inputs} ${tool}
    ${depfile_argument}
    COMMENT "Cataloguing ${arg_INDEX} with Hexloom"
    VERBATIM)
  target_sources(${converter} PRIVATE "${stamp}")
  _hexloom_embed_heal(${converter} "${stamp}" "${source}" "${header}")
  target_sources(${target} PRIVATE "${source}" "${header}")
  _hexloom_embed_object_depends("${source}" ${inputs})
  source_group("Hexloom Generated" FILES "${source}" "${header}")
endmacro()

function(hexloom_embed target)
  _hexloom_embed_vocabulary()
  cmake_parse_arguments(PARSE_ARGV 1 arg "ARRAY;INCBIN;PUBLIC;PRIVATE;INTERFACE;ALL;COMPRESS"
    "OUTPUT_DIR;NAMESPACE;INDEX;DIRECTORY;TAG;PREFIX;BASE" "FILES;OPTIONS;EXCLUDE")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "hexloom_embed(${target}): unexpected arguments: ${arg_UNPARSED_ARGUMENTS} "
      "(files go after FILES). The form is ${_hexloom_embed_usage}")
  endif()
  foreach(keyword IN ITEMS OUTPUT_DIR NAMESPACE INDEX DIRECTORY BASE EXCLUDE)
    if(keyword IN_LIST arg_KEYWORDS_MISSING_VALUES)
      message(FATAL_ERROR "hexloom_embed(${target}): ${keyword} needs a value. The form is ${_hexloom_embed_usage}")
    endif()
  endforeach()
  if(DEFINED arg_INDEX AND ((DEFINED arg_DIRECTORY AND arg_FILES) OR (NOT DEFINED arg_DIRECTORY AND NOT arg_FILES)))
    message(FATAL_ERROR "hexloom_embed(${target}): INDEX takes either DIRECTORY <dir> or FILES <file>...")
  elseif(NOT DEFINED arg_INDEX AND (DEFINED arg_DIRECTORY OR DEFINED arg_TAG OR DEFINED arg_PREFIX OR arg_COMPRESS))
    message(FATAL_ERROR "hexloom_embed(${target}): DIRECTORY, TAG, PREFIX and COMPRESS go with INDEX <name>.")
  elseif(NOT DEFINED arg_DIRECTORY AND (arg_ALL OR DEFINED arg_EXCLUDE))
    message(FATAL_ERROR "hexloom_embed(${target}): ALL and EXCLUDE go with DIRECTORY <dir>.")
  elseif(DEFINED arg_BASE AND (NOT DEFINED arg_INDEX OR DEFINED arg_DIRECTORY))
    message(FATAL_ERROR "hexloom_embed(${target}): BASE goes with INDEX <name> FILES <file>...")
  elseif(NOT arg_FILES AND NOT DEFINED arg_DIRECTORY)
    message(FATAL_ERROR "hexloom_embed(${target}): no FILES to embed. The form is ${_hexloom_embed_usage}")
  endif()
  set(scope PRIVATE)
  set(scopes 0)
  foreach(keyword IN ITEMS PUBLIC PRIVATE INTERFACE)
    if(arg_${keyword})
      set(scope ${keyword})
      math(EXPR scopes "${scopes} + 1")
    endif()
  endforeach()
  if(scopes GREATER 1)
    message(FATAL_ERROR "hexloom_embed(${target}): give one of PUBLIC, PRIVATE and INTERFACE, the scope "
      "of the include folder.")
  endif()
  if(NOT TARGET ${target})
    message(FATAL_ERROR "hexloom_embed(): there is no target \"${target}\". The form is ${_hexloom_embed_usage}")
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

  if(HEXLOOM_EXECUTABLE)
    if(NOT IS_ABSOLUTE "${HEXLOOM_EXECUTABLE}" OR IS_DIRECTORY "${HEXLOOM_EXECUTABLE}"
       OR NOT EXISTS "${HEXLOOM_EXECUTABLE}")
      message(FATAL_ERROR "hexloom_embed(${target}): HEXLOOM_EXECUTABLE must name an existing hexloom "
        "by its full path, not \"${HEXLOOM_EXECUTABLE}\".")
    endif()
    set(tool "${HEXLOOM_EXECUTABLE}")
  else()
    get_property(tool GLOBAL PROPERTY HEXLOOM_EMBED_EXECUTABLE)
    if(NOT TARGET ${tool})
      message(FATAL_ERROR "hexloom_embed(${target}): the Hexloom executable (target ${tool}) "
        "is not visible here; call find_package(Hexloom) in this directory or a parent one, "
        "or add the Hexloom source tree with add_subdirectory().")
    endif()
    get_target_property(tool_imported ${tool} IMPORTED)
    if(CMAKE_CROSSCOMPILING AND NOT tool_imported AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
      message(FATAL_ERROR "hexloom_embed(${target}): this is a cross build, so the hexloom built here "
        "cannot run on the build machine. Build or install hexloom for the build machine and set "
        "HEXLOOM_EXECUTABLE to it (cmake -DHEXLOOM_EXECUTABLE=/path/to/hexloom).")
    endif()
  endif()

  _hexloom_embed_check_options(${arg_OPTIONS})
  set(options ${arg_OPTIONS})
  set(namespace Data)
  if(DEFINED arg_NAMESPACE)
    set(namespace "${arg_NAMESPACE}")
    if("-nons" IN_LIST options)
      message(FATAL_ERROR "hexloom_embed(${target}): NAMESPACE ${namespace} and -nons ask for a namespace "
        "and for none.")
    endif()
  endif()
  string(REPLACE "::" ";" parts "${namespace}")
  foreach(part IN LISTS parts)
    if(NOT namespace MATCHES "^[A-Za-z_][A-Za-z0-9_]*(::[A-Za-z_][A-Za-z0-9_]*)*$"
       OR part IN_LIST _hexloom_embed_reserved)
      message(FATAL_ERROR "hexloom_embed(${target}): NAMESPACE \"${namespace}\" is not a C++ namespace name: "
        "give identifiers (ASCII letters, digits and _, not starting with a digit, no keyword) "
        "joined by ::, such as assets or game::assets.")
    endif()
  endforeach()
  set(incbin OFF)
  if(arg_INCBIN OR "-incbin" IN_LIST options)
    set(incbin ON)
    if(arg_ARRAY OR "-str" IN_LIST options)
      message(FATAL_ERROR "hexloom_embed(${target}): INCBIN has the assembler include the files, "
        "ARRAY and -str ask for their bytes in the source: give one of them.")
    elseif(NOT CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang|AppleClang)$")
      message(FATAL_ERROR "hexloom_embed(${target}): INCBIN needs GNU-style inline assembly (GCC or Clang), "
        "which the ${CMAKE_CXX_COMPILER_ID} compiler lacks: leave INCBIN out (a brace list) or use -str.")
    endif()
    list(REMOVE_ITEM options -incbin)
    list(PREPEND options -incbin)
  elseif(arg_ARRAY AND "-str" IN_LIST options)
    message(FATAL_ERROR "hexloom_embed(${target}): ARRAY asks for a brace list and -str for a string literal.")
  elseif(NOT arg_ARRAY AND NOT "-str" IN_LIST options AND CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang|AppleClang)$")
    list(PREPEND options -str)
  endif()
  # -q: the build tool's own line is the only one a conversion shows, unless
  # it fails.
  list(PREPEND options -q -ns ${namespace})
  if("-nons" IN_LIST options)
    set(namespace "")
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
  set(stamp_script "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/HexloomStamp.cmake")
  # The conversions belong to a helper target that the target depends on:
  # the stamps are its sources, so IDEs don't list them among the target's.
  set(converter ${target}_hexloom_embed)
  if(NOT TARGET ${converter})
    add_custom_target(${converter})
    set_target_properties(${converter} PROPERTIES FOLDER "Hexloom")
    add_dependencies(${target} ${converter})
  endif()

  if(DEFINED arg_INDEX)
    _hexloom_embed_catalogue()
    target_include_directories(${target} ${scope} "$<BUILD_INTERFACE:${output_dir}>")
    return()
  endif()

  foreach(file IN LISTS arg_FILES)
    cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE
      OUTPUT_VARIABLE input)
    get_source_file_property(generated "${input}" GENERATED)
    if(IS_DIRECTORY "${input}")
      message(FATAL_ERROR "hexloom_embed(${target}): ${input} is a folder; FILES takes files "
        "(file(GLOB) lists a folder's files).")
    elseif(NOT EXISTS "${input}" AND NOT generated)
      message(FATAL_ERROR "hexloom_embed(${target}): cannot find ${input}.")
    endif()
    cmake_path(GET input FILENAME name)
    set(source "${output_dir}/${name}.cpp")
    set(header "${output_dir}/${name}.h")

    # Hexloom's own rule, byte by byte.
    string(TOLOWER "${name}" identifier)
    string(REGEX REPLACE "[^a-z0-9]" "_" identifier "${identifier}")
    if(NOT identifier MATCHES "^[a-z]")
      string(PREPEND identifier "_")
    endif()
    if(identifier IN_LIST _hexloom_embed_reserved)
      string(APPEND identifier "_")
    endif()

    get_property(previous GLOBAL PROPERTY "HEXLOOM_EMBED_OUTPUT:${source}")
    if(previous STREQUAL input)
      message(FATAL_ERROR "hexloom_embed(${target}): ${input} is already embedded into ${output_dir}.")
    elseif(previous)
      message(FATAL_ERROR "hexloom_embed(${target}): ${input} and ${previous} have the same name, "
        "so both would be written as ${source}. Rename one of them, or embed it into "
        "another target with another OUTPUT_DIR.")
    endif()
    set_property(GLOBAL PROPERTY "HEXLOOM_EMBED_OUTPUT:${source}" "${input}")

    # Each file defines its data and its size constant. The same file with
    # the same options makes the same definitions: two programs may each
    # carry one. Any other pair meeting on a name is refused.
    set(place "${input} (target ${target})")
    set(definition "${input}|${options}")
    foreach(symbol IN ITEMS "${identifier}" "${identifier}_size")
      set(key "HEXLOOM_EMBED_SYMBOL:${namespace}::${symbol}")
      get_property(previous GLOBAL PROPERTY "${key}")
      get_property(previous_definition GLOBAL PROPERTY "${key}:definition")
      if(previous STREQUAL place)
        message(FATAL_ERROR "hexloom_embed(${target}): ${input} is already embedded into ${target}.")
      elseif(previous AND NOT previous_definition STREQUAL definition)
        message(FATAL_ERROR "hexloom_embed(${target}): ${place} and ${previous} would both define "
          "${namespace}::${symbol}, which the linker takes for one symbol. Hexloom names a file's "
          "data after the file (lowercase ASCII letters and digits, every other byte _, a _ in front "
          "unless it starts with a letter, a _ after a keyword or size_t: ${name} gives ${identifier}) "
          "and its size after the data (${identifier}_size). Give one of them a namespace of its own: "
          "hexloom_embed(${target} NAMESPACE <name> ...); or rename one of the files.")
      endif()
    endforeach()
    foreach(symbol IN ITEMS "${identifier}" "${identifier}_size")
      set_property(GLOBAL PROPERTY "HEXLOOM_EMBED_SYMBOL:${namespace}::${symbol}" "${place}")
      set_property(GLOBAL PROPERTY "HEXLOOM_EMBED_SYMBOL:${namespace}::${symbol}:definition" "${definition}")
    endforeach()

    # The options and the paths are part of the stamp's name: changing them
    # makes a stamp that does not exist yet, so the conversion runs again even
    # with build tools that don't compare command lines (Makefiles).
    string(MD5 key "${input}|${output_dir}|${options}")
    string(SUBSTRING "${key}" 0 12 key)
    set(stamp "${stamp_dir}/${name}.${key}.stamp")

    _hexloom_embed_depfile("${stamp}" ON)
    add_custom_command(
      OUTPUT "${stamp}"
      BYPRODUCTS "${source}" "${header}"
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${output_dir}" "${stamp_dir}"
      COMMAND ${tool} ${options} -o "${output_dir}" ${depfile_options} -i "${input}"
      COMMAND ${stamp_step}
      DEPENDS "${input}" ${tool}
      ${depfile_argument}
      COMMENT "Embedding ${name} with Hexloom"
      VERBATIM)
    target_sources(${converter} PRIVATE "${stamp}")
    _hexloom_embed_heal(${converter} "${stamp}" "${source}" "${header}")
    # The asset is listed in the target, not compiled, in a group of its own.
    set_source_files_properties("${input}" PROPERTIES HEADER_FILE_ONLY ON)
    target_sources(${target} PRIVATE "${input}" "${source}" "${header}")
    _hexloom_embed_object_depends("${source}" "${input}")
    source_group("Hexloom Assets" FILES "${input}")
    source_group("Hexloom Generated" FILES "${source}" "${header}")
  endforeach()
  target_include_directories(${target} ${scope} "$<BUILD_INTERFACE:${output_dir}>")
endfunction()
