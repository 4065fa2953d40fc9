#!/bin/bash
# Guards the committed program icons: they are what tools/make_program_icons.py
# makes from assets/p00.png today, and that picture read by ImageMagick agrees
# with them (exact at 48 px, area-averaged within one step per channel at the
# smaller and the larger menu sizes); and so does each image of the Windows icon.
#
# Usage: check_icons.sh SOURCE_DIR
set -euo pipefail
# shellcheck source=tally.sh
source "$(dirname "${BASH_SOURCE[0]}")/tally.sh"

source_dir=$1
icons="$source_dir/assets/icons"
scratch icons

# Peak difference of any channel of any pixel, as a fraction of full scale.
peak_error() {
    local out
    out=$(compare -channel RGBA -metric PAE "$1" "$2" null: 2>&1 || true)
    sed -n 's/^[0-9.e+-]* (\([0-9.e+-]*\))$/\1/p' <<<"$out"
}

at_most() {
    [ -n "$1" ] && awk -v v="$1" -v limit="$2" 'BEGIN { exit !(v <= limit) }'
}

/usr/bin/python3 "$source_dir/tools/make_program_icons.py" "$work/made" >/dev/null
for name in quorvel-{16,32,48,64,128,192,256,512}.png quorvel-maskable-{192,512}.png quorvel.ico; do
    check "$name is up to date with assets/p00.png" cmp -s "$work/made/$name" "$icons/$name"
done

check "quorvel-48.png shows p00.png pixel for pixel" \
    at_most "$(peak_error "$source_dir/assets/p00.png" "$icons/quorvel-48.png")" 0
for size in 16 32 64 128 256; do
    convert "$source_dir/assets/p00.png" -scale "${size}x$size" "$work/scaled-$size.png"
    error=$(peak_error "$work/scaled-$size.png" "$icons/quorvel-$size.png")
    check "quorvel-$size.png is p00.png area-averaged (peak error ${error:-?})" \
        at_most "$error" 0.0040
done

# The Windows icon read by ImageMagick: a picture upside down (bitmaps keep the
# bottom row first) or in the wrong palette order would survive the checks above.
rms_error() {
    local out
    out=$(compare -metric RMSE "$1" "$2" null: 2>&1 || true)
    sed -n 's/^[0-9.e+-]* (\([0-9.e+-]*\))$/\1/p' <<<"$out"
}
ico=$icons/quorvel.ico
check "quorvel.ico 48 x 48 shows p00.png pixel for pixel" \
    at_most "$(peak_error "$source_dir/assets/p00.png" "$ico[3]")" 0
check "quorvel.ico 256 x 256 is quorvel-256.png" \
    at_most "$(peak_error "$icons/quorvel-256.png" "$ico[4]")" 0
for frame in 1:32 2:16; do
    error=$(rms_error "$ico[${frame%:*}]" "$icons/quorvel-${frame#*:}.png")
    check "quorvel.ico ${frame#*:} x ${frame#*:} in 16 colours looks like quorvel-${frame#*:}.png (error ${error:-?})" \
        at_most "$error" 0.22
done
convert "$icons/quorvel-32.png" -background white -flatten -colorspace gray -threshold 50% "$work/mono.png"
convert "$ico[0]" -background white -flatten -colorspace gray "$work/ico-mono.png"
error=$(rms_error "$work/ico-mono.png" "$work/mono.png")
check "quorvel.ico 32 x 32 in 2 colours looks like quorvel-32.png in black and white (error ${error:-?})" \
    at_most "$error" 0.25

passed icon
