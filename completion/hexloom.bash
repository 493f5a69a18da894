# Bash completion of hexloom: its options, a file after -i and -depfile, a folder after
# -o and after -p (whose second value, the tag, is left to the user, as is
# the values after -ns, -align, -index, -prefix and -exclude).

_hexloom() {
  local options="-o -i -last -p -depfile -test -q -cpp -cxx -md5 -sha1 -sha256 -sha512
    -cpp_md5 -cpp_sha1 -cpp_sha256 -cpp_sha512 -cxx_md5 -cxx_sha1 -cxx_sha256 -cxx_sha512
    -stl -dyn -nons -ns -dec -str -incbin -align -index -prefix -exclude -compress -nocompress
    -bw -bwns -size_t -s32 -u32
    -8 -16 -32 -64 -128 -256 -512 -1024 -t0 -t1 -t2 -t3 -t4"
  # hexloom answers these only as its first argument.
  local queries="-h --help --version"
  local current=${COMP_WORDS[COMP_CWORD]}
  # Walks the words before the cursor as hexloom reads them, so that a value
  # that looks like an option (-o -i) is still taken as a value.
  local word expecting="" index=1
  while ((index < COMP_CWORD)); do
    word=${COMP_WORDS[index]}
    case $word in
      -o | -i | -depfile | -ns | -align | -index | -prefix | -exclude) expecting=$word; index=$((index + 2)) ;;
      -p) expecting=$word; index=$((index + 3)) ;;
      *) expecting=""; index=$((index + 1)) ;;
    esac
  done
  # index passed the cursor: the cursor is on a value of the last option.
  local slot=""
  if ((index > COMP_CWORD)); then
    slot=$expecting
    [[ $expecting == -p && $index -eq $((COMP_CWORD + 1)) ]] && slot=tag
  fi

  COMPREPLY=()
  case $slot in
    -i | -depfile)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -f -- "$current")
      ;;
    -o | -p)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -d -- "$current")
      ;;
    tag | -ns | -align | -index | -prefix | -exclude) ;;
    *)
      ((COMP_CWORD == 1)) && options+=" $queries"
      mapfile -t COMPREPLY < <(compgen -W "$options" -- "$current")
      ;;
  esac
}
complete -F _hexloom hexloom
