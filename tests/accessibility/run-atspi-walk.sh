#!/bin/sh
# Runs atspi_walk.py against the program given as $1, in a virtual X display
# and a D-Bus session of its own, where the AT-SPI registry starts as a
# screen reader's desktop starts it. Exit 77 (a skip) when the packages it
# needs are missing: make deps installs them.
here=$(dirname "$0")
missing=""
command -v xvfb-run >/dev/null 2>&1 || missing="$missing xvfb"
command -v dbus-run-session >/dev/null 2>&1 || missing="$missing dbus"
[ -x /usr/libexec/at-spi-bus-launcher ] || missing="$missing at-spi2-core"
/usr/bin/python3 -c 'import pyatspi' >/dev/null 2>&1 || missing="$missing python3-pyatspi"
command -v openbox >/dev/null 2>&1 || missing="$missing openbox"
if [ -n "$missing" ]; then
  echo "SKIPPED: the AT-SPI walk needs the Debian packages:$missing (make deps installs them)"
  exit 77
fi
# A window manager gives the program's window the keyboard focus, as a
# desktop does.
exec xvfb-run -a -s '-screen 0 1024x768x24' \
  dbus-run-session -- sh -c 'openbox & wm=$!; /usr/bin/python3 "$1" "$2"; status=$?; kill $wm; exit $status' \
  walk "$here/atspi_walk.py" "$1"
