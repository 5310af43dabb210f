# Bash completion for matrixctl: options, commands and their fixed words, and
# the aliases of the address book for --device, quoted as they are inserted.
_matrixctl()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local words=("${COMP_WORDS[@]}") cword=$COMP_CWORD

    # bash splits --opt=value into three words: the option, "=" and the value.
    if [[ $cur == = ]]; then
        prev=${words[cword - 1]} cur=
    elif [[ $prev == = ]]; then
        prev=${words[cword - 2]}
    fi

    case $prev in
        --tcp | --id | --inputs | --outputs | --timeout | --wait)
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
            local book=ipmanager i name plain
            for ((i = 1; i < cword - 1; i++)); do
                if [[ ${words[i]} == --book && ${words[i + 1]} == = ]]; then
                    book=${words[i + 2]}
                elif [[ ${words[i]} == --book ]]; then
                    book=${words[i + 1]}
                elif [[ ${words[i]} == --book=* ]]; then
                    book=${words[i]#--book=}
                fi
            done
            # What was typed so far, without the quotes and backslashes of a name.
            plain=${cur//\\/}
            plain=${plain#[\"\']}
            COMPREPLY=()
            while IFS= read -r name; do
                [[ -n $name && $name == "$plain"* ]] && COMPREPLY+=("$(printf '%q' "$name")")
            done < <(matrixctl --book "$book" devices 2>/dev/null | cut -f1)
            return ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--tcp --serial --baud --wait --device --book --id --inputs --outputs --timeout
                                  --json --quiet --hex --help --version' -- "$cur"))
        return
    fi

    # The words so far that are neither options nor their values (bash splits
    # HOST:PORT into three words).
    local args=() i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --tcp | --serial | --baud | --wait | --device | --book | --id | --inputs | --outputs | --timeout)
                [[ ${words[i + 1]} == = ]] && ((i++))
                ((i++)) ;;
            :) ((i++)) ;;
            -*) ;;
            *) args+=("${words[i]}") ;;
        esac
    done
    case ${#args[@]} in
        0) COMPREPLY=($(compgen -W 'switch all onebyone scene buzzer edid net raw devices -' -- "$cur")) ;;
        1) case ${args[0]} in
               scene) COMPREPLY=($(compgen -W 'save call' -- "$cur")) ;;
               buzzer) COMPREPLY=($(compgen -W 'on off' -- "$cur")) ;;
               net) COMPREPLY=($(compgen -W 'get set reset' -- "$cur")) ;;
           esac ;;
    esac
}
complete -F _matrixctl matrixctl
