#!/usr/bin/env bash
# Writes vehmira's man page from the program's own --help texts: the top level
# and every command, found by walking the "Subcommands:" lists.
# help-to-man.sh VEHMIRA OUTPUT
set -euo pipefail
vehmira=$1 output=$2
here=$(dirname "$0")

# The command names listed under "Subcommands:" in a help text on stdin.
subcommands() {
  awk '/^[^ ].*:$/ { listing = ($0 == "Subcommands:"); next } listing && /^  [^ ]/ { print $1 }'
}

# Every help text, depth first, each after a line "@@COMMAND <words>".
walk() {
  local text name
  text=$("$vehmira" "$@" --help)
  printf '@@COMMAND %s\n%s\n' "$*" "$text"
  for name in $(printf '%s\n' "$text" | subcommands); do
    walk "$@" "$name"
  done
}

version=$("$vehmira" --version)
walk | awk -v version="${version##* }" -f "$here/help-to-man.awk" > "$output.part"
mv "$output.part" "$output"
