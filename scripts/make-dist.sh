#!/usr/bin/env bash
# Packs the Windows download: the given files, flat, plus SHA256SUMS over them,
# into one zip. Written beside its final name first, so that an interrupted run
# leaves no half-written archive under that name.
# make-dist.sh ZIP FILE...
set -euo pipefail
zip_file=$1
shift
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

names=()
for file in "$@"; do
  name=$(basename "$file")
  cp "$file" "$stage/$name"
  names+=("$name")
done
(cd "$stage" && sha256sum -- "${names[@]}" > SHA256SUMS)
# The same sources give the same archive: fixed times, no Unix owners.
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
fi

mkdir -p "$(dirname "$zip_file")"
zip_path=$(cd "$(dirname "$zip_file")" && pwd)/$(basename "$zip_file")
rm -f "$zip_path.part"
(cd "$stage" && zip -q -X -D "$zip_path.part" -- "${names[@]}" SHA256SUMS)
mv "$zip_path.part" "$zip_path"
echo "Wrote $zip_file"
