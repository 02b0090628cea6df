# Bash completion for fsdata: commands, their options, and field names after
# --fields in the language --lang names on the line. Load with
#   source tools/fsdata/fsdata.bash
_fsdata() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  local command="" lang="" i
  for ((i = 1; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in
      query|sql|fields|dialog|info) [ -z "$command" ] && command=${COMP_WORDS[i]} ;;
      --lang) lang=${COMP_WORDS[i+1]} ;;
      --lang=*) lang=${COMP_WORDS[i]#--lang=} ;;
    esac
  done
  case $prev in
    --format) COMPREPLY=($(compgen -W "table csv jsonl" -- "$cur")); return ;;
    --driver) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --mask|--levels|--lang) return ;;
    --fields)
      # The item being typed is what follows the last comma.
      local done_part="" item=$cur names
      [[ $cur == *,* ]] && done_part=${cur%,*}, && item=${cur##*,}
      names=$("${COMP_WORDS[0]}" fields --lang "$lang" --format csv 2>/dev/null |
        tail -n +2 | cut -d, -f2 | tr -d '"')
      local IFS=$'\n' name
      COMPREPLY=()
      for name in all $names; do
        [[ ${name,,} == "${item,,}"* ]] && COMPREPLY+=("$done_part$name")
      done
      compopt -o filenames -o nospace 2>/dev/null
      return ;;
  esac
  local options
  case $command in
    "") COMPREPLY=($(compgen -W "query sql fields dialog info --help --version" -- "$cur")); return ;;
    query) options="--mask --levels --empty-dirs --fields --format --lang --driver --help --" ;;
    sql) options="--format --lang --driver --help --" ;;
    fields) options="--format --lang --sql --driver --help" ;;
    dialog|info) options="--lang --driver --help" ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
  elif [ "$command" = query ]; then
    COMPREPLY=($(compgen -d -- "$cur"))
  fi
}
complete -F _fsdata fsdata
