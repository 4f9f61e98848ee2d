#!/usr/bin/env bash
# The two-pair game of play_two_pairs.sh, played with the keyboard alone.
PLAY_BY=keys exec bash "$(dirname "${BASH_SOURCE[0]}")/play_two_pairs.sh" "$@"
