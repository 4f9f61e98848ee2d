#!/bin/sh
# Checks the translations: po/memory.pot holds every text of the sources and
# no other, every language of po/LINGUAS has its po file, and each po file
# compiles cleanly, translates every entry (none fuzzy) and holds every text
# of the template. Each failure names the file and what is wrong.
set -u
po=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
    echo "translations: $*" >&2
    failed=1
}
# The texts msgcmp names ("FILE:LINE: this message is used but not defined
# in ..."), each as the msgid that ends there, at most 20.
texts() {
    grep 'this message' "$1" | head -n 20 | while IFS=: read -r file line _; do
        awk -v end="$line" 'NR <= end { if ($0 ~ /^msgid /) text = $0; else if ($0 ~ /^"/) text = text $0 }
            NR == end { print "  " text; exit }' "$file"
    done
}

if ! "$po/make_pot.sh" "$work/fresh.pot" 2>"$work/xgettext.err"; then
    fail "xgettext failed: $(cat "$work/xgettext.err")"
elif [ ! -f "$po/memory.pot" ]; then
    fail "po/memory.pot is missing: run make -C build memory-pot"
else
    # msgcmp DEF REF reports each text of REF that DEF lacks.
    msgcmp --use-untranslated "$po/memory.pot" "$work/fresh.pot" >"$work/new.err" 2>&1 ||
        fail "po/memory.pot lacks texts of the sources (run make -C build memory-pot):
$(texts "$work/new.err")"
    msgcmp --use-untranslated "$work/fresh.pot" "$po/memory.pot" >"$work/gone.err" 2>&1 ||
        fail "po/memory.pot holds texts the sources no longer have (run make -C build memory-pot):
$(texts "$work/gone.err")"
fi

for lang in $(grep -v '^#' "$po/LINGUAS"); do
    file="$po/$lang.po"
    if [ ! -f "$file" ]; then
        fail "po/$lang.po is missing (the language is in po/LINGUAS)"
        continue
    fi
    if ! msgfmt --check --statistics -o /dev/null "$file" 2>"$work/msgfmt.err"; then
        fail "po/$lang.po does not compile: $(cat "$work/msgfmt.err")"
        continue
    fi
    statistics=$(tail -n 1 "$work/msgfmt.err")
    case "$statistics" in
    *fuzzy* | *untranslated*) fail "po/$lang.po is not complete: $statistics" ;;
    esac
    if [ -f "$po/memory.pot" ] &&
        ! msgcmp --use-untranslated --use-fuzzy "$file" "$po/memory.pot" >"$work/cmp.err" 2>&1; then
        fail "po/$lang.po lacks texts of po/memory.pot (msgmerge it):
$(texts "$work/cmp.err")"
    fi
done

[ "$failed" -eq 0 ] && echo "translations: po/memory.pot and every po file of po/LINGUAS are complete"
exit "$failed"
