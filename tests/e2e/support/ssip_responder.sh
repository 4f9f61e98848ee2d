#!/usr/bin/env bash
# A stand-in for speech-dispatcher on one connection (run by socat): answers
# the client's SSIP commands as the service would, and appends what it is
# asked to say to the log "$1" as "say TEXT", and each cancel as "cancel".
# Commands are read without regard to letter case, as the service reads them.
log="$1" text="" receiving=""
reply() { printf '%s\r\n' "$@"; }
while IFS= read -r line; do
    line="${line%$'\r'}"
    if [ -n "$receiving" ]; then
        if [ "$line" = . ]; then
            echo "say $text" >>"$log"
            reply "225-1" "225 OK MESSAGE QUEUED"
            receiving="" text=""
        else
            # A line that starts with a dot has it doubled.
            [ "${line:0:2}" = .. ] && line="${line:1}"
            text+="${text:+ }$line"
        fi
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
