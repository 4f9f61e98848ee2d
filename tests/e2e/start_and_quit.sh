#!/usr/bin/env bash
# The command line and German texts; a game made by memory-new that travels; every error of a broken game in a real
# message box, and signals while one is shown; --speak against a stand-in speech service; --install and the library.
source "$2/tests/e2e/support/xvfb.sh"
command -v socat >/dev/null || fail "socat is not installed (make deps)"
locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8' || fail "the locale de_DE.UTF-8 is missing (make deps makes it)"
start_xvfb 1024x768
german() { LC_ALL=de_DE.UTF-8 LANGUAGE=de "$@"; }

german "$memory" --help | head -n1 | grep -q '^Aufruf:' || fail "--help under German: $(german "$memory" --help)"
for p in memory memory-check memory-new; do "$bin/$p" --version | grep -qx "$p [0-9.]*" || fail "$p: no version"; done
"$memory" --no-such-option 2>/dev/null; [ $? -eq 2 ] || fail "an unknown option does not end with status 2"
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 timeout 10 "$memory" 2>"$work/err"; status=$?
[ "$status" -eq 2 ] && grep -q "cannot open the display" "$work/err" ||
    fail "without a display: status $status (not 2), message \"$(cat "$work/err")\""

# A folder with a blank in its name, two pictures and a file that is no picture.
pictures="$work/Holiday pictures" && mkdir -p "$pictures" && echo "not a picture" >"$pictures/notes.png"
for picture in sun.png "blue boat.jpg"; do convert -size 240x180 plasma: "$pictures/$picture"; done
"$bin/memory-new" --output "$work" "Our holiday" "$pictures" >"$work/out" 2>"$work/err" || fail "$(<"$work/err")"
grep -qF "Play it with: memory $work/Our holiday/Our holiday.ini" "$work/out" || fail "no play command: $(<"$work/out")"
german "$bin/memory-new" --output "$work" --timer "Unser Urlaub" "$pictures" &>"$work/err" || fail "$(<"$work/err")"
for made in "Player:$work/Our holiday" "Spieler:$work/Unser Urlaub"; do
    IFS=: read -r name made <<<"$made"
    grep -qxF "\"defaultname=$name \"" "$made/data/main.ini" && [ -s "$made/gfx/quit.png" ] ||
        fail "$made: no quit picture, or the default name is not \"$name \": $(grep name "$made/data/main.ini")"
done
! cmp -s "$work"/{"Our holiday","Unser Urlaub"}/gfx/quit.png || fail "the German quit picture is the English one"

# The German game travels (memory-new names it; its window carries that title): moved to another folder and named
# relative to the current directory, it plays; packed, it plays from its package, unpacked into the cache.
mkdir -p "$work/stick" && mv "$work/Unser Urlaub" "$work/stick/" && cd "$work/stick" || fail "cannot move the game"
plays_clean "Unser Urlaub" "$memory" "Unser Urlaub/Unser Urlaub.ini"
"$bin/memory-pack" "Unser Urlaub/Unser Urlaub.ini" >/dev/null 2>"$work/err" || fail "memory-pack: $(cat "$work/err")"
cd "$work" && rm -rf "$work/stick/Unser Urlaub" || exit 1
plays_clean "Unser Urlaub" env XDG_CACHE_HOME="$work/cache" "$memory" "$work/stick/Unser Urlaub.memorygame"
[ -d "$(echo "$work"/cache/memory/packages/*)" ] || fail "not unpacked into one folder of the cache"

# Truncated PNGs, BMPs whose header claims a giant size, waves whose data length lies, empty files and directories.
new_game "$work/game" && mkdir "$game/gfx/bg1152.png" "$game/gfx/quit.png"
convert -size 64x64 xc:red png:- | head -c 60 | tee "$game"/gfx/{bg640,bg1280,back}.png "$game/cards/s1.wav" >/dev/null
perl -e 'print pack("A2V6v2", "BM", 54, 0, 54, 40, 60000, 60000, 1, 24) . "\0" x 24' |
    tee "$game"/gfx/{bg800,player,bad}.bmp "$game/cards/f0.bmp" >/dev/null
for f in gfx/bg1024.png gfx/good.png cards/f1.png sfx/good.wav sfx/bad.wav sfx/nomatch.wav; do : >"$game/$f"; done
for f in cards/s0.wav sfx/turn.wav sfx/match.wav; do wave "$game/$f" 2147483647; done
printf 'c0\tf0.bmp\tC0\ts0.wav\nc1\tf1.png\tC1\ts1.wav\n' >"$game/data/cards.txt"
printf '[interface]\npictures=bg640.png\tbg800.bmp\tbg1024.png\tbg1152.png\tbg1280.png\nquitpicture=quit.png
endgoodpicture=good.png\n' >>"$game/data/main.ini" && printf 'cardsy=1\npicture=back.png\n' >>"$game/data/global.ini"
# A signal while a box is shown ends the program with status 1 within a second, and its box with it (a box once waited
# for OK however long `timeout` had asked the program to end). SIGINT is let through to a background program. Under
# German the box is titled in German, on the screen and on standard error.
for run in "TERM german Fehler in der Anwendung" "INT env Error in application"; do
    read -r signal locale BOX_TITLE <<<"$run"
    start_game $locale env --default-signal=INT "$memory" "$game/play.ini"
    retry 300 0.1 box_ids >/dev/null && grep -qF "$BOX_TITLE (#" "$GAME_ERR" ||
        fail "no message box titled \"$BOX_TITLE (#N)\" to signal: $(cat "$GAME_ERR")"
    kill -"$signal" "$(pgrep -P "$GAME_PID" | head -n1)"
    retry 10 0.1 test -s "$GAME_STATUS" && [ "$(cat "$GAME_STATUS")" = 1 ] ||
        fail "SIG$signal while a box is shown: status \"$(cat "$GAME_STATUS")\" a second later, not 1"
    retry 10 0.1 eval '! box_ids >/dev/null' || fail "the box stays after SIG$signal"
done

start_game "$memory" "$game/play.ini"
# Every error box is answered with a click on OK (left of the middle of the box's bottom row, beside Cancel) until
# none has come for 3 s (OK was once taken as Cancel, which ended the program). Without --sync: a move to where the
# pointer already is waits for a motion that never comes.
quiet=0 answered=0
while [ "$quiet" -lt 30 ]; do
    [ -s "$GAME_STATUS" ] && fail "the program ended with status $(cat "$GAME_STATUS"): $(cat "$GAME_ERR")"
    box="$(box_ids | head -n1)"
    if [ -z "$box" ]; then quiet=$((quiet + 1)); sleep 0.1; continue; fi
    sleep 0.2; eval "$(xdotool getwindowgeometry --shell "$box")"
    xdotool mousemove $((X + WIDTH / 2 - 45)) $((Y + HEIGHT - 26)) click 1; sleep 0.3
    answered=$((answered + 1)) quiet=0; [ "$answered" -le 40 ] || fail "too many message boxes: $(cat "$GAME_ERR")"
done
window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
for code in 100 101 103 104 105; do
    grep -qF "Error in application (#$code)" "$GAME_ERR" || fail "no error $code: $(cat "$GAME_ERR")"
done
escape_ends

# Speech (what each key says is the headless tests' part): a game of 2 x 2 cards with captions, a service logging.
new_game "$work/spoken"
printf 'c0\tf0.bmp\tC0\nc1\tf1.bmp\tC1\nc2\tf2.bmp\tC2\nc3\tf3.bmp\tC3\n' >"$game/data/cards.txt"
log="$work/speech.log" && : >"$log"
socat "UNIX-LISTEN:$work/speechd.sock,fork" "EXEC:bash $source_dir/tests/e2e/support/ssip_responder.sh $log" &
GAME_PIDS+=("$!")  # stopped at the end with the games
retry 50 0.1 test -S "$work/speechd.sock" || fail "the test server did not start"
export SPEECHD_ADDRESS="unix_socket:$work/speechd.sock"
# Waits until the service was asked to say a text that matches the pattern $1 (a whole line), at least $2 times.
heard() { [ "$(grep -c -x -- "say $1" "$log")" -ge "${2:-1}" ]; }
hear() { retry 100 0.1 heard "$@" || fail "never said \"$1\": $(grep say "$log" | tail -3)"; }
open_window Memory "$memory" --speak "$game/play.ini" && hear "speech on"
keys Right && hear "row 1, column 1, face down"
xdotool key Return && hear "C[0-3]" && sleep 1  # the turn sound, after which the board is free
xdotool key F2 && hear "speech off"
xdotool key F2 && hear "speech on" 2
# Every text but the first comes after a cancel of what was still being said.
awk '/^say/ && n++ && last != "cancel" { bad = 1 } { last = $0 } END { exit bad }' "$log" ||
    fail "a text was not preceded by a cancel: $(cat "$log")"
escape_ends
[ ! -s "$GAME_ERR" ] || fail "the game reported: $(cat "$GAME_ERR")"

# No service: the game starts and ends as always, with one line on standard error.
SPEECHD_ADDRESS="unix_socket:$work/nothing-here.sock" open_window Memory "$memory" --speak "$game/play.ini"
sleep 1; keys Right; escape_ends
[ "$(grep -c "speech is off" "$GAME_ERR")" -eq 1 ] || fail "not one line about speech: $(cat "$GAME_ERR")"

# The library, with a game titled to sort before the bundled ones.
export HOME="$work/home" XDG_DATA_DIRS="$work/system" && unset XDG_DATA_HOME XDG_CACHE_HOME
own="$HOME/.local/share/memory/games"
new_game "$work/aardvark" && printf '[application]\ntitle=Aardvark pairs\n' >>"$game/play.ini"
"$memory" --install "$game" >"$work/out" || fail "--install of a game folder failed"
grep -qF "$own/aardvark" "$work/out" && [ -f "$own/aardvark/play.ini" ] || fail "not installed: $(cat "$work/out")"
"$memory" --install "$pictures" >"$work/out" 2>&1 || fail "--install of pictures failed: $(cat "$work/out")"
[ -f "$own/Holiday pictures/Holiday pictures.ini" ] || fail "no game made of the pictures: $(cat "$work/out")"
open_window Memory "$memory" --library && library="$window"
retry 100 0.1 sh -c 'ls "$0"/*.png' "$HOME/.cache/memory/thumbnails" >/dev/null 2>&1 || fail "no miniature in the cache"
keys Return
window="$(wait_for_window "Aardvark pairs")" || fail "Return does not play the first game: $(cat "$GAME_ERR")"
keys Escape
retry 100 0.1 eval '! window_named "Aardvark pairs" >/dev/null' || fail "Escape does not end the game"
[ ! -s "$GAME_STATUS" ] && window_named Memory >/dev/null || fail "no library after the game: $(cat "$GAME_ERR")"
window="$library" && escape_ends
