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
if [ -n "$missing" ]; then
  echo "SKIPPED: the AT-SPI walk needs the Debian packages:$missing (make deps installs them)"
  exit 77
fi
# No window manager: the program's requests for the keyboard focus (the
# walk's SetFocus actions) go straight to the X server, which grants them.
exec xvfb-run -a -s '-screen 0 1024x768x24' \
  dbus-run-session -- /usr/bin/python3 "$here/atspi_walk.py" "$1"
