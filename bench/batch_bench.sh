#!/usr/bin/env bash
# Times morvell-batch shrinking photos to an 800-pixel long side as JPEG
# quality 80, side by side in one run with the tools people use for the job:
# single-thread vipsthumbnail, ImageMagick's mogrify, and djpeg decoding the
# photos at the DCT scales our shrink reads (the floor: nothing can be faster
# than its own decode). The commands take turns round by round, so a machine
# that slows down or speeds up during the run weighs on all of them alike.
# Then the peak memory of our runs, and the PSNR of 800-pixel PNG copies
# against ImageMagick's Lanczos of a full-size decode.
#
# Run by hand on a quiet machine (see the README's performance section):
#     bench/batch_bench.sh build-rel/bin/morvell-batch PHOTO...
# ROUNDS (default 9) sets the number of rounds. Needs vipsthumbnail
# (libvips-tools), mogrify, convert, identify and compare (imagemagick),
# djpeg (libjpeg-turbo-progs), taskset and GNU time.
set -euo pipefail

if [ $# -lt 2 ]; then
    sed -n 's/^# \{0,1\}//p' "$0" | sed -n '2,14p'
    exit 2
fi
batch=$(realpath "$1")
shift
photos=("$@")
rounds=${ROUNDS:-9}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for tool in vipsthumbnail mogrify convert identify compare djpeg taskset /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done

# The DCT scale our shrink decodes each photo at: the smallest of 1/8, 1/4
# and 1/2 whose size (rounded up) is still twice the 800-pixel result.
scale_of() {
    local w h tw th d
    read -r w h < <(identify -format '%w %h\n' "$1" 2>/dev/null)
    if [ "$w" -ge "$h" ]; then
        tw=800; th=$(awk -v a="$h" -v b="$w" 'BEGIN { printf "%.0f", a * 800 / b }')
    else
        th=800; tw=$(awk -v a="$w" -v b="$h" 'BEGIN { printf "%.0f", a * 800 / b }')
    fi
    for d in 8 4 2; do
        if [ $(( (w + d - 1) / d )) -ge $((2 * tw)) ] && [ $(( (h + d - 1) / d )) -ge $((2 * th)) ]; then
            echo "1/$d"; return
        fi
    done
    echo "1/1"
}
djpeg_script=$work/djpeg.sh
{
    echo 'set -e'
    for photo in "${photos[@]}"; do
        printf 'djpeg -scale %s -outfile /dev/null %q\n' "$(scale_of "$photo")" "$photo"
    done
} > "$djpeg_script"

names=(ours-jobs1-core0 vips-1thread-core0 djpeg-floor-core0 ours-jobs2 mogrify)
# The command of each name, in cmd, writing into a fresh folder out.
command_of() {
    out=$work/out/$1
    rm -rf "$out" && mkdir -p "$out"
    case $1 in
        ours-jobs1-core0) cmd=(taskset -c 0 "$batch" --jobs 1 --rule long:800 --quality 80 --dest "$out" --log "$work/log" "${photos[@]}") ;;
        ours-jobs2) cmd=("$batch" --jobs 2 --rule long:800 --quality 80 --dest "$out" --log "$work/log" "${photos[@]}") ;;
        vips-1thread-core0) cmd=(env VIPS_CONCURRENCY=1 taskset -c 0 vipsthumbnail --size 800 -o "$out/%s.jpg[Q=80]" "${photos[@]}") ;;
        mogrify) cmd=(mogrify -path "$out" -resize 800x800 -quality 80 "${photos[@]}") ;;
        djpeg-floor-core0) cmd=(taskset -c 0 sh "$djpeg_script") ;;
    esac
}

echo "${#photos[@]} photos, $rounds rounds, $(nproc) cores: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2-)"
# Wall time, and the processor time (user + system) of the command and
# everything it waited for, which another load on the machine moves less.
for ((round = 1; round <= rounds; round++)); do
    for name in "${names[@]}"; do
        command_of "$name"
        start=$EPOCHREALTIME
        /usr/bin/time -f '%U %S' -o "$work/cpu" "${cmd[@]}" >/dev/null 2>&1
        end=$EPOCHREALTIME
        echo "$name $(awk -v a="$start" -v b="$end" '{ printf "%.4f %.4f", b - a, $1 + $2 }' "$work/cpu")" >> "$work/times"
    done
done

median() { grep "^$1 " "$work/times" | cut -d' ' -f"$2" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
declare -A wall cpu
echo
echo "medians of $rounds rounds (s):   wall      cpu"
for name in "${names[@]}"; do
    wall[$name]=$(median "$name" 2)
    cpu[$name]=$(median "$name" 3)
    printf '  %-20s %8.3f %8.3f\n' "$name" "${wall[$name]}" "${cpu[$name]}"
done
ratio() { awk -v a="${wall[$1]}" -v b="${wall[$2]}" -v c="${cpu[$1]}" -v d="${cpu[$2]}" 'BEGIN { printf "%.2f (cpu %.2f)", a / b, c / d }'; }
echo "ratios of wall time:"
echo "  ours --jobs 1 / single-thread vipsthumbnail (one core)  $(ratio ours-jobs1-core0 vips-1thread-core0)"
echo "  ours --jobs 1 / djpeg at the same scales (one core)     $(ratio ours-jobs1-core0 djpeg-floor-core0)"
echo "  djpeg at the same scales / single-thread vipsthumbnail  $(ratio djpeg-floor-core0 vips-1thread-core0)"
echo "  ours --jobs 2 / single-thread vipsthumbnail             $(ratio ours-jobs2 vips-1thread-core0)"
echo "  ours --jobs 2 / mogrify                                 $(ratio ours-jobs2 mogrify)"

peak() { # MiB of the largest resident set of a run over the given photos
    local jobs=$1
    shift
    rm -rf "$work/mem" && mkdir -p "$work/mem"
    /usr/bin/time -f '%M' -o "$work/rss" "$batch" --jobs "$jobs" --rule long:800 --quality 80 --dest "$work/mem" \
        --log "$work/log" "$@" >/dev/null
    awk '{ printf "%.1f", $1 / 1024 }' "$work/rss"
}
echo
echo "peak memory (largest resident set, MiB): all photos, --jobs 1 $(peak 1 "${photos[@]}"), --jobs 2 $(peak 2 "${photos[@]}")"
echo "  each photo alone, --jobs 1:"
for photo in "${photos[@]}"; do
    printf '    %6s  %s %s\n' "$(peak 1 "$photo")" "$(identify -format '%wx%h %[interlace]' "$photo" 2>/dev/null)" "$(basename "$photo")"
done

echo
echo "PSNR of 800-pixel PNG copies against ImageMagick's Lanczos of a full decode (dB):"
mkdir -p "$work/png/ours" "$work/png/vips" "$work/png/ref"
"$batch" --rule long:800 --format png --dest "$work/png/ours" --log "$work/log" "${photos[@]}" >/dev/null
vipsthumbnail --size 800 -o "$work/png/vips/%s.png" "${photos[@]}" 2>/dev/null
for photo in "${photos[@]}"; do
    base=$(basename "${photo%.*}")
    for tool in ours vips; do
        candidate=$work/png/$tool/$(basename "${photo%.*}" | tr '[:upper:]' '[:lower:]').png
        [ "$tool" = vips ] && candidate=$work/png/vips/$base.png
        size=$(identify -format '%wx%h' "$candidate" 2>/dev/null)
        convert "$photo" -auto-orient -filter Lanczos -resize "$size!" "$work/png/ref/$tool.png" 2>/dev/null
        psnr=$(compare -metric PSNR "$candidate" "$work/png/ref/$tool.png" null: 2>&1 || true)
        echo "$tool $psnr $base" >> "$work/psnr"
    done
done
for tool in ours vips; do
    grep "^$tool " "$work/psnr" | awk -v t="$tool" '{ s += $2; if (NR == 1 || $2 < m) { m = $2; n = $3 } }
        END { printf "  %-5s mean %.2f  min %.2f (%s)\n", t, s / NR, m, n }'
done
