# Run by hexloom_embed() after each conversion:
#   cmake -DDEPFILE=<Hexloom's dependency file> -DSTAMP=<stamp> -DTARGET=<the stamp as the build tool names it>
#         [-DFORGET=<file>] [-DCOLONS=ON] [-DRULES=OFF] -P HexloomStamp.cmake
# Ninja and Makefiles attach a DEPFILE's prerequisites to the target that it
# names, which must be the custom command's output: the stamp, not the
# .cpp/.h that Hexloom names. So <stamp>.d is Hexloom's file with TARGET as
# its one target (without the paths that hold a ":" with COLONS, without the
# empty rules with RULES=OFF); then the
# stamp is touched, and FORGET removed.
file(READ "${DEPFILE}" text)
string(REPLACE "$" "$$" target "${TARGET}")
string(REGEX REPLACE "([ #:])" "\\\\\\1" target "${target}")
# Hexloom writes the targets on the first line, ending in ":", or in ": \"
# when prerequisites follow on the next lines, two spaces in.
string(FIND "${text}" "\n" end)
set(rest "\n")
if(end GREATER -1)
  string(SUBSTRING "${text}" 0 ${end} first)
  string(SUBSTRING "${text}" ${end} -1 rest)
  if(first MATCHES " \\\\$")
    string(PREPEND rest " \\")
  endif()
endif()
if(COLONS)
  # Hexloom writes each ":" of a path as "\:".
  string(REGEX REPLACE "\n[^\n]*\\\\:[^\n]*" "" rest "${rest}")
  string(REGEX REPLACE " \\\\\n([^ ]|$)" "\n\\1" rest "${rest}")
endif()
if(DEFINED RULES AND NOT RULES)
  string(REGEX REPLACE "\n[^ ].*$" "\n" rest "${rest}")
endif()
file(WRITE "${STAMP}.d" "${target}:${rest}")
file(TOUCH "${STAMP}")
if(DEFINED FORGET)
  file(REMOVE "${FORGET}")
endif()
