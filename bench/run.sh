#!/bin/sh
# Times the converter on large generated inputs: median wall time, output
# megabytes per second and peak resident memory per case, side by side with
# assimp's export to OBJ when the assimp command is installed.
# Usage: bench/run.sh [BUILD_DIR] [RUNS]
set -e
build=${1:-build}
runs=${2:-5}
cli="$build/app/vertexion-cli"
dir="$build/bench"
mkdir -p "$dir/out"
[ -f "$dir/large50.lws" ] || "$build/bench/make_bench_inputs" "$dir"

# Runs a command $runs times; prints "median_seconds peak_kib".
measure() {
  n=$1; shift
  i=0; : > "$dir/times"
  while [ $i -lt "$n" ]; do
    /usr/bin/time -f "%e %M" -o "$dir/time1" "$@" >/dev/null 2>"$dir/stderr" || { cat "$dir/stderr" >&2; return 1; }
    cat "$dir/time1" >> "$dir/times"
    i=$((i + 1))
  done
  sort -n "$dir/times" | awk '{ t[NR] = $1; if ($2 > m) m = $2 } END { printf "%s %d\n", t[int((NR + 1) / 2)], m }'
}

row() {  # name seconds peak_kib output_bytes input_bytes
  awk -v n="$1" -v s="$2" -v m="$3" -v o="$4" -v i="$5" 'BEGIN {
    mbs = (s > 0) ? o / 1048576 / s : 0
    printf "%-28s %9.3f s %9.1f MB/s %8.1f MiB peak (input %.1f MiB, limit %.1f MiB)\n", n, s, mbs, m / 1024, i / 1048576, 2 * i / 1048576 + 64
  }'
}

size() { wc -c < "$1" | tr -d ' '; }

printf '%-28s %11s %14s %13s\n' case "median" "output" "memory"
for object in large50 large500 medium; do
  set -- $(measure "$runs" "$cli" -q -o "$dir/out/$object.mdl" "$dir/$object.lwo")
  eval "t_$object=$1"
  row "$object.lwo" "$1" "$2" "$(size "$dir/out/$object.mdl")" "$(size "$dir/$object.lwo")"
done
set -- $(measure "$runs" "$cli" -q --no-convert --scene "$dir/large50.lws" --script "$dir/out/large50.sama" \
  --slices 20 "$dir/large50.lwo")
t_scene=$1
row "large50.lws (20 slices)" "$1" "$2" "$(size "$dir/out/large50.sama")" "$(size "$dir/large50.lws")"

awk -v a="$t_large500" -v b="$t_large50" 'BEGIN { printf "500 surfaces / 50 surfaces: %.2fx (target at most 2)\n", a / b }'
awk -v a="$t_scene" -v b="$t_large50" 'BEGIN { printf "scene / object: %.3f (target under 0.1)\n", a / b }'

if "$cli" --help | grep -q -- "-j N"; then
  rm -rf "$dir/batch"; mkdir -p "$dir/batch"
  i=1; while [ $i -le 16 ]; do cp "$dir/medium.lwo" "$dir/batch/copy$i.lwo"; i=$((i + 1)); done
  set -- $(measure 3 "$cli" -q -j 1 "$dir"/batch/*.lwo); t1=$1
  set -- $(measure 3 "$cli" -q "$dir"/batch/*.lwo); tn=$1
  awk -v a="$t1" -v b="$tn" 'BEGIN { printf "batch of 16 x medium: -j 1 %.3f s, default -j %.3f s, speed-up %.2fx\n", a, b, a / b }'
fi

if command -v assimp >/dev/null 2>&1; then
  for object in large50 medium; do
    set -- $(measure 3 assimp export "$dir/$object.lwo" "$dir/out/$object.obj")
    eval "t=\$t_$object"
    awk -v n="$object.lwo" -v a="$1" -v v="$t" 'BEGIN { printf "assimp export %-14s %9.3f s; vertexion is %.1fx faster\n", n, a, a / v }'
  done
else
  echo "assimp not installed (apt-get install assimp-utils): no comparison"
fi
