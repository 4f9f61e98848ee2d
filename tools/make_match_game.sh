#!/usr/bin/env bash
# Makes the pictures and sounds of the bundled match game (games/match): the
# numbers one to ten, each as a numeral card and a card of dots, face up; each
# card says its number (espeak-ng). Needs ImageMagick 6 (convert), sox and
# espeak-ng. The results are committed; run this only to change them.
root="$(cd "$(dirname "$0")/.." && pwd)"
game="$root/games/match"
source "$root/tools/lib/common.sh"

backgrounds '#1f6a3a' '#0b2e18' 'Match · Numbers'
panel countdown 'Seconds left' '#b8f0c0'
panel tries 'Tries left' '#b8f0c0'
panel left 'Cards left' '#b8f0c0'
chrome '#8fe0a0'
ends 'All found!' 'Out of time'
tones

words=(zero one two three four five six seven eight nine ten)
colours=(x '#e0483c' '#2c8ad8' '#2caa4c' '#e0a020' '#8c3cc8' '#d8306c' '#18a8a0' '#e06a1c' '#5a6ad0' '#806040')
# Dot places on an 80 x 84 card, for 1 to 10 dots.
dots=(x "40,42" "24,24 56,60" "20,20 40,42 60,64" "22,22 58,22 22,62 58,62" "20,20 60,20 40,42 20,64 60,64"
      "24,18 56,18 24,42 56,42 24,66 56,66" "24,18 56,18 24,42 40,30 56,42 24,66 56,66"
      "24,14 56,14 24,34 56,34 24,54 56,54 24,74 56,74" "18,18 40,18 62,18 18,42 40,42 62,42 18,66 40,66 62,66"
      "24,12 56,12 24,28 56,28 40,20 40,64 24,56 56,56 24,72 56,72")
: >"$game/data/cards.txt"
for n in $(seq 1 8); do
    word=${words[$n]}
    draw=""
    for p in ${dots[$n]}; do x=${p%,*} y=${p#*,}; draw="$draw circle $x,$y $((x + 7)),$y"; done
    convert -size 80x84 xc:'#fbf7ea' -fill '#243a6a' -draw "$draw" -fill none -stroke '#c8bca0' \
        -draw 'roundrectangle 1,1 78,82 6,6' "${png[@]}" "$cards/dots$n.png"
    convert -size 80x84 xc:'#fbf7ea' -font "$font" -fill "${colours[$n]}" -pointsize 40 -gravity center \
        -annotate +0-8 "$n" -fill '#555555' -pointsize 11 -annotate +0+28 "$word" -fill none -stroke '#c8bca0' \
        -draw 'roundrectangle 1,1 78,82 6,6' "${png[@]}" "$cards/number$n.png"
    speak "$cards/$word.wav" "$word"
    printf '%s\tnumber%s.png\t\t%s.wav\n%s dots\tdots%s.png\t\t%s.wav\n' "$word" "$n" "$word" "$word" "$n" "$word" \
        >>"$game/data/cards.txt"
done
echo "made the match game in $game"
