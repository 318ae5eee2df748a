# bash completion for rtuctl. The commands and options come from rtuctl's own help, so
# they are always those of the installed program.
_rtuctl_words()
{
    # Option names and subcommand names from a help text.
    "$@" --help 2>/dev/null | awk '
        /^Subcommands:/ { sub_ = 1; next }
        /^[A-Za-z]/     { sub_ = 0 }
        sub_ && /^  [a-z]/ { print $1; next }
        /^  -/ { n = split($1, names, ","); for (i = 1; i <= n; ++i) { o = names[i]; sub(/[ :=].*/, "", o); print o } }'
}

_rtuctl()
{
    local cur prev sub i
    cur="${COMP_WORDS[COMP_CWORD]}"
    prev="${COMP_WORDS[COMP_CWORD-1]}"
    case "$prev" in
        -p|--port)
            COMPREPLY=($(compgen -W "$(ls /dev/serial/by-id/* /dev/ttyUSB* /dev/ttyACM* /dev/ttyS* /dev/pts/[0-9]* 2>/dev/null)" -- "$cur"))
            return ;;
        -b|--baud)
            COMPREPLY=($(compgen -W "300 600 1200 2400 4800 9600 19200 38400 57600 115200" -- "$cur"))
            return ;;
        --parity)
            COMPREPLY=($(compgen -W "none odd even mark" -- "$cur"))
            return ;;
        --profile|--json|--report|--csv|-o|--trace)
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        --backup)
            COMPREPLY=($(compgen -d -- "$cur"))
            return ;;
    esac
    sub=""
    for ((i = 1; i < COMP_CWORD; ++i)); do
        case "${COMP_WORDS[i]}" in
            -p|--port|-b|--baud|--parity|--password|--timeout) ((++i)) ;;
            -*) ;;
            *) sub="${COMP_WORDS[i]}"; break ;;
        esac
    done
    if [[ -z "$sub" ]]; then
        COMPREPLY=($(compgen -W "$(_rtuctl_words "${COMP_WORDS[0]}")" -- "$cur"))
    elif [[ "$cur" == -* ]]; then
        COMPREPLY=($(compgen -W "$(_rtuctl_words "${COMP_WORDS[0]}" "$sub")" -- "$cur"))
    else
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}
complete -F _rtuctl rtuctl
