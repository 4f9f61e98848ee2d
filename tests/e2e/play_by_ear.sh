#!/usr/bin/env bash
# --speak against a stand-in for speech-dispatcher, played by keys (what each key says is the headless tests' part):
# every text cancels the one before it; F2 switches speech off. Without a service the game plays on, saying so once.
source "$2/tests/e2e/support/xvfb.sh"
command -v socat >/dev/null || fail "socat is not installed (make deps)"
start_xvfb 1024x768

# The game of 2 x 2 cards, with captions.
new_game "$work/game"
printf 'c0\tf0.bmp\tC0\nc1\tf1.bmp\tC1\nc2\tf2.bmp\tC2\nc3\tf3.bmp\tC3\n' >"$game/data/cards.txt"

log="$work/speech.log" && : >"$log"
socat "UNIX-LISTEN:$work/speechd.sock,fork" "EXEC:bash $source_dir/tests/e2e/support/ssip_responder.sh $log" &
GAME_PIDS+=("$!")  # stopped at the end with the games
retry 50 0.1 test -S "$work/speechd.sock" || fail "the test server did not start"
export SPEECHD_ADDRESS="unix_socket:$work/speechd.sock"

# Waits until the service was asked to say a text that matches the pattern $1 (a whole line), at least $2 times.
heard() { [ "$(grep -c -x -- "say $1" "$log")" -ge "${2:-1}" ]; }
hear() { retry 100 0.1 heard "$@" || fail "never said \"$1\": $(grep say "$log" | tail -3)"; }

open_window Memory "$memory" --speak "$game/play.ini" && hear "speech on"
keys Right && hear "row 1, column 1, face down"
xdotool key Return && hear "C[0-3]" && sleep 1  # the turn sound, after which the board is free
xdotool key F2 && hear "speech off"
xdotool key F2 && hear "speech on" 2
# Every text but the first comes after a cancel of what was still being said.
awk '/^say/ && n++ && last != "cancel" { bad = 1 } { last = $0 } END { exit bad }' "$log" ||
    fail "a text was not preceded by a cancel: $(cat "$log")"
escape_ends
[ ! -s "$GAME_ERR" ] || fail "the game reported: $(cat "$GAME_ERR")"

# No service: the game starts and ends as always, with one line on standard error.
SPEECHD_ADDRESS="unix_socket:$work/nothing-here.sock" open_window Memory "$memory" --speak "$game/play.ini"
sleep 1; keys Right; escape_ends
[ "$(grep -c "speech is off" "$GAME_ERR")" -eq 1 ] || fail "not one line about speech: $(cat "$GAME_ERR")"
