#!/usr/bin/env bash
# Under a German locale: memory's usage and message box titles (screen and standard error) are German; memory-new
# writes the German default player name and draws German words into its pictures; the game it made starts.
source "$2/tests/e2e/support/xvfb.sh"
locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8' || fail "the locale de_DE.UTF-8 is missing (make deps makes it)"
start_xvfb 800x600
export LANG=de_DE.UTF-8 LANGUAGE=de BOX_TITLE="Fehler in der Anwendung" && unset LC_ALL LC_MESSAGES
"$memory" --help | head -n1 | grep -q '^Aufruf:' || fail "--help does not start with \"Aufruf:\": $("$memory" --help)"

# A game whose backgrounds are all missing: error 100 in a box with the German title.
new_game "$work/game"
printf '[interface]\npictures=bg640.png\tbg800.png\tbg1024.png\tbg1152.png\tbg1280.png\n' >"$game/data/main.ini"
start_game "$memory" "$game/play.ini"
retry 300 0.1 box_ids >/dev/null && grep -q "$BOX_TITLE (#[0-9]*)" "$GAME_ERR" ||
    fail "no box titled \"$BOX_TITLE (#N)\" on the screen and standard error: $(cat "$GAME_ERR")"
kill "$(pgrep -P "$GAME_PID" | head -n1)"; wait_for_exit >/dev/null

# The same pictures made into a game under German and under the C locale.
pictures="$work/Bilder" && mkdir -p "$pictures"
for picture in sonne.png boot.png; do convert -size 240x180 plasma: "$pictures/$picture"; done
for made in "C c Player" "de_DE.UTF-8 de Spieler"; do
    read -r lang dir name <<<"$made" && made="$work/$dir/Urlaub"
    LANG=$lang LANGUAGE=${lang%%_*} "$bin/memory-new" --output "$work/$dir" Urlaub "$pictures" &>"$work/err" ||
        fail "memory-new under $lang failed: $(cat "$work/err")"
    grep -qxF "\"defaultname=$name \"" "$made/data/main.ini" && [ -s "$made/gfx/quit.png" ] ||
        fail "under $lang no quit picture, or the default name is not \"$name \": $(grep name "$made/data/main.ini")"
done
! cmp -s "$work/c/Urlaub/gfx/quit.png" "$work/de/Urlaub/gfx/quit.png" ||
    fail "the quit picture made under German is the one made under C"

# The game made under German starts without an error.
plays_clean Urlaub "$memory" "$work/de/Urlaub/Urlaub.ini"
echo "ok"
