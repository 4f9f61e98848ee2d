#!/usr/bin/env bash
# The real program on a game whose every picture and sound is broken: a
# truncated PNG, a BMP whose header claims a giant size, a wave whose data
# length lies, empty files and directories named like files. Each picture
# gives its numbered error in a real message box, answered with OK (once every
# OK was taken as Cancel, which ended the program); the game then goes on and
# Escape ends it normally.
set -uo pipefail
memory="$1" source_dir="$2"
source "$source_dir/tests/e2e/support/xvfb.sh"
make_work_dir work
command -v convert >/dev/null || fail "ImageMagick is not installed (make deps installs it)"

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
write_definition "$game/play.ini" "$game" memory
printf '[interface]\npictures=bg640.png\tbg800.bmp\tbg1024.png\tbg1152.png\tbg1280.png\nbackcolor=32768\nquitpicture=quit.png\nendgoodpicture=good.png\nendbadpicture=bad.bmp\nendgoodsound=good.wav\nendbadsound=bad.wav\nmatchsound=match.wav\nnomatchsound=nomatch.wav\n[players]\nplayers=1\npicture=player.bmp\n' \
    >"$game/data/main.ini"
printf '[cards]\ncardsx=2\ncardsy=1\ncardwidth=100\ncardheight=100\nborder=1\npicture=back.png\nturnsound=turn.wav\ndissapear=1\n' \
    >"$game/data/global.ini"

start_xvfb 1024x768
start_game "$memory" "$game/play.ini"
# Clicks the OK button of the box titled "$1": left of the middle of the
# box's bottom row, beside Cancel.
click_ok() {
    local id x y w h
    id="$(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\"" | awk '{print $1}' | head -n1)"
    [ -n "$id" ] || return 1
    sleep 0.2
    # Without --sync: a move to where the pointer already is would wait for a motion that never comes.
    read -r x y w h < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}')
    xdotool mousemove $((x + w / 2 - 45)) $((y + h - 26)) click 1
}
# Answers every error box with OK until none has come for 3 s.
answer_errors() {
    local quiet=0 answered=0 title
    while [ "$quiet" -lt 30 ]; do
        [ -s "$GAME_STATUS" ] && fail "the program ended with status $(cat "$GAME_STATUS"): $(cat "$GAME_ERR")"
        title="$(xwininfo -root -tree 2>/dev/null | grep -o '"Error in application (#[0-9]*)"' | head -n1 | tr -d '"')"
        if [ -n "$title" ]; then
            click_ok "$title" || fail "could not answer $title"
            answered=$((answered + 1)) quiet=0
            [ "$answered" -le 40 ] || fail "too many message boxes: $(cat "$GAME_ERR")"
            sleep 0.3
        else
            quiet=$((quiet + 1))
            sleep 0.1
        fi
    done
}
answer_errors
window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
errors="$(grep -o 'Error in application (#[0-9]*)' "$GAME_ERR" | grep -o '[0-9]*' | sort -un | tr '\n' ' ')"
echo "errors at start: $errors"
for code in 100 101 103 104 105; do
    [[ " $errors" == *" $code "* ]] || fail "no error $code at start: $(cat "$GAME_ERR")"
done
escape_ends "$window"
echo "ok"
