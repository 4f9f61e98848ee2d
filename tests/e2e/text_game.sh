#!/usr/bin/env bash
# The real program on a 1920 x 1080 screen plays a text game with a control panel to its end, every card and text
# found on screenshots and clicked through the scaled board; two starts deal the cards and the texts differently.
source "$2/tests/e2e/support/xvfb.sh"
trace_lock

# Six cards of 80 x 80, each face a colour of its own; text k (card line k's match) is k + 1 letters long, so the
# widths on the screen tell the texts apart. The panel's "cards left" sits on a cyan picture.
text_colour="#FFFF00" panel_colour="#00FFFF" face_colours=("#FF0000" "#0000FF" "#FF00FF" "#FF8000" "#8000FF" "#0080FF")
new_game "$work/game" debug && printf 'listfile=list.txt\n' >>"$game/play.ini"
solid gfx/panel 97x57 "$panel_colour"; solid gfx/bad 200x100 "#FFFFFF"
for k in 0 1 2 3 4 5; do printf '%s\t\n' "$(printf 'W%.0s' $(seq 0 "$k"))" >>"$game/cards/list.txt"; done
printf '[cards left]\nactive=1\norder=1\npicture=panel.bmp\nforecolor=0\n' >>"$game/data/main.ini"
printf 'cardsx=3\n[text list]\nactive=1\nfontname=DejaVu Sans\nfontsize=20\nfontbold=1\nforecolor=65535
selectcolor=8421376\ndestroy=1\nsound=click.wav\ntop=720\nleft=400\nwidth=500\nspace=10\n' >>"$game/data/global.ini"

# The centres of the texts on screenshot $1, each a blob of the text colour with its letters joined, narrowest first:
# texts 0, 1, ... of those still shown.
texts() {
    convert "$1" -fuzz 10% -fill black +opaque "$text_colour" -fill white -opaque "$text_colour" \
        -morphology Dilate Rectangle:25x1 -define connected-components:verbose=true -connected-components 8 null: |
        awk '$NF ~ /255,255,255/ { split($2, b, "[x+]"); print b[1], b[3] + int(b[1] / 2), b[4] + int(b[2] / 2) }' |
        sort -n | awk '{ print $2, $3 }'
}

start_xvfb 1920x1080
# The faces (with the trace on every face shows at the start) and the texts: face[k] and text[k] are the centres of
# card line k and text line k; deals gets the order of both, to compare two starts.
for run in 1 2; do
    open_window Memory "$memory" "$game/play.ini"
    trace_until "=> Form_Activate <=" "$run" && sleep 0.5 && shot="$work/board.png" && screenshot "$shot"
    for k in 0 1 2 3 4 5; do
        read -r w h x y < <(convert "$shot" -fill black +opaque "${face_colours[k]}" -trim -format '%w %h %X %Y' info:)
        [ "$w" -ge 70 ] && [ "$h" -ge 70 ] || fail "face $k is not on the board: ${w}x$h"
        face[k]="$((${x#+} + w / 2)) $((${y#+} + h / 2))"
    done
    mapfile -t text < <(texts "$shot")
    [ "${#text[@]}" -eq 6 ] || fail "not six texts on the screen: ${#text[@]}"
    deals+=("${face[*]} / ${text[*]}")
    [ "$run" = 2 ] || escape_ends
done
[ "${deals[0]}" != "${deals[1]}" ] || fail "two starts dealt the same: ${deals[0]}"

# The panel: its picture shows on the left edge; its number changes with every card taken.
place="$(convert "$shot" -fill black +opaque "$panel_colour" -trim -format '%wx%h%X%Y' info:)"
[[ "$place" == 10[23]x6[01]+* ]] || fail "no control panel picture of 97 x 57 scaled to 102 x 60: $place"
crop() { convert "$1" -crop "$place" +repage -format '%#' info:; }
before="$(crop "$shot")"
# Text first, then the card: the card's sounds settle the try.
for k in 0 1 2 3 4 5; do
    xdotool mousemove --sync ${text[k]} click 1 sleep 0.5 mousemove --sync ${face[k]} click 1
    trace_until "=> memCheckCardStatus <=" "$((k + 1))"
    [ "$k" = 5 ] && break
    retry 40 0.25 shows "$board_colour" "${face[k]}" || fail "card $k is still on the board"
    [ "$(texts "$SHOT" | wc -l)" -eq $((5 - k)) ] || fail "text $k is still on the board"
    now="$(crop "$SHOT")" && [ "$now" != "$before" ] && before="$now" || fail "the panel did not change at card $k"
done
retry 40 0.25 shows "$good_colour" "960 540" || fail "no good end picture in the middle"
[ "$(trace | grep -cF "=> memCardClick(")" -eq 6 ] || fail "not six cards turned: $(trace | grep memCardClick)"
escape_ends
