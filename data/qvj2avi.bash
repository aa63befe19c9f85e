# SPDX-License-Identifier: MIT
# bash completion for qvj2avi: its options, folders after -o, clips elsewhere.
_qvj2avi() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} word
  local IFS=$'\n'
  for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
    [ "$word" = -- ] && break
  done
  case $prev in
  -o | --output)
    COMPREPLY=($(compgen -f -- "$cur"))
    compopt -o filenames 2>/dev/null
    return
    ;;
  -j | --jobs)
    COMPREPLY=()
    return
    ;;
  esac
  if [ "$word" != -- ] && [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W $'-o\n--output\n-f\n--force\n-j\n--jobs\n-q\n--quiet\n--info\n-h\n--help\n--' -- "$cur"))
    return
  fi
  COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.[qQ][vV][jJ]' -- "$cur"))
  compopt -o filenames 2>/dev/null
}
complete -F _qvj2avi qvj2avi
