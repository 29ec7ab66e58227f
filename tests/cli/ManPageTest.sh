#!/usr/bin/env bash
# The man page against the program's own help: rendered by groff without a
# warning, it names every command, and every option with its description,
# character for character (a backslash or a minus lost to roff would show).
# ManPageTest.sh VEHMIRA MAN_PAGE
set -euo pipefail
vehmira=$1 page=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

command -v groff >/dev/null || { echo "groff is missing: apt-get install groff-base" >&2; exit 1; }
warnings=$(groff -man -Tascii -ww -z "$page" 2>&1)
[ -z "$warnings" ] || fail "groff warns: $warnings"
# One long line per paragraph, hyphenation off, runs of blanks as one.
rendered=$(groff -man -Tascii -P-cbou -rLL=4000n -rHY=0 "$page" 2>/dev/null | tr -s ' \n' '  ')

version=$("$vehmira" --version)
head -n1 "$page" | grep -qF "\"vehmira ${version##* }\"" || fail "the title line lacks the version $version"

# Each help text's items as "NAME<TAB>description", the CLI11 layout read
# independently of the page's writer.
items() {
  awk '/^[^ ].*:$/ { section = $0; next }
       /^  [^ ]/ && section != "Subcommands:" { line = $0; sub(/^ +/, "", line)
         n = match(line, /  +/); if (n) print substr(line, 1, n - 1) "\t" substr(line, n + RLENGTH); else print line "\t" }'
}
check_command() {
  local help name text
  help=$("$vehmira" "$@" --help)
  if [ $# -gt 0 ]; then
    grep -qF " $* " <<<"$rendered" || fail "no section for the command \"$*\""
  fi
  while IFS=$'\t' read -r name text; do
    grep -qF -- "$name" <<<"$rendered" || fail "\"$*\": the item $name is missing"
    [ -z "$text" ] || grep -qF -- "$(tr -s ' ' <<<"$text")" <<<"$rendered" || fail "\"$*\": the text of $name is missing: $text"
  done < <(items <<<"$help")
  for name in $(awk '/^[^ ].*:$/ { listing = ($0 == "Subcommands:"); next } listing && /^  [^ ]/ { print $1 }' <<<"$help"); do
    check_command "$@" "$name"
  done
}
check_command
count=$(grep -c '^\.SS' "$page")
[ "$count" -ge 7 ] || fail "only $count command sections"
echo "man page: $count command sections, every help item present"
