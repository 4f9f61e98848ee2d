#!/usr/bin/env bash
# The man pages' translations are whole: the template holds every paragraph of
# the English pages as they are now, and each po/man/LL.po of po4a.cfg
# translates every one of them, with nothing fuzzy.
# Usage: check_man_translations.sh SOURCE_DIR
set -uo pipefail
source_dir="${1:-$(dirname "$0")/../..}"
man_dir="$source_dir/po/man"
failed=0
problem() { echo "FAIL: $*" >&2; failed=1; }
for tool in po4a msgcmp msgfmt; do command -v $tool >/dev/null || { echo "FAIL: $tool is not installed (make deps)" >&2; exit 1; }; done

# The template made afresh from the English pages, in a copy: the source tree is never changed.
work="$(mktemp -d)" && trap 'rm -rf "$work"' EXIT
mkdir -p "$work/po" "$work/packaging"
cp -r "$man_dir" "$work/po/man" && cp -r "$source_dir/packaging/man" "$work/packaging/man"
(cd "$work" && po4a --quiet --no-translations po/man/po4a.cfg) >"$work/po4a.out" 2>&1 ||
    problem "po4a cannot read the pages: $(cat "$work/po4a.out")"
fresh="$work/po/man/memory-man.pot"
msgcmp --use-untranslated "$man_dir/memory-man.pot" "$fresh" 2>"$work/out" ||
    problem "po/man/memory-man.pot is older than the English pages (run: po4a --no-translations po/man/po4a.cfg): $(head -5 "$work/out")"

languages="$(sed -n 's/^\[po4a_langs\] *//p' "$man_dir/po4a.cfg")"
[ -n "$languages" ] || problem "po4a.cfg names no language"
for lang in $languages; do
    po="$man_dir/$lang.po"
    [ -f "$po" ] || { problem "po/man/$lang.po is missing"; continue; }
    statistics="$(LC_ALL=C msgfmt --check --statistics -o /dev/null "$po" 2>&1)" ||
        { problem "po/man/$lang.po: msgfmt --check fails: $statistics"; continue; }
    case "$statistics" in
        *untranslated* | *fuzzy*) problem "po/man/$lang.po is not whole: $statistics" ;;
    esac
    # Every paragraph of the pages as they are now has its translation (a fuzzy one does not count).
    LC_ALL=C msgcmp "$po" "$fresh" 2>"$work/out" ||
        problem "po/man/$lang.po lacks translations of the English pages: $(head -5 "$work/out")"
done
[ "$failed" = 0 ] && echo "ok: $languages"
exit "$failed"
