# Shared steps of the scripts that make the bundled games' pictures and sounds.
# Source it after setting $game (the game's folder); it sets gfx, cards, sfx.
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
sizes="640x480 800x600 1024x768 1152x864 1280x1024"
wave=(-r 22050 -c 1 -b 16)
# Pictures: no metadata, 8 bits per channel (ImageMagick would otherwise write
# 16, which only makes them larger and slower to decode).
png=(-strip -depth 8)

# backgrounds TOP BOTTOM TITLE: one picture per screen size, bg640.png ... bg1280.png,
# with a dark column for the control panel and a strip at the bottom for the players.
backgrounds() {
    local size w h
    for size in $sizes; do
        w=${size%x*} h=${size#*x}
        convert -size "${w}x${h}" gradient:"$1-$2" \
            -fill '#00000070' -draw "roundrectangle 2,2 112,$((h - 3)) 10,10" \
            -fill '#00000050' -draw "rectangle 116,$((h - 40)) $((w - 3)),$((h - 3))" \
            -fill '#ffffff14' -draw "roundrectangle 118,10 $((w - 10)),$((h - 46)) 14,14" \
            -font "$font" -pointsize 18 -fill '#ffffffa0' -gravity southeast -annotate +14+10 "$3" \
            "${png[@]}" "$gfx/bg$w.png"
    done
}

# panel NAME CAPTION COLOUR: a 97 x 57 control-panel display with its caption at the bottom.
panel() {
    convert -size 97x57 xc:none -fill '#000000a0' -stroke "$3" -strokewidth 2 \
        -draw 'roundrectangle 1,1 95,55 10,10' -stroke none -font "$font" -pointsize 10 -fill "$3" \
        -gravity south -annotate +0+4 "$2" "${png[@]}" "$gfx/panel_$1.png"
}

# chrome COLOUR: the quit picture and the player strip's picture.
chrome() {
    convert -size 97x36 xc:none -fill '#8c1c1c' -stroke '#ffb0b0' -strokewidth 2 \
        -draw 'roundrectangle 1,1 95,34 10,10' -font "$font" -pointsize 15 -fill white -stroke none \
        -gravity center -annotate +0+0 'Quit' "${png[@]}" "$gfx/quit.png"
    convert -size 121x25 xc:none -fill '#000000a0' -stroke "$1" -strokewidth 1 \
        -draw 'roundrectangle 0,0 120,24 6,6' "${png[@]}" "$gfx/player.png"
}

# ends GOOD-TITLE BAD-TITLE: the good and bad end pictures.
ends() {
    convert -size 380x230 xc:none -fill '#1c6e2c' -stroke white -strokewidth 4 \
        -draw 'roundrectangle 2,2 377,227 24,24' -fill '#f0c814' -stroke '#806000' -strokewidth 2 \
        -draw 'polygon 190,18 200,44 228,44 206,60 214,86 190,70 166,86 174,60 152,44 180,44' \
        -font "$font" -stroke none -fill white -pointsize 34 -gravity center -annotate +0+10 "$1" \
        -pointsize 15 -annotate +0+70 'Click here to finish' "${png[@]}" "$gfx/good.png"
    convert -size 380x230 xc:none -fill '#6e1c1c' -stroke white -strokewidth 4 \
        -draw 'roundrectangle 2,2 377,227 24,24' -fill none -stroke '#ffb0b0' -strokewidth 6 \
        -draw 'circle 190,52 190,22' -draw 'line 169,31 211,73' \
        -font "$font" -stroke none -fill white -pointsize 34 -gravity center -annotate +0+10 "$2" \
        -pointsize 15 -annotate +0+70 'Click here to finish' "${png[@]}" "$gfx/bad.png"
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
