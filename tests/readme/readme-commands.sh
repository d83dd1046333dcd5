#!/usr/bin/env bash
# The README's run command and install line, as the README writes them, on a
# fresh clone of this repository's committed state: the run builds and plays
# the first start (no display here), the install line then installs both
# programs, the desktop entry and the icon (into a staging folder, through
# DESTDIR, so the line itself is left as written), and a second run rebuilds
# nothing. The README's test command is what CI runs before this.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/cirrovan-readme.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() { echo "readme-commands: $*" >&2; exit 1; }

# The lines as the README gives them: indented by four, alone on their line.
run_line=$(sed -n 's/^    \(bash scripts\/run\)$/\1/p' "$repo/README.md")
install_line=$(sed -n 's/^    \(cmake --install build-release --prefix .*\)$/\1/p' "$repo/README.md")
[ "$run_line" = "bash scripts/run" ] || fail "the README gives no run command"
[ -n "$install_line" ] || fail "the README gives no install line"
prefix=${install_line##* }

git clone -q "$repo" "$work/cirrovan"
cd "$work/cirrovan"
# Compiled objects come from earlier runs through ccache, where it is there;
# the clone's folder is left out of what ccache compares.
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$work"
fi

echo "readme-commands: $run_line (first run, in a fresh clone)"
env -u DISPLAY -u WAYLAND_DISPLAY bash -c "$run_line" >"$work/first.log" 2>&1 \
  || { cat "$work/first.log"; fail "the first run failed"; }
grep -q "for the first time" "$work/first.log" || fail "the first build did not say what it does"
grep -q "Built target cirrovan-service" "$work/first.log" || fail "the run did not build the service"
ls build-release/tour/screens/*.png >/dev/null 2>&1 || fail "the run played no first start"

echo "readme-commands: $install_line (into a staging folder)"
DESTDIR="$work/stage" bash -c "$install_line" >"$work/install.log" 2>&1 \
  || { cat "$work/install.log"; fail "the install line failed"; }
for f in bin/cirrovan bin/cirrovan-service share/applications/cirrovan.desktop; do
  [ -e "$work/stage$prefix/$f" ] || fail "the install left out $f"
done
ls "$work/stage$prefix"/share/icons/hicolor/*/apps/cirrovan.png >/dev/null 2>&1 || fail "the install left out the icon"

echo "readme-commands: $run_line (second run)"
env -u DISPLAY -u WAYLAND_DISPLAY bash -c "$run_line" >"$work/second.log" 2>&1 \
  || { cat "$work/second.log"; fail "the second run failed"; }
if grep -q "Building CXX\|Linking CXX" "$work/second.log"; then
  fail "the second run built again"
fi
echo "readme-commands: the README's commands work as written"
