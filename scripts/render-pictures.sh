#!/usr/bin/env bash
# Renders the interface pictures from their SVG sources in resources/pictures/: each at its size
# in points and at twice that ("@2x", for high-resolution screens). The PNGs are kept in the
# repository, so only someone who changes a picture needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail

dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../resources/pictures" && pwd)"
command -v rsvg-convert >/dev/null || { echo "render-pictures: rsvg-convert is missing (apt install librsvg2-bin)" >&2; exit 1; }

# source   output          width height
pictures=(
  "ImageSmall   ImageSmall.png  133 129"
  "Info         Info.png         72  70"
  "Compute2     Compute2.png    106  38"
  "Clear2       Clear2.png      106  39"
  "ImageSmaller ImageSmaller     65  65"   # looked up without an extension: PNG data, no ".png"
)

for row in "${pictures[@]}"; do
  read -r source output width height <<<"$row"
  if [[ "$output" == *.* ]]; then
    output2x="${output%.*}@2x.${output##*.}"
  else
    output2x="${output}@2x"
  fi
  rsvg-convert --format=png --width="$width" --height="$height" \
    --output="$dir/$output" "$dir/$source.svg"
  rsvg-convert --format=png --width=$((width * 2)) --height=$((height * 2)) \
    --output="$dir/$output2x" "$dir/$source.svg"
  echo "rendered $output (${width}x${height}) and $output2x"
done
