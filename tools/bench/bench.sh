#!/usr/bin/env bash
# Start-up, memory, idle and animation benchmark of the real program under
# Xvfb, side by side with the floor (floor.c: the least an SDL2 program does
# to show the same board). Runs of the game and the floor alternate, so both
# see the same load on the machine. The README says how to read the table.
#
#   bench.sh BUILD_DIR      (make bench)
#   BENCH_RUNS=3 BENCH_IDLE=3 bench.sh build    a quick look
#   BENCH_IDLE=0 skips the idle runs, BENCH_FLY=0 the fly-away, BENCH_LIBRARY=0
#   the library.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
runs="${BENCH_RUNS:-10}" idle_s="${BENCH_IDLE:-10}"
source "$root/tests/e2e/support/xvfb.sh"
for tool in Xvfb convert import xdotool cc; do command -v $tool >/dev/null || fail "$tool is missing (make deps)"; done
[ -x "$build/memory" ] || fail "$build/memory is not built"

# The watcher and the floor, built here: they are not part of the game.
bin="$build/bench"
mkdir -p "$bin"
cc -O2 -Wall -o "$bin/benchwatch" "$root/tools/bench/benchwatch.c" -lX11 -lXdamage || fail "cannot build benchwatch"
cc -O2 -Wall -o "$bin/floor" "$root/tools/bench/floor.c" $(pkg-config --cflags --libs sdl2 SDL2_image) ||
    fail "cannot build the floor"

results="$work/results"
: >"$results"
game_dir="$build/games/memory"
back_colour=2A4A9A  # the plain part of the card back

# A copy of the bundled memory game's definition with its own data folder
# "$work/$1"; the pictures and sounds stay where they are.
variant() {
    local data="$work/$1"
    mkdir -p "$data"
    cp "$game_dir/data/global.ini" "$game_dir/data/cards.txt" "$data/"
    # No counter running: the clock is switched off.
    sed '/^\[timer\]/,/^\[/ s/^active=1/active=0/' "$game_dir/data/main.ini" >"$data/main.ini"
    printf '[application]\napp=memory\n[paths]\ngfx=%s/gfx/\ncard=%s/cards/\nsfx=%s/sfx/\ndata=%s/\n[gamefiles]\nmain=main.ini\nglobal=global.ini\ncards=cards.txt\n' \
        "$game_dir" "$game_dir" "$game_dir" "$data" >"$work/$1.ini"
}
variant still
# One pair on a board of two cards, for the fly-away.
variant fly
head -n 2 "$game_dir/data/cards.txt" >"$work/fly/cards.txt"
sed -i 's/^cardsx=.*/cardsx=2/; s/^cardsy=.*/cardsy=1/' "$work/fly/global.ini"

# Where the card backs are: "left top width height" of the box around all
# card backs on the screen, from a screenshot of the game "$@".
find_cards() {
    local shot="$work/cards.png" box w h x y pid
    "$@" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 50); do
        sleep 0.2
        import -window root "$shot" 2>/dev/null || continue
        box="$(convert "$shot" -fill black +opaque "#$back_colour" -trim -format '%w %h %X %Y' info: 2>/dev/null)" || continue
        read -r w h x y <<<"$box"
        [ "$w" -gt 40 ] && [ "$h" -gt 40 ] && break
        box=""
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    [ -n "$box" ] || fail "no card backs seen on the screen"
    echo "${x#+} ${y#+} $w $h"
}

# record NAME MEASURE...: one run of benchwatch; its "key=value" figures go
# to the results as "NAME key value".
record() {
    local name="$1" line
    shift
    line="$("$bin/benchwatch" "$@")" || { echo "run failed: $name" >&2; return; }
    tr ' ' '\n' <<<"$line" | sed "s/^/$name /; s/=/ /" >>"$results"
}

# The fly-away of the one pair on a screen of size "$1": clicks both cards
# and records the spacing of the animation's frames.
fly_away() {
    local size="$1" x y w h pid
    read -r x y w h <<<"$(find_cards "$build/memory" "$work/fly.ini")"
    for run in $(seq "$runs"); do
        "$build/memory" "$work/fly.ini" >/dev/null 2>&1 &
        pid=$!
        "$bin/benchwatch" frames Memory 15 >"$work/frames" &
        local watcher=$!
        "$bin/benchwatch" wait $((x + 10)) $((y + 20)) "$back_colour" || echo "no board in run $run" >&2
        # A click that comes with the pointer's first move onto a window
        # that has just been shown can be lost under Xvfb.
        xdotool mousemove $((x + 10)) $((y + 20))
        sleep 0.5
        xdotool click 1
        sleep 2  # the first card's sounds
        xdotool mousemove $((x + w - 10)) $((y + 20)) click 1
        wait "$watcher"
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        tr ' ' '\n' <"$work/frames" | sed "s/^/fly$size /; s/=/ /" >>"$results"
        echo "  fly-away at $size, run $run: $(cat "$work/frames")" >&2
    done
}

start_xvfb 1280x1024
read -r cx cy _ <<<"$(find_cards "$build/memory")"
px=$((cx + 10)) py=$((cy + 20))
pictures=()
for p in panel_timer panel_left panel_tries player quit; do pictures+=("$game_dir/gfx/$p.png"); done
while IFS=$'\t' read -r _ picture _; do pictures+=("$game_dir/cards/$picture"); done <"$game_dir/data/cards.txt"
floor=("$bin/floor" "$cx" "$cy" "$game_dir/gfx/bg640.png" "$game_dir/gfx/back.png" "${pictures[@]}")
watch=("$px" "$py" "$back_colour")
idle=("$px" "$py" "$back_colour" 2000 $((idle_s * 1000)))

for run in $(seq "$runs"); do
    echo "run $run of $runs" >&2
    record game.start start "${watch[@]}" -- "$build/memory"
    record floor.start start "${watch[@]}" -- "${floor[@]}"
    [ "$idle_s" -gt 0 ] || continue
    record game.timer idle "${idle[@]}" -- "$build/memory"
    record floor.timer idle "${idle[@]}" -- "${floor[0]}" --timer "${floor[@]:1}"
    record game.still idle "${idle[@]}" -- "$build/memory" "$work/still.ini"
    record floor.still idle "${idle[@]}" -- "${floor[@]}"
done
if [ "${BENCH_FLY:-1}" != 0 ]; then
    fly_away 1280x1024
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    start_xvfb 1920x1080
    fly_away 1920x1080
fi

# The library's first screen with 100 and with 1,000 games of the user's own
# (their miniatures kept from a first run), at 1920 x 1080, beside the game's
# start there: until the first tile's miniature shows the card backs.
library_games() {
    local home="$work/home$1" n
    for n in $(seq -w 1 "$1"); do
        mkdir -p "$home/.local/share/memory/games/game$n"
        sed "s/^app=memory/app=memory\ntitle=Game $n/" "$work/still.ini" >"$home/.local/share/memory/games/game$n/game$n.ini"
    done
    echo "$home"
}
# The first pixel of the card backs' colour on the screen of the program "$@"
# (left to right along the top row first): "x y".
find_pixel() {
    local shot="$work/pixel.png" at="" pid
    "$@" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 100); do
        sleep 0.2
        import -window root "$shot" 2>/dev/null || continue
        at="$(convert "$shot" txt:- 2>/dev/null | grep -m1 -i "#$back_colour" | sed 's/^\([0-9]*\),\([0-9]*\):.*/\1 \2/')"
        [ -n "$at" ] && break
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    [ -n "$at" ] || fail "no card backs seen on the screen"
    echo "$at"
}
if [ "${BENCH_LIBRARY:-1}" != 0 ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    start_xvfb 1920x1080
    read -r gx gy _ <<<"$(find_cards "$build/memory")"
    for count in 100 1000; do
        home="$(library_games $count)"
        export XDG_CACHE_HOME="$home/.cache" XDG_DATA_HOME="$home/.local/share"
        read -r lx ly <<<"$(find_pixel "$build/memory" --library)"
        for run in $(seq "$runs"); do
            record "library$count.start" start "$lx" "$ly" "$back_colour" -- "$build/memory" --library
            [ "$count" = 100 ] && record game1920.start start $((gx + 10)) $((gy + 20)) "$back_colour" -- "$build/memory"
        done
        unset XDG_CACHE_HOME XDG_DATA_HOME
    done
fi

# The table: median and range of each figure for the game and the floor.
awk -v runs="$runs" -v idle="$idle_s" '
function median(list, n,   a, i, j, t) {
    split(list, a, " ")
    for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (a[j] + 0 < a[i] + 0) { t = a[i]; a[i] = a[j]; a[j] = t }
    lo = a[1]; hi = a[n]
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
}
{ key = $1 " " $2; values[key] = values[key] " " $3; count[key]++ }
function cell(key, scale, fmt,   m) {
    if (!(key in count)) return sprintf("%-24s", "-")
    m = median(values[key], count[key])
    last = m * scale
    return sprintf("%-24s", sprintf(fmt " (" fmt "-" fmt ")", m * scale, lo * scale, hi * scale))
}
function row(title, game, floor, scale, fmt,   g, f, ratio) {
    g = cell(game, scale, fmt); gm = last
    f = floor == "" ? sprintf("%-24s", "") : cell(floor, scale, fmt); fm = last
    ratio = (floor != "" && (floor in count) && fm > 0) ? sprintf("%.2fx", gm / fm) : ""
    printf "%-34s %s %s %s\n", title, g, f, ratio
}
END {
    printf "Medians (min-max) of %d runs, Xvfb 1280 x 1024 unless said; idle over %d s.\n\n", runs, idle
    printf "%-34s %-24s %-24s %s\n", "figure", "game", "floor", "game/floor"
    row("start to board painted, ms", "game.start board_ms", "floor.start board_ms", 1, "%.0f")
    row("CPU time to the board, ms", "game.start cpu_ms", "floor.start cpu_ms", 1, "%.0f")
    row("peak RSS to the board, MB", "game.start rss_kb", "floor.start rss_kb", 1 / 1024, "%.1f")
    row("peak RSS of an idle run, MB", "game.timer rss_kb", "floor.timer rss_kb", 1 / 1024, "%.1f")
    row("idle CPU, timer counting, %", "game.timer idle_pct", "floor.timer idle_pct", 1, "%.2f")
    row("idle CPU, no counter, %", "game.still idle_pct", "floor.still idle_pct", 1, "%.2f")
    row("game: start to board, 1920x1080", "game1920.start board_ms", "", 1, "%.0f")
    row("library, 100 games: first screen", "library100.start board_ms", "", 1, "%.0f")
    row("library, 1000 games: first screen", "library1000.start board_ms", "", 1, "%.0f")
    row("  peak RSS, 1000 games, MB", "library1000.start rss_kb", "", 1 / 1024, "%.1f")
    row("fly-away frames 1280x1024, ms", "fly1280x1024 median_ms", "", 1, "%.1f")
    row("  slowest frame, ms", "fly1280x1024 max_ms", "", 1, "%.1f")
    row("fly-away frames 1920x1080, ms", "fly1920x1080 median_ms", "", 1, "%.1f")
    row("  slowest frame, ms", "fly1920x1080 max_ms", "", 1, "%.1f")
}' "$results"
