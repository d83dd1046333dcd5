#!/usr/bin/env bash
# The program on a real X server at zoom 2, read over AT-SPI.
# run_a11y.sh <program> <feed data folder> <reader script>
set -u
prog=$1 data=$2 reader=$3
folder=$(mktemp -d /tmp/cirrovan-a11y-XXXXXX)
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/forecasts"
cp "$data/daily.xml" "$folder/forecasts/USNY0996_d.dat"
cp "$data/hourly.xml" "$folder/forecasts/USNY0996_h.dat"
echo '<stations><station id="USNY0996">New York, NY</station></stations>' > "$folder/stations.dat"
echo '<Cirrovan><station id="USNY0996">New York, NY</station></Cirrovan>' > "$folder/settings.dat"
cp "$prog" "$folder/cirrovan"
cat > "$folder/session.sh" <<INNER
/usr/libexec/at-spi-bus-launcher --launch-immediately &
cd "$folder" && CIRROVAN_SOURCE=demo CIRROVAN_ZOOM=2 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb ./cirrovan &
program=\$!
/usr/bin/python3 "$reader" cirrovan
result=\$?
kill \$program
exit \$result
INNER
xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash "$folder/session.sh"
