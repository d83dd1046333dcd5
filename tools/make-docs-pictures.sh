#!/usr/bin/env bash
# Draws the README's pictures into docs/ at zoom 2, with the desktop's pixels as
# a desktop at zoom 2 shows them: the first run's hour-by-hour chart in portrait
# and daily chart in landscape (the tour, on the demo's Zürich), and the charts
# of the demo's forecasts for Tokyo and Zürich hour by hour, Singapore daily and
# Longyearbyen in landscape, as the main window paints them now.
#
#     tools/make-docs-pictures.sh          (after a build in build/)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake --build "$BUILD_DIR" -j"$(nproc)" --target cirrovan-service cirrovan_render_charts cirrovan-tour >/dev/null
work=$(mktemp -d)
service=
trap '[ -n "$service" ] && kill "$service" 2>/dev/null; rm -rf "$work"' EXIT
"$BUILD_DIR/cirrovan-service" --port 0 >"$work/service.txt" 2>/dev/null &
service=$!
for _ in $(seq 50); do [ -s "$work/service.txt" ] && break; sleep 0.1; done
address=$(head -1 "$work/service.txt" | grep -o 'http://[^ /]*')
export QT_QPA_PLATFORM=offscreen CIRROVAN_ZOOM=2

# <station> <hourly|daily> <width> <height> <picture>: the first view's chart
# of that size, as the window paints it.
chart() {
  local folder="$work/$1-$3x$4"
  mkdir -p "$folder"
  curl -sf "$address/weather/local/$1?dayf=10" >"$folder/daily.xml"
  curl -sf "$address/weather/local/$1?hbhf=72" >"$folder/hourly.xml"
  "$BUILD_DIR/cirrovan_render_charts" "$folder/daily.xml" "$folder/hourly.xml" "$folder" "$3" "$4"
  cp "$folder/$2_view1_screen.png" "docs/$5"
}
# The chart window's size in the main window: portrait 240 x 212, landscape 288 x 158.
chart JPTO1102 hourly 240 212 chart-tokyo-hourly-portrait.png
chart CHZU3595 hourly 240 212 chart-zurich-hourly-portrait.png
chart SGSI7074 daily 240 212 chart-singapore-daily-portrait.png
chart SJLO5307 hourly 288 158 chart-longyearbyen-hourly-landscape.png

mkdir -p "$work/tour/data"
cp "$BUILD_DIR/cirrovan-tour" "$work/tour/data/"
CIRROVAN_SOURCE=demo "$work/tour/data/cirrovan-tour" "$work/tour/screens" Zurich >/dev/null
cp "$work/tour/screens/08-hourly-portrait.png" docs/hourly-portrait.png
cp "$work/tour/screens/10-daily-landscape.png" docs/daily-landscape.png
echo "docs/: $(cd docs && ls *.png | tr '\n' ' ')"
