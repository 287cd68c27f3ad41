#!/usr/bin/env bash
# Refreshes the page pictures of the help and the README (docs/help/images)
# from the screenshots that the program tests take under Wine. Run the program
# tests first (scripts/test.sh, or their ctest line), then this script.
set -eu
cd "$(dirname "$0")/.."
shots=build/win64/screenshots
images=docs/help/images
convert=$(command -v convert-im6.q16 || command -v convert)
# For each help topic, the program tests' screenshot of its page after a
# change: one journey's, taken as it leaves each page.
j=journey-v35-notebook-visual-map-1
pairs=(
  $j-01-welcome:welcome $j-02-intro:W02 $j-03-company:W10 $j-04-menu:W03
  $j-05-welcome-page:W035 $j-06-visual-map:W04 $j-07-backgrounds:W05 color-picked:W06
  $j-09-sound:W07 $j-10-animation:W08 $j-11-larkbook-button:W09 $j-12-packaging:W11
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
