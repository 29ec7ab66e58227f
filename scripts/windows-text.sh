#!/usr/bin/env bash
# Writes a UTF-8 text file of the tree as Windows reads it best.
# windows-text.sh utf16|utf8 IN OUT [NAME=VALUE...]
#   utf16: UTF-16LE with a byte order mark, CR LF (the INI functions' encoding
#          that holds Cyrillic whatever the system's code page is);
#   utf8:  UTF-8 with a byte order mark, CR LF (what Notepad recognises).
# Each NAME=VALUE replaces @NAME@ in the text.
set -euo pipefail
encoding=$1 in=$2 out=$3
shift 3
expressions=(-e 's/\r$//' -e 's/$/\r/')
for pair in "$@"; do
  expressions+=(-e "s|@${pair%%=*}@|${pair#*=}|g")
done
tmp="$out.tmp"
case "$encoding" in
  utf16) { printf '\377\376'; sed "${expressions[@]}" "$in" | iconv -f UTF-8 -t UTF-16LE; } > "$tmp" ;;
  utf8) { printf '\357\273\277'; sed "${expressions[@]}" "$in"; } > "$tmp" ;;
  *) echo "windows-text.sh: unknown encoding $encoding" >&2; exit 2 ;;
esac
mv "$tmp" "$out"
