# Sourced by each end-to-end test, run with the program memory ($1) and the source folder ($2), and by the package
# test (the package as $1): a temporary folder $work, a private X server (start_xvfb WIDTHxHEIGHT) and a few checks.
# At exit, however it comes, the server and the programs of `start_game` stop and the commands of `on_exit` run.
# The programs speak English, as the checks grep English texts.
set -uo pipefail
memory="${1:-}" source_dir="${2:-}" bin="${memory%/*}"
unset LANGUAGE && export LC_ALL=C.UTF-8

fail() { echo "FAIL: $*" >&2; exit 1; }
E2E_CLEANUP=() GAME_PIDS=()  # the X server, the programs started and the test's own servers
on_exit() { E2E_CLEANUP+=("$1"); }
# A program runs in a subshell that records its status: stop both, or one left keeps the test runner waiting.
_e2e_exit() {
    local p c; for p in "${GAME_PIDS[@]}"; do pkill -P "$p" 2>/dev/null; kill "$p" 2>/dev/null; done; wait 2>/dev/null
    for c in "${E2E_CLEANUP[@]}"; do eval "$c"; done
} && trap _e2e_exit EXIT

work="$(mktemp -d)"  # removed at exit unless KEEP is set (then it is named)
if [ -n "${KEEP:-}" ]; then echo "work: $work" >&2; else on_exit "rm -rf '$work'"; fi

# Runs the command "${@:3}" up to "$1" times, "$2" seconds apart, until it succeeds.
retry() { local n="$1" pause="$2"; shift 2; for _ in $(seq "$n"); do "$@" && return 0; sleep "$pause"; done; return 1; }

start_xvfb() {
    local tool fd_file="$(mktemp)"
    SCREEN_SIZE="$1" SHOT="$(mktemp --suffix=.png)" && on_exit "rm -f '$SHOT'"
    for tool in Xvfb convert xdotool; do command -v $tool >/dev/null || fail "$tool is not installed (make deps)"; done
    # -noreset: when its last client leaves, the server would reset, and a game started then could not connect.
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset 3>"$fd_file" 2>/dev/null & GAME_PIDS+=("$!")
    retry 50 0.1 test -s "$fd_file" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$fd_file")" && rm -f "$fd_file"  # and it answers before the first client starts
    retry 50 0.1 xdpyinfo >/dev/null 2>&1 || fail "Xvfb on $DISPLAY does not answer"
}

# A new game in folder $game="$1" (gfx/, cards/, sfx/, data/ with main.ini, global.ini, cards.txt) defined by
# play.ini in it ("$2" debug: the trace on): one player, 2 x 2 cards of 80 x 80 (one card line a face of
# $face_colours), removed when taken, on a board of $board_colour; the good end picture in $good_colour, the bad one
# magenta; silent sounds good, bad, turn, match, nomatch and click. A test adds to the files or writes them anew.
board_colour="#282828" good_colour="#00FF00" face_colours=("#FF0000" "#FE0000" "#0000FF" "#0000FE")
new_game() {
    local s k; game="$1" && mkdir -p "$game"/{gfx,cards,sfx,data}
    { printf '[memory]\napp=memory\n'; [ "${2:-}" = debug ] && printf 'debug=1\n'
      printf '[paths]\ngfx=%s/gfx/\ncard=%s/cards/\nsfx=%s/sfx/\ndata=%s/data/\n' "$game" "$game" "$game" "$game"
      printf '[gamefiles]\nmain=main.ini\nglobal=global.ini\ncards=cards.txt\n'; } >"$game/play.ini"
    for s in good bad turn match nomatch click; do wave "$game/sfx/$s.wav" 800; done
    solid gfx/board 1280x1024 "$board_colour"; solid gfx/back 80x80 "#C8C8C8"; solid gfx/player 120x30 "#3C3C78"
    solid gfx/good 200x100 "$good_colour"; solid gfx/bad 200x100 "#FF00FF"
    for k in "${!face_colours[@]}"; do
        solid "cards/f$k" 80x80 "${face_colours[k]}" && printf 'c%s\tf%s.bmp\n' $k $k >>"$game/data/cards.txt"
    done
    printf '[interface]\npictures=board.bmp\tboard.bmp\tboard.bmp\tboard.bmp\tboard.bmp\nbackcolor=2631720
endgoodpicture=good.bmp\nendbadpicture=bad.bmp\nendgoodsound=good.wav\nendbadsound=bad.wav\nmatchsound=match.wav
nomatchsound=nomatch.wav\n[players]\nplayers=1\npicture=player.bmp\n' >"$game/data/main.ini"
    printf '[cards]\ncardsx=2\ncardsy=2\ncardwidth=80\ncardheight=80\npicture=back.bmp\nturnsound=turn.wav
dissapear=1\n' >"$game/data/global.ini"
}
# Picture "$1".bmp of the game, of size "$2" in colour "$3".
solid() { convert -size "$2" "xc:$3" "BMP3:$game/$1.bmp"; }
# Writes file "$1": 0.1 s of mono 8-bit silence whose header claims "$2" bytes of it.
wave() { perl -e 'print pack("A4VA8VvvVVvvA4V", "RIFF", 836, "WAVEfmt ", 16, 1, 1, 8000, 8000, 1, 8, "data", $ARGV[0])
    . "\x80" x 800' "$2" >"$1"; }

# A screenshot of the whole screen in "$1" (default $SHOT): one that is empty or not the screen's size fails.
screenshot() {
    local size; import -window root "${1:-$SHOT}" 2>/dev/null; size="$(identify -format %wx%h "${1:-$SHOT}" 2>/dev/null)"
    [ "$size" = "$SCREEN_SIZE" ] || fail "the screenshot is ${size:-empty}, not $SCREEN_SIZE"
}
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n1; }
# True when a new screenshot ($SHOT) shows colour $1 at every "x y" place given after it.
shows() { screenshot; local place; for place in "${@:2}"; do [ "$(pixel "$SHOT" $place)" = "$1" ] || return 1; done; }

# The trace (definitions with debug on) goes to the system directory's memory.log: trace_lock keeps other
# end-to-end tests from tracing meanwhile, or the traces mix, and marks where this test's trace starts.
MEMORY_LOG=/var/games/memory/memory.log
trace_lock() {
    exec 9>"${TMPDIR:-/tmp}/memory-e2e-trace.lock"
    flock -w 90 9 || fail "another end-to-end test held the trace for 90 s"
    local dir; for dir in /var/games /var/games/memory; do [ -d "$dir" ] || on_exit "rm -rf '$dir'"; done
    mkdir -p "${MEMORY_LOG%/*}" 2>/dev/null; [ -w "${MEMORY_LOG%/*}" ] || fail "${MEMORY_LOG%/*} is not writable"
    LOG_START="$(stat -c %s "$MEMORY_LOG" 2>/dev/null || echo 0)"
}
trace() { tail -c +$((LOG_START + 1)) "$MEMORY_LOG" 2>/dev/null; }
traced() { [ "$(trace | grep -cF -- "$1")" -ge "$2" ]; }
# Waits until the trace holds line $1 at least $2 times (10 s at most).
trace_until() { retry 100 0.1 traced "$@" || fail "the trace does not show \"$1\" $2 times: $(trace | tail -5)"; }

# Starts the program in the background: GAME_PID, its stderr in $GAME_ERR and its status in $GAME_STATUS (a subshell
# that waits for it cannot hand it back otherwise).
start_game() {
    GAME_ERR="$(mktemp -p "$work")" GAME_STATUS="$(mktemp -u -p "$work")"
    (SDL_AUDIODRIVER=dummy "$@" 2>"$GAME_ERR"; echo $? >"$GAME_STATUS") &
    GAME_PID=$! && GAME_PIDS+=("$GAME_PID")
}
# The id of a top-level window named "$1", waited for long by wait_for_window (a sanitizer build on a busy machine
# starts slowly). xwininfo reads the name whatever type it has; xdotool's search by name passes over some.
window_named() {
    local id; id="$(xwininfo -root -tree 2>/dev/null | awk -v t="\"$1\": (" 'index($0, t) { print $1; exit }')"
    [ -n "$id" ] && printf '%d\n' "$id"
}
wait_for_window() { retry 300 0.1 window_named "$1"; }
# Starts the program with "${@:2}" and waits for its window titled "$1": $window.
open_window() {
    start_game "${@:2}"
    window="$(wait_for_window "$1")" || fail "no window titled \"$1\" for ${*:2}: $(cat "$GAME_ERR")"
}
# The ids of the message boxes shown, titled "$BOX_TITLE (#N)"; fails when there is none.
box_ids() {
    local t="\"${BOX_TITLE:-Error in application} (#"
    xwininfo -root -tree 2>/dev/null | awk -v t="$t" 'index($0, t) { print $1; n++ } END { exit !n }'
}
# keys presses keys "$@" in $window; wait_for_exit prints the game's exit status once it ended.
keys() { xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key "$@"; }
wait_for_exit() { retry 300 0.1 test -s "$GAME_STATUS" && cat "$GAME_STATUS" || echo timeout; }
# Starts the program with "${@:2}": its window "$1" shows, reports no error within a second, and Escape ends it.
plays_clean() {
    open_window "$@"
    sleep 1; ! grep -q "${BOX_TITLE:-Error in application}" "$GAME_ERR" || fail "${*:2}: an error: $(cat "$GAME_ERR")"
    escape_ends
}
escape_ends() {  # Escape in $window ends the game with status 0
    keys Escape; local status; status="$(wait_for_exit)"
    [ "$status" = 0 ] || fail "Escape ends with status $status, not 0: $(cat "$GAME_ERR")"
}
