#!/usr/bin/env bash
# Runs read_tray.py in a private session bus (which starts the accessibility
# bus on demand) and a virtual display, the program reporting to AT-SPI.
# Debian's own Python: pyatspi comes as a Debian package.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
XDG_CONFIG_HOME=$(mktemp -d)
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_CONFIG_HOME XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"' EXIT
dbus-run-session -- xvfb-run -a -s "-screen 0 1280x800x24" \
  /usr/bin/python3 "$here/read_tray.py" "$@"
