# Shared by the end-to-end tests: a private X server and a few checks.
# Usage: source it, then start_xvfb WIDTHxHEIGHT; DISPLAY is set; the server
# and every program started with `start_game` stop when the script exits,
# however it ends, and the commands given to `on_exit` run then.

fail() { echo "FAIL: $*" >&2; exit 1; }

E2E_CLEANUP=() GAME_PIDS=() XVFB_PID=""
on_exit() { E2E_CLEANUP+=("$1"); }
_e2e_exit() {
    local pid command
    # The program runs in a subshell that records its status: stop both, or a
    # program left behind keeps the test runner waiting on its output.
    for pid in "${GAME_PIDS[@]}"; do pkill -P "$pid" 2>/dev/null; kill "$pid" 2>/dev/null; done
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    for command in "${E2E_CLEANUP[@]}"; do eval "$command"; done
}
trap _e2e_exit EXIT

# Sets the variable named "$1" to a new temporary directory, removed at exit
# unless KEEP is set (then its name is printed).
make_work_dir() {
    local dir
    dir="$(mktemp -d)"
    printf -v "$1" %s "$dir"
    if [ -n "${KEEP:-}" ]; then echo "work: $dir" >&2; else on_exit "rm -rf '$dir'"; fi
}

start_xvfb() {
    local fd_file
    command -v Xvfb >/dev/null || fail "Xvfb is not installed (make deps installs it)"
    fd_file="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$fd_file" 2>/dev/null &
    XVFB_PID=$!
    for _ in $(seq 50); do [ -s "$fd_file" ] && break; sleep 0.1; done
    [ -s "$fd_file" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$fd_file")"
    rm -f "$fd_file"
}

# Writes the definition file "$1" of a game in directory "$2" (with gfx/,
# cards/, sfx/ and data/ holding main.ini, global.ini and cards.txt) of
# application type "$3"; "$4" is "debug" for the trace.
write_definition() {
    {
        printf '[memory]\napp=%s\n' "$3"
        [ "${4:-}" = debug ] && printf 'debug=1\n'
        printf '[paths]\ngfx=%s/gfx/\ncard=%s/cards/\nsfx=%s/sfx/\ndata=%s/data/\n' "$2" "$2" "$2" "$2"
        printf '[gamefiles]\nmain=main.ini\nglobal=global.ini\ncards=cards.txt\n'
    } >"$1"
}

# Prepares for reading the trace of this run: the program appends it to
# memory.log in the system directory it was built with, made here when
# missing and removed again at exit. `trace` prints what this run wrote.
# One traced game at a time on the machine (the lock holds across build
# trees too), or the traces mix.
use_trace_log() {
    local log_dir=/var/games/memory made_dir=""
    exec 9>"${TMPDIR:-/tmp}/memory-e2e-trace.lock"
    flock -w 90 9 || fail "another end-to-end test held the trace for 90 s"
    if [ ! -d "$log_dir" ]; then
        made_dir="$log_dir"
        while [ ! -d "$(dirname "$made_dir")" ]; do made_dir="$(dirname "$made_dir")"; done
        mkdir -p "$log_dir" 2>/dev/null || made_dir=""
        [ -n "$made_dir" ] && on_exit "rm -rf '$made_dir'"
    fi
    [ -w "$log_dir" ] || fail "$log_dir is not writable: the trace cannot be checked"
    log="$log_dir/memory.log"
    log_start=$(( $( [ -f "$log" ] && stat -c %s "$log" || echo 0 ) ))
}
trace() { tail -c +$((log_start + 1)) "$log" 2>/dev/null | tr -d '\r'; }

# Starts the program in the background; GAME_PID, stderr in $GAME_ERR.
start_game() {
    GAME_ERR="$(mktemp)"
    GAME_STATUS="$(mktemp -u)"
    on_exit "rm -f '$GAME_ERR' '$GAME_STATUS'"
    # The status goes to a file: the waiting runs in a subshell, which cannot wait for it.
    (SDL_AUDIODRIVER=dummy "$@" 2>"$GAME_ERR"; echo $? >"$GAME_STATUS") &
    GAME_PID=$!
    GAME_PIDS+=("$GAME_PID")
}

# Waits until a top-level window named "$1" exists; prints its id. The wait
# is long because a sanitizer build on a busy machine starts slowly.
wait_for_window() {
    local id
    for _ in $(seq 300); do
        id="$(xdotool search --name "^$1\$" 2>/dev/null | head -n1)"
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Focuses window "$1", presses Escape and fails unless the game then ends with status 0.
escape_ends() {
    local status
    xdotool windowfocus --sync "$1" 2>/dev/null; xdotool key Escape
    status="$(wait_for_exit)"
    [ "$status" = 0 ] || fail "Escape ends with status $status, not 0: $(cat "$GAME_ERR")"
}

# Waits for the game to end; prints its exit status.
wait_for_exit() {
    for _ in $(seq 300); do
        [ -s "$GAME_STATUS" ] && { cat "$GAME_STATUS"; return 0; }
        sleep 0.1
    done
    echo timeout
}
