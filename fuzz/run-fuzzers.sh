#!/usr/bin/env bash
# Builds the fuzz targets with clang in <build-dir>, writes a fresh seed
# corpus there and runs each target for <seconds>. Exits non-zero on the
# first crash, leak, timeout or sanitizer report; the input that caused it is
# left in <build-dir>/fuzz-artifacts.
#
#   fuzz/run-fuzzers.sh build-fuzz 60
set -euo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 <build-dir> <seconds per target>" >&2
    exit 2
fi
build=$(realpath -m "$1")
seconds=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)

cmake -S "$source_dir" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMORVELL_FUZZ=ON -DMORVELL_BENCH=OFF -DMORVELL_WERROR=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_read_image fuzz_read_pcx fuzz_read_bmp fuzz_read_fitted fuzz_round_trip \
    fuzz_make_seed_corpus

corpus="$build/fuzz-corpus"
rm -rf "$corpus"
"$build/fuzz/fuzz_make_seed_corpus" "$corpus"
mkdir -p "$build/fuzz-artifacts"

# Each target starts from the seeds of its input: the fitted read takes any
# image, the round trip any bytes.
declare -A seeds_of=([read_image]=image [read_pcx]=pcx [read_bmp]=bmp [read_fitted]=image [round_trip]=image)
for target in read_image read_pcx read_bmp read_fitted round_trip; do
    seeds="$corpus/${seeds_of[$target]}"
    # New inputs go to a folder of their own; the seeds stay as made.
    found="$build/fuzz-found/$target"
    mkdir -p "$found"
    echo "== fuzz_$target for ${seconds}s"
    # Large declared images are allowed (up to 200 megapixels): give the
    # decoders the memory such an image takes under AddressSanitizer.
    "$build/fuzz/fuzz_$target" "$found" "$seeds" \
        -max_total_time="$seconds" -rss_limit_mb=8192 -timeout=30 \
        -artifact_prefix="$build/fuzz-artifacts/$target-" -print_final_stats=1
done
echo "fuzzing found no crash"
