# Shared steps of the scripts that make the bundled games' pictures and sounds.
# Source it after setting $game (the game's folder); it sets gfx, cards, sfx.
#
# The bundled games offer only the 640 x 480 board: every screen shows that
# board scaled to fill the display's height (2.25 times at 1920 x 1080, 1.6
# times at 1366 x 768), so the cards can be large on it. The card pictures are
# drawn three times larger than the card ($zoom), so they stay crisp when the
# board is scaled; the other pictures keep their place's size on the board.
set -euo pipefail
for tool in convert sox espeak-ng; do
    if ! command -v "$tool" >/dev/null; then
        case $tool in convert) pkg=imagemagick;; *) pkg=$tool;; esac
        echo "$(basename "$0"): '$tool' is missing; install it with: sudo apt-get install $pkg" >&2
        exit 1
    fi
done
gfx="$game/gfx" cards="$game/cards" sfx="$game/sfx"
mkdir -p "$gfx" "$cards" "$sfx" "$game/data"
font=DejaVu-Sans-Bold
zoom=3
wave=(-r 22050 -c 1 -b 16)
# Pictures: no metadata, 8 bits per channel (ImageMagick would otherwise write
# 16, which only makes them larger and slower to decode).
png=(-strip -depth 8)

# background BASE TOP BOTTOM TITLE: the 640 x 480 board, bg640.png. BASE is the
# game's window colour ([interface] backcolor), so the bands beside the scaled
# board continue it; the cards lie on a rounded table that goes from TOP to
# BOTTOM, the control panel left of it and the players below it.
background() {
    convert -size 640x480 xc:"$1" \
        \( -size 518x432 gradient:"$2-$3" \( -size 518x432 xc:black -fill white \
           -draw 'roundrectangle 0,0 517,431 20,20' \) -alpha off -compose copy_opacity -composite \) \
        -geometry +114+6 -compose over -composite \
        -fill none -stroke '#ffffff38' -strokewidth 2 -draw 'roundrectangle 115,7 630,436 19,19' -stroke none \
        -font "$font" -pointsize 15 -fill '#ffffffb0' -gravity southeast -annotate +14+13 "$4" \
        "${png[@]}" "$gfx/bg640.png"
}

# panel NAME CAPTION COLOUR: a 97 x 57 control-panel display with its caption at the bottom.
panel() {
    convert -size 97x57 xc:none -fill '#00000070' -stroke "$3" -strokewidth 2 \
        -draw 'roundrectangle 1,1 95,55 12,12' -stroke none -font "$font" -pointsize 12 -fill "$3" \
        -gravity south -annotate +0+3 "$2" "${png[@]}" "$gfx/panel_$1.png"
}

# chrome COLOUR: the quit picture and the player strip's picture.
chrome() {
    convert -size 97x36 xc:none -fill '#b02828' -stroke '#ffc0c0' -strokewidth 2 \
        -draw 'roundrectangle 1,1 95,34 12,12' -font "$font" -pointsize 17 -fill white -stroke none \
        -gravity center -annotate +0+0 'Quit' "${png[@]}" "$gfx/quit.png"
    convert -size 121x30 xc:none -fill '#00000070' -stroke "$1" -strokewidth 2 \
        -draw 'roundrectangle 1,1 119,28 10,10' "${png[@]}" "$gfx/player.png"
}

# ends GOOD-TITLE BAD-TITLE: the good and bad end pictures.
ends() {
    convert -size 380x230 xc:none -fill '#1c6e2c' -stroke white -strokewidth 4 \
        -draw 'roundrectangle 2,2 377,227 24,24' -fill '#f0c814' -stroke '#806000' -strokewidth 2 \
        -draw 'polygon 190,18 200,44 228,44 206,60 214,86 190,70 166,86 174,60 152,44 180,44' \
        -font "$font" -stroke none -fill white -pointsize 36 -gravity center -annotate +0+12 "$1" \
        -pointsize 17 -annotate +0+72 'Click here to finish' "${png[@]}" "$gfx/good.png"
    convert -size 380x230 xc:none -fill '#6e1c1c' -stroke white -strokewidth 4 \
        -draw 'roundrectangle 2,2 377,227 24,24' -fill none -stroke '#ffb0b0' -strokewidth 6 \
        -draw 'circle 190,52 190,22' -draw 'line 169,31 211,73' \
        -font "$font" -stroke none -fill white -pointsize 36 -gravity center -annotate +0+12 "$2" \
        -pointsize 17 -annotate +0+72 'Click here to finish' "${png[@]}" "$gfx/bad.png"
}

# blank WIDTH HEIGHT GROUND EDGE FILE: a card of WIDTH x HEIGHT on the board, drawn
# $zoom times larger: rounded, filled with GROUND, with an EDGE line round it.
# More convert options may follow FILE's place: they draw on the card before it is written.
blank() {
    local w=$(($1 * zoom)) h=$(($2 * zoom)) r=$((8 * zoom))
    convert -size "${w}x$h" xc:none -fill "$3" -stroke "$4" -strokewidth $((zoom + 1)) \
        -draw "roundrectangle 2,2 $((w - 3)),$((h - 3)) $r,$r" -stroke none "${@:6}" "${png[@]}" "$5"
}

# speak FILE WORDS: the words spoken by espeak-ng, trimmed, as a short mono wave file.
speak() {
    local raw
    raw="$(mktemp --suffix=.wav)"
    espeak-ng -v en-gb -s 140 -w "$raw" "$2"
    sox "$raw" "${wave[@]}" "$1" silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse norm -3
    rm -f "$raw"
}

# tones: the turn, match, no-match and end sounds shared by the games.
tones() {
    sox -n "${wave[@]}" "$sfx/turn.wav" synth 0.05 pinknoise highpass 1200 fade q 0.002 0.05 0.045 norm -6
    sox -n "${wave[@]}" "$sfx/match.wav" synth 0.1 pluck C5 : synth 0.1 pluck E5 : synth 0.35 pluck G5 norm -3
    sox -n "${wave[@]}" "$sfx/nomatch.wav" synth 0.15 square 220 : synth 0.3 square 165 lowpass 900 fade 0 0.3 0.15 norm -6
    sox -n "${wave[@]}" "$sfx/good.wav" synth 0.14 pluck C5 : synth 0.14 pluck E5 : synth 0.14 pluck G5 : \
        synth 0.6 pluck C6 norm -3
    sox -n "${wave[@]}" "$sfx/bad.wav" synth 0.3 sawtooth 392 : synth 0.3 sawtooth 370 : synth 0.3 sawtooth 349 : \
        synth 0.7 sawtooth 330 lowpass 1200 fade 0 0.7 0.4 norm -6
}
