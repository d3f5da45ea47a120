#!/bin/sh
# Converts the bundled example objects into <build>/examples/ and shows what was written.
set -e
build=${1:-build}
out="$build/examples"
mkdir -p "$out"
for object in examples/*.lwo; do
  name=$(basename "$object" .lwo)
  "$build/app/vertexion-cli" -o "$out/$name.mdl" "$object"
  echo "Wrote $out/$name.mdl ($(wc -l < "$out/$name.mdl") lines)"
done
