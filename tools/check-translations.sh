#!/bin/sh
# Every text of the window has its Russian translation: lupdate is run over
# the sources into a copy of the translation, and any text it finds
# unfinished (a new one) or any obsolete one fails the check.
# Usage: check-translations.sh LUPDATE
cd "$(dirname "$0")/.." || exit 2
lupdate=${1:-lupdate}
tmp=$(mktemp -d) || exit 2
trap 'rm -rf "$tmp"' EXIT
cp translations/lexifol_ru.ts "$tmp/"
"$lupdate" -silent -no-obsolete -locations none -I . app/*.cpp app/*.h config/*.cpp config/*.h pageview/*.cpp pageview/*.h library/*.cpp -ts "$tmp/lexifol_ru.ts" || exit 2
status=0
if grep -q 'type="unfinished"\|type="vanished"\|type="obsolete"' "$tmp/lexifol_ru.ts"; then
    echo "texts without a Russian translation (run the update_translations target, then translate):"
    grep -B2 'type="unfinished"' "$tmp/lexifol_ru.ts" | sed -n 's|.*<source>\(.*\)</source>.*|  \1|p'
    status=1
fi
if ! cmp -s translations/lexifol_ru.ts "$tmp/lexifol_ru.ts"; then
    echo "translations/lexifol_ru.ts is not up to date with the sources:"
    diff translations/lexifol_ru.ts "$tmp/lexifol_ru.ts" | head -20
    status=1
fi
exit $status
