#!/usr/bin/env bash
# Runs one fuzz target: first every input of its committed corpus (the
# seeds and the inputs of earlier findings), then new inputs for SECONDS.
# Usage: run.sh FUZZER CORPUS_DIR SECONDS FINDINGS_DIR
set -euo pipefail
fuzzer=$1 corpus=$2 seconds=$3 findings=$4
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$findings"
# A crash, a sanitizer report, one input over 1 s or over 256 MB is a finding
# (a small quarantine, so that freed memory does not count as used).
ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=32}" "$fuzzer" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=256 -print_final_stats=1 \
    -dict="$here/definition.dict" -artifact_prefix="$findings/" "$work" "$corpus"
