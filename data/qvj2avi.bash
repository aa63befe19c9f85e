# SPDX-License-Identifier: MIT
# bash completion for qvj2avi: its options, a file or folder after -o, clips and folders
# elsewhere.
_qvj2avi() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} word
  local IFS=$'\n'
  for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
    [ "$word" = -- ] && break
  done
  case $prev in
  -o | --output | --like)
    COMPREPLY=($(compgen -f -- "$cur"))
    compopt -o filenames 2> /dev/null
    return
    ;;
  -j | --jobs)
    COMPREPLY=()
    return
    ;;
  esac
  if [ "$word" != -- ] && [[ $cur == --progress=* ]]; then
    COMPREPLY=($(compgen -P --progress= -W $'line\njson' -- "${cur#--progress=}"))
    return
  fi
  if [ "$word" != -- ] && [[ $cur == -* ]]; then
    local options=$'-o\n--output\n-f\n--force\n-r\n--recursive\n-j\n--jobs\n-q\n--quiet\n'
    options+=$'-s\n--salvage\n--like\n--progress\n--progress=\n--info\n--json\n--scan\n-h\n--help\n'
    options+=$'-V\n--version\n--'
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    [[ ${COMPREPLY[*]} == --progress= ]] && compopt -o nospace 2> /dev/null
    return
  fi
  COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.[qQ][vV][jJ]' -- "$cur"))
  compopt -o filenames 2> /dev/null
}
complete -F _qvj2avi qvj2avi
