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
  # A scene of the same name animates the object: its articulation script.
  if [ -f "examples/$name.lws" ]; then
    "$build/app/vertexion-cli" --no-convert -o "$out/$name.mdl" --scene "examples/$name.lws" \
      --script "$out/$name.sama" "$object"
    echo "Wrote $out/$name.sama ($(grep -c NEW_ARTICULATION "$out/$name.sama") rows)"
  fi
done
