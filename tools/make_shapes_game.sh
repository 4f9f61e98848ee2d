#!/usr/bin/env bash
# Makes the pictures and sounds of the bundled "shapes" memory game from
# ImageMagick and sox. The results are committed; run this only to change them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
game="$root/games/shapes"
gfx="$game/gfx" cards="$game/cards" sfx="$game/sfx"
mkdir -p "$gfx" "$cards" "$sfx"
font=DejaVu-Sans-Bold

# Backgrounds, one per screen size: a deep blue gradient with a darker
# column on the left for the control panel and a strip at the bottom for the players.
for size in 640x480 800x600 1024x768 1152x864 1280x1024; do
    w=${size%x*} h=${size#*x}
    convert -size "${w}x${h}" gradient:'#1d3b6e-#0b1830' \
        -fill '#0a1426c0' -draw "rectangle 0,0 120,$h" \
        -fill '#0a1426a0' -draw "rectangle 121,$((h - 41)) $w,$h" \
        -fill '#ffffff18' -draw "rectangle 121,8 $((w - 8)),$((h - 49))" \
        "$gfx/bg$w.png"
done

# Control-panel display, quit picture, player strip.
convert -size 97x57 xc:none -fill '#10203c' -stroke '#6fa8ff' -strokewidth 2 \
    -draw 'roundrectangle 1,1 95,55 10,10' "$gfx/panel.png"
for name in timer left tries; do
    case $name in timer) text=Time;; left) text="Cards left";; tries) text=Tries;; esac
    convert "$gfx/panel.png" -font "$font" -pointsize 10 -fill '#9cc4ff' -gravity north \
        -annotate +0+4 "$text" "$gfx/panel_$name.png"
done
rm "$gfx/panel.png"
convert -size 97x41 xc:none -fill '#8c1c1c' -stroke '#ffb0b0' -strokewidth 2 \
    -draw 'roundrectangle 1,1 95,39 10,10' -font "$font" -pointsize 16 -fill white -stroke none \
    -gravity center -annotate +0+0 'Quit' "$gfx/quit.png"
convert -size 121x25 xc:none -fill '#20385e' -stroke '#6fa8ff' -strokewidth 1 \
    -draw 'roundrectangle 0,0 120,24 6,6' "$gfx/player.png"

# End pictures.
convert -size 360x220 xc:none -fill '#1c6e2c' -stroke white -strokewidth 4 \
    -draw 'roundrectangle 2,2 357,217 24,24' -font "$font" -pointsize 38 -fill white -stroke none \
    -gravity center -annotate +0-20 'Well done!' -pointsize 16 -annotate +0+40 'Click here to finish' \
    "$gfx/good.png"
convert -size 360x220 xc:none -fill '#6e1c1c' -stroke white -strokewidth 4 \
    -draw 'roundrectangle 2,2 357,217 24,24' -font "$font" -pointsize 38 -fill white -stroke none \
    -gravity center -annotate +0-20 'Game over' -pointsize 16 -annotate +0+40 'Click here to finish' \
    "$gfx/bad.png"

# The card back and eight card faces: a shape in a colour on a light card.
convert -size 80x80 xc:'#3050a0' -fill '#4a6cc0' -draw 'circle 40,40 40,8' \
    -fill '#ffffff40' -draw 'polygon 40,14 66,40 40,66 14,40' "$gfx/back.png"
face() {  # name colour draw-command
    convert -size 80x80 xc:'#f6f1e4' -fill "$2" -stroke '#00000060' -strokewidth 2 -draw "$3" "$cards/$1.png"
}
face circle '#e0483c' 'circle 40,40 40,12'
face square '#2c8ad8' 'rectangle 14,14 66,66'
face triangle '#2caa4c' 'polygon 40,10 70,66 10,66'
face diamond '#e0a020' 'polygon 40,8 70,40 40,72 10,40'
face star '#f0c814' 'polygon 40,6 49,30 74,30 54,45 62,70 40,55 18,70 26,45 6,30 31,30'
face heart '#d8306c' 'path "M 40,68 C 10,46 8,28 22,20 C 32,14 40,22 40,28 C 40,22 48,14 58,20 C 72,28 70,46 40,68 Z"'
face cross '#8c3cc8' 'polygon 30,10 50,10 50,30 70,30 70,50 50,50 50,70 30,70 30,50 10,50 10,30 30,30'
face hexagon '#18a8a0' 'polygon 24,12 56,12 72,40 56,68 24,68 8,40'

# Sounds: a click when a card turns, a chime for a pair, a low tone for no
# pair, and a short tune for each end.
sox -n -r 22050 -c 1 -b 16 "$sfx/turn.wav" synth 0.06 square 900 fade 0 0.06 0.04 vol 0.4
sox -n -r 22050 -c 1 -b 16 "$sfx/match.wav" synth 0.12 sine 660 : synth 0.12 sine 880 : synth 0.25 sine 1320 fade 0 0.25 0.15 vol 0.6
sox -n -r 22050 -c 1 -b 16 "$sfx/nomatch.wav" synth 0.35 triangle 180 fade 0 0.35 0.2 vol 0.6
sox -n -r 22050 -c 1 -b 16 "$sfx/good.wav" synth 0.15 sine 523 : synth 0.15 sine 659 : synth 0.15 sine 784 : synth 0.5 sine 1047 fade 0 0.5 0.3 vol 0.6
sox -n -r 22050 -c 1 -b 16 "$sfx/bad.wav" synth 0.25 sine 392 : synth 0.25 sine 330 : synth 0.6 sine 262 fade 0 0.6 0.4 vol 0.6
echo "made the shapes game in $game"
