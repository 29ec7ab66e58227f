#!/usr/bin/env bash
# The Windows download as a player gets it: unpacked into a new folder, its
# files and checksums as listed, the CLI writing and listing the demo game under
# Wine, and Vehmira.exe's first start walked from the language dialog to its
# closing. Run it under scripts/with-test-env.sh (display, one wineserver).
# test-dist.sh BUILD_DIR    (build/windows after `make dist`)
set -euo pipefail
build=$1
probe="$build/vehmira_first_start_probe.exe"
{ read -r zip; read -r version; } < "$build/dist/zip.txt"
start=$SECONDS
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect_line() { # TEXT LINE WHAT
  grep -qxF -- "$2" <<<"$1" || fail "$3: expected the line \"$2\" in:"$'\n'"$1"
}
windows_path() { printf 'Z:%s' "$(cd "$1" && pwd | tr / '\\')"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/vehmira-dist.XXXXXX")
trap 'rm -rf "$work"' EXIT
folder="$work/Vehmira $version"   # a blank in the path, as under "Downloads\My games"
mkdir "$folder"
unzip -q "$zip" -d "$folder"

# Exactly these files, each one checked by SHA256SUMS.
listing=$(cd "$folder" && ls -A | LC_ALL=C sort | tr '\n' ' ')
[ "$listing" = "LICENSE.txt README.txt SHA256SUMS Vehmira.exe Vehmira.lng vehmira-cli.exe " ] ||
  fail "the zip holds: $listing"
summed=$(awk '{ print $2 }' "$folder/SHA256SUMS" | LC_ALL=C sort | tr '\n' ' ')
[ "$summed" = "LICENSE.txt README.txt Vehmira.exe Vehmira.lng vehmira-cli.exe " ] || fail "SHA256SUMS covers: $summed"
(cd "$folder" && sha256sum --check --quiet SHA256SUMS) || fail "a checksum does not match"
head -c 3 "$folder/README.txt" | cmp -s - <(printf '\357\273\277') || fail "README.txt does not start with a UTF-8 mark"
head -n1 "$folder/README.txt" | grep -qF "Vehmira $version " || fail "README.txt does not name version $version"
head -c 2 "$folder/Vehmira.lng" | cmp -s - <(printf '\377\376') || fail "Vehmira.lng is not UTF-16LE with a mark"

# The command line: version, demo game, list.
cli() { wine "$folder/vehmira-cli.exe" "$@" | tr -d '\r'; }
expect_line "$(cli --version)" "vehmira $version" "vehmira-cli.exe --version"
mkdir "$work/game"
cli demo-game "$(windows_path "$work/game")" >/dev/null || fail "vehmira-cli.exe demo-game failed"
listed=$(cli --game "$(windows_path "$work/game")" list) || fail "vehmira-cli.exe list failed"
for row in $'400\tВнедорожник' $'596\tПолиция' $'487\tВертолёт'; do
  expect_line "$listed" "$row" "vehmira-cli.exe list"
done

# The first start: no Settings.ini yet, so the language and path dialogs come up.
seen=$(wine "$probe" "$(windows_path "$folder")" | tr -d '\r') || fail "the first start stopped"
echo "$seen"
for line in "file version Vehmira.exe: $version.0" "file version vehmira-cli.exe: $version.0" \
            "language dialog: shown" "languages: Русский|English" "path dialog: shown" \
            "exit code: 0"; do
  expect_line "$seen" "$line" "Vehmira.exe's first start"
done
# The first start offers, and speaks, the Windows interface's language.
if grep -qx "about: Версия $version" <<<"$seen"; then offered=Русский; else offered=English; fi
expect_line "$seen" "about: $([ $offered = English ] && echo Version || echo Версия) $version" "Vehmira.exe's first start"
if [ -f "$folder/Settings.ini" ]; then
  settings=$(iconv -f UTF-16 -t UTF-8 "$folder/Settings.ini" | tr -d '\r')
  expect_line "$settings" "Language=$offered" "Settings.ini beside Vehmira.exe"
  expect_line "$settings" "GXT=American.gxt" "Settings.ini beside Vehmira.exe"
else
  fail "the language dialog's OK wrote no Settings.ini beside Vehmira.exe"
fi

echo "test-dist: $(basename "$zip") in $((SECONDS - start)) s, $failures failure(s)"
[ "$failures" -eq 0 ]
