#!/bin/bash
# Writes out/contact-sheet.png for a person to look at the media: the thirteen
# burst photographs as stored, the same as the show reveals them (only pixels
# whose red, green and blue all exceed 32), and the ten rockets enlarged.
# Builds the host media generator on its own; needs g++, libjpeg and ImageMagick.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$repo/build/contact-sheet
media=$build/media
sheet=$repo/out/contact-sheet.png

cmake -S "$repo/resources/generator" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMEDIA_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target media_generator >/dev/null
mkdir -p "$media" "$repo/out"
"$build/media_generator" "$media"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
font=(-font DejaVu-Sans -pointsize 13 -fill '#c8c8c8' -background '#202020')
names=(peony chrysanthemum willow ring palm crossette strobe pistil dahlia crackle
       "colour change" spider "silver willow")

for i in $(seq 0 12); do
    convert "$media/bursts.jpg" -crop "240x240+$((i * 240))+0" +repage "$work/burst-$i.png"
    convert "$work/burst-$i.png" \
        \( +clone -separate -evaluate-sequence min -threshold 12.7% \) \
        -compose multiply -composite "$work/shown-$i.png"
done
for c in $(seq 0 9); do
    convert "$media/rockets.bmp" -crop "20x50+$((c * 20))+0" +repage \
        -filter point -resize 400% "$work/rocket-$c.png"
done

label_args=()
for i in $(seq 0 12); do label_args+=(-label "$i ${names[$i]}" "$work/burst-$i.png"); done
montage "${font[@]}" "${label_args[@]}" -tile 7x2 -geometry +3+3 "$work/photos.png"
label_args=()
for i in $(seq 0 12); do label_args+=(-label "$i as shown" "$work/shown-$i.png"); done
montage "${font[@]}" "${label_args[@]}" -tile 7x2 -geometry +3+3 "$work/shown.png"
label_args=()
for c in $(seq 0 9); do
    frame=$([ "$c" -lt 5 ] && echo dim || echo bright)
    label_args+=(-label "$c $frame" "$work/rocket-$c.png")
done
montage "${font[@]}" "${label_args[@]}" -tile 10x1 -geometry +12+6 "$work/rockets.png"
convert -background '#202020' "$work/photos.png" "$work/shown.png" "$work/rockets.png" \
    -gravity west -append +repage -depth 8 "$sheet"
echo "wrote $sheet"
