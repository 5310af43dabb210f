# Bash completion for matrixctl: options, commands and their fixed words, and
# the aliases of the address book for --device.
_matrixctl()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local words=("${COMP_WORDS[@]}") cword=$COMP_CWORD

    case $prev in
        --tcp | --id)
            return ;;
        --serial)
            COMPREPLY=($(compgen -f -- "${cur:-/dev/tty}"))
            return ;;
        --baud)
            COMPREPLY=($(compgen -W '9600 19200 38400 57600 115200' -- "$cur"))
            return ;;
        --book)
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        --device)
            local book=ipmanager i
            for ((i = 1; i < cword - 1; i++)); do
                [[ ${words[i]} == --book ]] && book=${words[i + 1]}
            done
            local IFS=$'\n'
            COMPREPLY=($(compgen -W "$(matrixctl --book "$book" devices 2>/dev/null | cut -f1)" -- "$cur"))
            return ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--tcp --serial --baud --device --book --id --json --quiet --hex --help --version' -- "$cur"))
        return
    fi

    # The words so far that are neither options nor their values (bash splits
    # HOST:PORT into three words).
    local args=() i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --tcp | --serial | --baud | --device | --book | --id | :) ((i++)) ;;
            -*) ;;
            *) args+=("${words[i]}") ;;
        esac
    done
    case ${#args[@]} in
        0) COMPREPLY=($(compgen -W 'switch all onebyone scene buzzer edid net raw devices' -- "$cur")) ;;
        1) case ${args[0]} in
               scene) COMPREPLY=($(compgen -W 'save call' -- "$cur")) ;;
               buzzer) COMPREPLY=($(compgen -W 'on off' -- "$cur")) ;;
               net) COMPREPLY=($(compgen -W 'get set reset' -- "$cur")) ;;
           esac ;;
    esac
}
complete -F _matrixctl matrixctl
