#!/usr/bin/env bash
# The real program on a game whose every picture and sound is broken: a
# truncated PNG, a BMP whose header claims a giant size, a wave whose data
# length lies, empty files and directories named like files. Each picture
# gives its numbered error, answered with OK; the sounds play as silence or
# as what is really there; one pair is taken and the game ends normally.
set -uo pipefail
memory="$1" source_dir="$2"
source "$source_dir/tests/e2e/support/xvfb.sh"
make_work_dir work
command -v convert >/dev/null || fail "ImageMagick is not installed (make deps installs it)"
use_trace_log
count() { trace | grep -cxF -- "$1"; }

le() { local v=$1 n=$2; for ((k = 0; k < n; k++)); do printf "\\x$(printf %02x $(( (v >> (8 * k)) & 255 )))"; done; }
truncated_png() { convert -size 64x64 xc:red "png:$work/whole.png"; head -c 60 "$work/whole.png" >"$1"; }
huge_bmp() { { printf BM; le 54 4; le 0 4; le 54 4; le 40 4; le 60000 4; le 60000 4; le 1 2; le 24 2; head -c 24 /dev/zero; } >"$1"; }
# Claims 2 GB of sound; 800 bytes (0.1 s) are there.
lying_wave() {
    { printf RIFF; le 836 4; printf 'WAVEfmt '; le 16 4; le 1 2; le 1 2; le 8000 4; le 8000 4; le 1 2; le 8 2
      printf data; le 2147483647 4; head -c 800 /dev/zero | tr '\0' '\200'; } >"$1"
}
empty() { : >"$1"; }
directory() { mkdir -p "$1"; }

game="$work/game"
mkdir -p "$game"/{gfx,cards,sfx,data}
truncated_png "$game/gfx/bg640.png"; huge_bmp "$game/gfx/bg800.bmp"; empty "$game/gfx/bg1024.png"
directory "$game/gfx/bg1152.png"; truncated_png "$game/gfx/bg1280.png"
directory "$game/gfx/quit.png"; huge_bmp "$game/gfx/player.bmp"; truncated_png "$game/gfx/back.png"
empty "$game/gfx/good.png"; huge_bmp "$game/gfx/bad.bmp"
huge_bmp "$game/cards/f0.bmp"; empty "$game/cards/f1.png"
lying_wave "$game/cards/s0.wav"; truncated_png "$game/cards/s1.wav"
lying_wave "$game/sfx/turn.wav"; empty "$game/sfx/good.wav"; empty "$game/sfx/bad.wav"
lying_wave "$game/sfx/match.wav"; empty "$game/sfx/nomatch.wav"
printf 'c0\tf0.bmp\tC0\ts0.wav\nc1\tf1.png\tC1\ts1.wav\n' >"$game/data/cards.txt"
write_definition "$game/play.ini" "$game" memory debug
printf '[interface]\npictures=bg640.png\tbg800.bmp\tbg1024.png\tbg1152.png\tbg1280.png\nbackcolor=32768\nquitpicture=quit.png\nendgoodpicture=good.png\nendbadpicture=bad.bmp\nendgoodsound=good.wav\nendbadsound=bad.wav\nmatchsound=match.wav\nnomatchsound=nomatch.wav\n[players]\nplayers=1\npicture=player.bmp\n' \
    >"$game/data/main.ini"
printf '[cards]\ncardsx=2\ncardsy=1\ncardwidth=100\ncardheight=100\nborder=1\npicture=back.png\nturnsound=turn.wav\ndissapear=1\n' \
    >"$game/data/global.ini"

start_xvfb 1024x768
start_game "$memory" "$game/play.ini"
# Every broken picture at start: five backgrounds, the quit picture, the
# player picture in each of four slots, the card back and both faces.
boxes=()
while ! xdotool search --name '^Memory$' >/dev/null 2>&1; do
    [ -s "$GAME_STATUS" ] && fail "the program ended at start: $(cat "$GAME_ERR")"
    title="$(xwininfo -root -tree 2>/dev/null | grep -o '"Error in application (#[0-9]*)"' | head -n1 | tr -d '"')"
    if [ -n "$title" ]; then
        boxes+=("${title//[^0-9]/}")
        answer_box "$title" Return || fail "could not answer $title"
        sleep 0.3
    fi
    [ "${#boxes[@]}" -le 30 ] || fail "too many message boxes: ${boxes[*]}"
    sleep 0.1
done
echo "errors at start: ${boxes[*]}"
window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
trace_until() {
    for _ in $(seq 100); do [ "$(count "$1")" -ge "$2" ] && return 0; sleep 0.1; done
    return 1
}
trace_until "=> Form_Activate <=" 1 || fail "the game window was not activated: $(cat "$GAME_ERR")"
sleep 0.5
import -window root "$work/start.png"
