#!/usr/bin/env bash
# The programs under a German locale speak German: memory's usage and the title of its message boxes (on the screen
# and on standard error); memory-new draws German words into its pictures and writes the German default player name,
# and a game made with --names "Anna,Ben" has those players and starts.
set -uo pipefail
memory="$1" source_dir="$2"
memory_new="${memory%/*}/memory-new"
source "$source_dir/tests/e2e/support/xvfb.sh"
locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8' || fail "the locale de_DE.UTF-8 is missing (make deps makes it)"
make_work_dir work
start_xvfb 800x600
export LANG=de_DE.UTF-8 LANGUAGE=de
unset LC_ALL LC_MESSAGES

usage="$("$memory" --help | head -n1)"
[[ "$usage" == Aufruf:* ]] || fail "memory --help does not start with \"Aufruf:\": \"$usage\""

# A game whose backgrounds are all missing: error 100 in a box with the German title.
game="$work/game" && mkdir -p "$game"/{gfx,cards,sfx,data}
write_definition "$game/play.ini" "$game" memory
printf '[interface]\npictures=bg640.png\tbg800.png\tbg1024.png\tbg1152.png\tbg1280.png\n' >"$game/data/main.ini"
printf '[cards]\ncardsx=2\ncardsy=1\ncardwidth=100\ncardheight=100\n' >"$game/data/global.ini"
printf 'a\ta.png\nb\tb.png\n' >"$game/data/cards.txt"
box_id() { xwininfo -root -tree 2>/dev/null | grep '"Fehler in der Anwendung (#[0-9]*)"' | awk '{ print $1 }' | grep .; }
start_game "$memory" "$game/play.ini"
retry 300 0.1 box_id >/dev/null ||
    fail "no message box titled \"Fehler in der Anwendung (#N)\": $(xwininfo -root -tree | grep -o '"[^"]*"' | sort -u | head -20) $(cat "$GAME_ERR")"
grep -q "Fehler in der Anwendung (#[0-9]*)" "$GAME_ERR" || fail "standard error has no German title: $(cat "$GAME_ERR")"
kill "$(pgrep -P "$GAME_PID" | head -n1)"
wait_for_exit >/dev/null

# The same pictures made into a game under German and under the C locale.
pictures="$work/Bilder" && mkdir -p "$pictures"
for picture in sonne.png boot.png; do convert -size 240x180 plasma: "$pictures/$picture"; done
LANG=C LANGUAGE= "$memory_new" --output "$work/c" Urlaub "$pictures" >/dev/null 2>"$work/err" ||
    fail "memory-new under C failed: $(cat "$work/err")"
"$memory_new" --output "$work/de" Urlaub "$pictures" >/dev/null 2>"$work/err" ||
    fail "memory-new under German failed: $(cat "$work/err")"
grep -qxF '"defaultname=Player "' "$work/c/Urlaub/data/main.ini" ||
    fail "under C the default name is not \"Player \": $(grep defaultname "$work/c/Urlaub/data/main.ini")"
grep -qxF '"defaultname=Spieler "' "$work/de/Urlaub/data/main.ini" ||
    fail "under German the default name is not \"Spieler \": $(grep defaultname "$work/de/Urlaub/data/main.ini")"
for made in c de; do [ -s "$work/$made/Urlaub/gfx/quit.png" ] || fail "no quit picture made under $made"; done
! cmp -s "$work/c/Urlaub/gfx/quit.png" "$work/de/Urlaub/gfx/quit.png" ||
    fail "the quit picture made under German is the one made under C"

# Players named on the command line: as many as names, each in the definition; the game starts without an error.
"$memory_new" --output "$work/named" --names "Anna,Ben" Paar "$pictures" >/dev/null 2>"$work/err" ||
    fail "memory-new --names failed: $(cat "$work/err")"
main="$work/named/Paar/data/main.ini"
for line in players=2 name1=Anna name2=Ben; do grep -qxF "$line" "$main" || fail "no line $line in main.ini: $(cat "$main")"; done
start_game "$memory" "$work/named/Paar/Paar.ini"
window="$(wait_for_window Paar)" || fail "the named players' game has no window: $(cat "$GAME_ERR")"
sleep 1
! grep -q "Fehler in der Anwendung" "$GAME_ERR" || fail "the named players' game reports an error: $(cat "$GAME_ERR")"
escape_ends "$window"
echo "ok"
