#!/bin/sh
# memory-new beside ImageMagick on 24 photos of 12 megapixels (4000 x 3000
# JPEGs made here with ImageMagick): memory-new makes a whole game of them
# (every photo a card, 18 pairs a game); convert decodes and resizes the same
# files one by one to the card picture's size. Prints both times and the ratio.
# Usage: memory_new_bench.sh BUILD-FOLDER
set -eu
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/photos" "$work/convert"
convert -size 4000x3000 plasma:fractal -quality 90 "$work/base.jpg"
for i in $(seq -w 1 24); do cp "$work/base.jpg" "$work/photos/photo_$i.jpg"; done

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
start=$(now)
XDG_DATA_HOME="$work/data" "$build/memory-new" --output "$work" game "$work/photos" >"$work/said" 2>&1
new=$(since "$start")
size=$(identify -format '%wx%h' "$work/game/cards/card01.png")

start=$(now)
for i in $(seq -w 1 24); do convert "$work/photos/photo_$i.jpg" -resize "$size" "$work/convert/$i.png"; done
magick=$(since "$start")

echo "memory-new, a whole game from 24 photos (card pictures $size): ${new} s"
echo "convert, the 24 photos one by one: ${magick} s"
echo "memory-new takes $(ratio "$new" "$magick") of convert's time ($(nproc) cores)"
