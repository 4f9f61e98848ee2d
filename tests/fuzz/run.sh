#!/usr/bin/env bash
# Runs one fuzz target: first every input of its committed corpus (the seeds and the inputs of earlier findings),
# then new inputs for SECONDS. A crash, a sanitizer report, one input over 1 s or over 256 MB is a finding (a small
# quarantine, so that freed memory does not count as used).
# Usage: run.sh FUZZER CORPUS_DIR SECONDS FINDINGS_DIR
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$4"
ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=32}" "$1" -max_total_time="$3" -timeout=1 -rss_limit_mb=256 \
    -print_final_stats=1 -dict="$(dirname "$0")/definition.dict" -artifact_prefix="$4/" "$work" "$2"
