#!/bin/sh
# Writes the template of every text the programs show of their own, and of the
# desktop entry and AppStream file, to po/memory.pot (or to the file given).
# Usage: make_pot.sh [OUTPUT [VERSION]]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/po/memory.pot}")
version=${2:-}
cd "$root"
files=$(mktemp)
trap 'rm -f "$files"' EXIT
find src tools -name '*.cpp' -o -name '*.h' | LC_ALL=C sort >"$files"
xgettext --from-code=UTF-8 --add-comments=TRANSLATORS: --msgid-bugs-address=memory@memorygame.github.io --sort-by-file -o "$out" \
    packaging/memory.desktop.in packaging/memory.metainfo.xml.in
# tr() translates, tr_plural() takes the singular and the plural,
# tr_later() marks a text a table keeps.
xgettext --from-code=UTF-8 --language=C++ --keyword= --keyword=tr --keyword=tr_plural:1,2 --keyword=tr_later \
    --add-comments=TRANSLATORS: --package-name=memory ${version:+--package-version="$version"} \
    --msgid-bugs-address=memory@memorygame.github.io --sort-by-file --files-from="$files" --join-existing -o "$out"
