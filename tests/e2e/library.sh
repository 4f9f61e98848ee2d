#!/usr/bin/env bash
# Games added by --install (a game folder copied, a folder of pictures made a game by memory-new); the library by keys
# alone: Return plays the first game by title, Escape there brings the library back, Escape ends it with status 0.
source "$2/tests/e2e/support/xvfb.sh"
export HOME="$work/home" XDG_DATA_DIRS="$work/system" && unset XDG_DATA_HOME XDG_CACHE_HOME
own="$HOME/.local/share/memory/games"

# A game titled to sort before the bundled ones.
new_game "$work/aardvark" && printf '[application]\ntitle=Aardvark pairs\n' >>"$game/play.ini"

"$memory" --install "$game" >"$work/out" || fail "--install of a game folder failed"
grep -qF "$own/aardvark" "$work/out" && [ -f "$own/aardvark/play.ini" ] || fail "not installed: $(cat "$work/out")"
pictures="$work/Holiday pictures" && mkdir -p "$pictures"
for picture in sun boat; do convert -size 120x90 plasma: "$pictures/$picture.png"; done
"$memory" --install "$pictures" >"$work/out" 2>&1 || fail "--install of pictures failed: $(cat "$work/out")"
[ -f "$own/Holiday pictures/Holiday pictures.ini" ] || fail "no game made of the pictures: $(cat "$work/out")"

start_xvfb 1920x1080
open_window Memory "$memory" --library && library="$window"
retry 100 0.1 sh -c 'ls "$0"/*.png' "$HOME/.cache/memory/thumbnails" >/dev/null 2>&1 || fail "no miniature in the cache"

keys Return
window="$(wait_for_window "Aardvark pairs")" || fail "Return does not play the first game: $(cat "$GAME_ERR")"
keys Escape
retry 100 0.1 eval '! window_named "Aardvark pairs" >/dev/null' || fail "Escape does not end the game"
[ ! -s "$GAME_STATUS" ] && window_named Memory >/dev/null || fail "no library after the game: $(cat "$GAME_ERR")"
window="$library" && escape_ends
