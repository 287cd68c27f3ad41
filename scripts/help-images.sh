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
# change (the pages without anything to change: from the walk through them).
pairs=(
  page-01-welcome:welcome page-02:W02 company-typed:W10 menu-renamed:W03
  welcome-page-changed:W035 vicons-configure-hidden:W04 backgrounds-changed:W05
  color-picked:W06 sounds-play-cleared:W07 splash-show-cleared:W08 larkbook-changed:W09
  page-12:W11
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
