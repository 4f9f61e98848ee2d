#!/bin/bash
# Runs memory-check over one bundled game; it must be clean, warnings included.
# usage: bundled_games.sh MEMORY_CHECK SOURCE_DIR DEFINITION
exec "$1" --warnings-as-errors --program-dir "$2" "$3"
