#!/usr/bin/env bash
# Runs one fuzz target: first every input of its committed corpus (the seeds and the inputs of earlier findings),
# then new inputs for SECONDS. A crash, a sanitizer report, one input over 1 s or over 256 MB is a finding (a small
# quarantine, so that freed memory does not count as used).
# Usage: run.sh FUZZER CORPUS_DIR SECONDS FINDINGS_DIR
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work" "$work.dict"' EXIT
mkdir -p "$4"
# The dictionary: every name the loader compares with, as a section, a key and a value; the players' font keys it
# puts together and keys only older definitions hold; the path variables, number prefixes, files of the load target's
# folders, separators and the words of a wave header.
grep -ohE '"[a-z][a-z ]+"' "$(dirname "$0")/../../src/definition/"* | sort -u |
    sed -E 's/"(.*)"/"[\1]"\n"\1="\n"\1"/' >"$work.dict"
printf '"%s="\n' {name,score}font{size,bold,italic} pictureslide wordwrap autosize >>"$work.dict"
printf '%s\n' '"%apppath%"' '"%windows%"' '"%appdrive%"' \
    '"%windrive%"' '"%gamepath%"' '"&H"' '"&O"' '"p0.bmp"' '"p1.bmp"' '"s0.wav"' '"s1.wav"' '"\x09"' '"\x0c"' \
    '"\x0d\x0a"' '","' '"RIFF"' '"WAVE"' '"fmt "' '"data"' >>"$work.dict"
ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=32}" "$1" -max_total_time="$3" -timeout=1 -rss_limit_mb=256 \
    -print_final_stats=1 -dict="$work.dict" -artifact_prefix="$4/" "$work" "$2"
