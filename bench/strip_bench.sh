#!/usr/bin/env bash
# Times the thumbnail strip on a folder of photos side by side, round by
# round, with a one-thread `djpeg -scale 1/8` loop over the same files (the
# decode the strip makes) and one-thread vipsthumbnail at the strip's size;
# then the first thumbnail of a 1000-photo folder against a 10-photo one,
# cancelling, the memory of a 1000-photo strip against a 100-photo one, and
# (with SLIDES=1) the drift of 100 slides at 1 s.
#
# Run by hand on a quiet machine (see the README's performance section):
#     bench/strip_bench.sh build-rel/bench/strip_bench FOLDER_OF_100_JPEGS
# ROUNDS (default 7) sets the number of rounds. Needs djpeg
# (libjpeg-turbo-progs), vipsthumbnail (libvips-tools) and taskset.
set -euo pipefail

[ $# -eq 2 ] || { sed -n 's/^# \{0,1\}//p' "$0" | sed -n '2,13p'; exit 2; }
bench=$(realpath "$1")
folder=$(realpath "$2")
rounds=${ROUNDS:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work"

elapsed() { local start end; start=$(date +%s.%N); "$@" >/dev/null 2>&1; end=$(date +%s.%N); echo "$end - $start" | bc; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
djpeg_loop() { for f in "$folder"/*.jpg; do djpeg -scale 1/8 "$f" >/dev/null; done; }
vips_loop() { VIPS_CONCURRENCY=1 vipsthumbnail --size 64 -o "$work/%s.jpg" "$folder"/*.jpg; }
export -f djpeg_loop vips_loop
export folder work

declare -A times
for ((r = 0; r < rounds; r++)); do
    times[strip1]+="$(elapsed taskset -c 0 "$bench" strip "$folder" 1) "
    times[djpeg]+="$(elapsed taskset -c 0 bash -c djpeg_loop) "
    times[vips]+="$(elapsed taskset -c 0 bash -c vips_loop) "
    times[strip2]+="$(elapsed "$bench" strip "$folder" 2) "
done
declare -A m
for k in strip1 djpeg vips strip2; do
    m[$k]=$(echo "${times[$k]}" | tr ' ' '\n' | grep . | median)
    printf '%-8s median %.3f s over %d rounds\n' "$k" "${m[$k]}" "$rounds"
done
awk -v a="${m[strip1]}" -v b="${m[djpeg]}" -v c="${m[vips]}" -v d="${m[strip2]}" 'BEGIN {
    printf "strip, one core / djpeg -scale 1/8 loop:  %.2f\n", a / b
    printf "strip, two cores / djpeg loop:             %.2f\n", d / b
    printf "strip, one core / vipsthumbnail --size 64: %.2f\n", a / c }'

# A 1000-photo and a 10-photo folder of the same files (links).
mkdir "$work/f1000" "$work/f10" "$work/f100"
i=0
for ((copy = 0; copy < 10; copy++)); do
    for f in "$folder"/*.jpg; do
        i=$((i + 1))
        ln "$f" "$work/f1000/p$i.jpg" 2>/dev/null || ln -s "$f" "$work/f1000/p$i.jpg"
        [ $i -le 100 ] && ln -s "$f" "$work/f100/p$i.jpg"
        [ $i -le 10 ] && ln -s "$f" "$work/f10/p$i.jpg"
    done
done
for ((r = 0; r < rounds; r++)); do
    "$bench" first "$work/f1000" | sed 's/^/1000: /'
    "$bench" first "$work/f10" | sed 's/^/10:   /'
done
"$bench" cancel "$folder"
"$bench" memory "$work/f100"
"$bench" memory "$work/f1000"
[ "${SLIDES:-0}" = 1 ] && "$bench" slides "$folder" 100
exit 0
