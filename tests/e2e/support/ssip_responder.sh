#!/usr/bin/env bash
# A stand-in for speech-dispatcher on one connection (run by socat): answers the client's SSIP commands as the service
# would, reading them without regard to letter case, and appends to the log "$1" "say TEXT" for each text it is asked
# to say and "cancel" for each cancel.
log="$1" text="" receiving=""
reply() { printf '%s\r\n' "$@"; }
while IFS= read -r line; do
    line="${line%$'\r'}"
    if [ -n "$receiving" ]; then
        # A text ends at a line of one dot; a line of the text that starts with a dot has it doubled.
        if [ "$line" = . ]; then echo "say $text" >>"$log"; reply "225-1" "225 OK MESSAGE QUEUED"; receiving="" text=""
        else [ "${line:0:2}" = .. ] && line="${line:1}"; text+="${text:+ }$line"; fi
        continue
    fi
    case "${line^^}" in
        *CLIENT_NAME*) reply "208 OK CLIENT NAME SET" ;;
        *PRIORITY*) reply "202 OK PRIORITY SET" ;;
        SPEAK) receiving=1; reply "230 OK RECEIVING DATA" ;;
        CANCEL*) echo cancel >>"$log"; reply "213 OK CANCELED" ;;
        QUIT) reply "231 HAPPY HACKING"; exit 0 ;;
        *) reply "200 OK" ;;
    esac
done
