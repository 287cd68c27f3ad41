#!/usr/bin/env bash
# Refreshes the page pictures of the help and the README (docs/help/images)
# from the screenshots that the program tests take under Wine. Run the program
# tests first (scripts/test.sh, or their ctest line), then this script.
set -eu
cd "$(dirname "$0")/.."
shots=build/win64/screenshots
images=docs/help/images
convert=$(command -v convert-im6.q16 || command -v convert)
# Screenshot of the walk through every page, by page: the help topic it shows.
pairs=(
  page-01-welcome:welcome page-02:W02 page-03:W10 page-04:W03 page-05:W035 page-06:W04
  page-07:W05 page-08:W06 page-09:W07 page-10:W08 page-11:W09 page-12:W11
)
missing=0
for pair in "${pairs[@]}"; do
  shot=$shots/${pair%%:*}.bmp
  if [ ! -f "$shot" ]; then
    echo "missing: $shot" >&2
    missing=1
    continue
  fi
  # Palette PNGs without metadata: small, and unchanged pages give unchanged files.
  "$convert" "$shot" -strip -colors 256 "PNG8:$images/${pair#*:}.png"
done
[ "$missing" -eq 0 ] || { echo "Run the program tests first." >&2; exit 1; }
echo "Refreshed $images from $shots"
