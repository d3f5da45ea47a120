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
[ -f "$dir/tiny.lws" ] || "$build/bench/make_bench_inputs" "$dir"

# Runs a command n times; prints "median_seconds peak_kib median_cpu_seconds".
# The processor time (user + system) is printed beside the wall time because
# on a shared machine the wall time also counts the others' work.
measure() {
  n=$1; shift
  i=0; : > "$dir/times"
  while [ $i -lt "$n" ]; do
    # A hostile case is refused on purpose (exit 1); only a crash or a usage error stops the bench.
    status=0
    "$build/bench/time_run" "$dir/time1" "$@" >/dev/null 2>"$dir/stderr" || status=$?
    [ $status -le 1 ] || { cat "$dir/stderr" >&2; return 1; }
    cat "$dir/time1" >> "$dir/times"
    i=$((i + 1))
  done
  awk '{ print $3 }' "$dir/times" | sort -n > "$dir/cpu"
  c=$(awk '{ c[NR] = $1 } END { print c[int((NR + 1) / 2)] }' "$dir/cpu")
  sort -n "$dir/times" | awk -v c="$c" '{ t[NR] = $1; if ($2 > m) m = $2 } END { printf "%s %d %s\n", t[int((NR + 1) / 2)], m, c }'
}

row() {  # name seconds peak_kib cpu_seconds output_bytes input_bytes
  awk -v n="$1" -v s="$2" -v m="$3" -v c="$4" -v o="$5" -v i="$6" 'BEGIN {
    mbs = (s > 0) ? o / 1048576 / s : 0
    printf "%-24s %7.3f s %7.3f s %8.1f MB/s %7.1f MiB (input %.1f MiB, limit %.1f MiB)\n", n, s, c, mbs, m / 1024, i / 1048576, 2 * i / 1048576 + 64
  }'
}

size() { wc -c < "$1" | tr -d ' '; }

printf '%-24s %9s %9s %13s %11s\n' case "wall" "cpu" "output" "peak RSS"
for object in large50 large500 medium; do
  set -- $(measure "$runs" "$cli" -q -o "$dir/out/$object.mdl" "$dir/$object.lwo")
  eval "t_$object=$1"
  eval "c_$object=$3"
  row "$object.lwo" "$1" "$2" "$3" "$(size "$dir/out/$object.mdl")" "$(size "$dir/$object.lwo")"
done
# The preview sheet of the 1,000,000-triangle model just written: read back
# and drawn in four views and two frames an articulation line.
set -- $(measure "$runs" "$cli" -q --no-convert -o "$dir/out/large50.mdl" --preview "$dir/out/large50.png" \
  "$dir/large50.lwo")
t_preview=$1
c_preview=$3
row "large50 preview" "$1" "$2" "$3" "$(size "$dir/out/large50.png")" "$(size "$dir/out/large50.mdl")"
set -- $(measure "$runs" "$cli" -q --no-convert --scene "$dir/large50.lws" --script "$dir/out/large50.sama" \
  --slices 20 "$dir/large50.lwo")
t_scene=$1
c_scene=$3
row "large50.lws (20 slices)" "$1" "$2" "$3" "$(size "$dir/out/large50.sama")" "$(size "$dir/large50.lws")"

# The least any program needs to store a script this size the way the
# converter does (a temporary file renamed over the previous one): the same
# number of bytes from /dev/zero, in the converter's 64 KiB writes.
script_bytes=$(size "$dir/out/large50.sama")
set -- $(measure "$runs" sh -c "dd if=/dev/zero of='$dir/out/floor.tmp' bs=65536 count=$((script_bytes / 65536)) \
  status=none && mv '$dir/out/floor.tmp' '$dir/out/floor.out'")
t_floor=$1
c_floor=$3
rm -f "$dir/out/floor.out"

awk -v a="$t_large500" -v b="$t_large50" -v c="$c_large500" -v d="$c_large50" \
  'BEGIN { printf "500 surfaces / 50 surfaces: %.2fx wall, %.2fx cpu (target at most 2)\n", a / b, c / d }'
awk -v a="$t_preview" -v b="$t_large50" -v c="$c_preview" -v d="$c_large50" \
  'BEGIN { printf "preview / conversion of large50.lwo: %.3f s / %.3f s wall (%.2fx), %.3f s / %.3f s cpu (%.2fx) (target under 2)\n", a, b, a / b, c, d, c / d }'
awk -v a="$t_scene" -v b="$t_large50" -v c="$c_scene" -v d="$c_large50" \
  'BEGIN { printf "scene / object: %.3f wall, %.3f cpu (target under 0.1)\n", a / b, c / d }'
awk -v a="$t_floor" -v b="$t_large50" -v c="$c_floor" -v d="$c_large50" -v n="$script_bytes" \
  'BEGIN { printf "storing %.1f MB alone (dd, rename) / object: %.3f wall, %.3f cpu\n", n / 1048576, a / b, c / d }'

# Hostile inputs: small or plain files that once cost minutes, gigabytes or a
# full disk. Each line gives its time and peak memory so that its cost stays
# in view.
hostile() {  # name command...
  name=$1; shift
  set -- $(measure 3 "$@")
  printf '%-40s %7.3f s %7.3f s %9.1f MiB\n' "$name" "$1" "$3" "$(awk -v m="$2" 'BEGIN { print m / 1024 }')"
}
[ -f "$dir/include_chain.lwo" ] || "$build/bench/make_layer_chains" "$dir" >/dev/null
[ -f "$dir/empty_chunks.lwo" ] || "$build/bench/make_empty_chunks" "$dir" >/dev/null
[ -f "$dir/lwob_surfaces.lwo" ] || "$build/bench/make_lwob_surfaces" "$dir" >/dev/null
printf '%-40s %9s %9s %13s\n' "hostile case" "wall" "cpu" "peak RSS"
for chain in parent_chain parent_chain_reverse include_chain; do
  hostile "$chain.lwo (65,535 layers)" "$cli" -q -o "$dir/out/$chain.mdl" "$dir/$chain.lwo"
  hostile "$chain.lwo, file order" "$cli" -q --no-sort-layers -o "$dir/out/$chain.mdl" "$dir/$chain.lwo"
done
hostile "empty_chunks.lwo (100 MiB), script only" "$cli" -q --no-convert --scene "$dir/empty_chunks.lws" \
  --script "$dir/out/empty_chunks.sama" "$dir/empty_chunks.lwo"
hostile "lwob_surfaces.lwo (65,000 surfaces)" "$cli" -q -o "$dir/out/lwob_surfaces.mdl" "$dir/lwob_surfaces.lwo"
"$build/bench/make_sparse_zeros" "$dir" >/dev/null
hostile "sparse_zeros.lwo (8 GiB), refused" "$cli" -q -o "$dir/out/sparse_zeros.mdl" "$dir/sparse_zeros.lwo"
rm -f "$dir/sparse_zeros.lwo"
# A disk that fills early: the run must give up at its first failed write.
hostile "large500.lwo, 1 MiB file size limit" sh -c "ulimit -f 1024; exec '$cli' -q -o '$dir/out/limited.mdl' \
  '$dir/large500.lwo'"
hostile "tiny.lws (1 KB), --time-step 0.04" "$cli" -q --no-convert --scene "$dir/tiny.lws" --time-step 0.04 \
  --script "$dir/out/tiny.sama" "$dir/tiny.lwo"

if "$cli" --help | grep -q -- "--jobs N"; then
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
