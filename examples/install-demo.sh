#!/bin/bash
# The demo product's installer, as a product would ship it: every message
# it prints goes through trmsg, and its catalogues' sources (demo_*.ts) are
# kept up to date from this script by trmsg-lupdate (see update-catalogues).
# Usage: install-demo.sh [TARGET_DIR] [--uninstall]; it only pretends.
set -u
product='Zeza Suite'
target=${1:-/opt/zeza}

say() { trmsg demo Installer "$@"; }

echo "$(say 'Welcome to %1' '' "$product")"
if [ "${2:-}" = --uninstall ]; then
  echo "$(trmsg demo Uninstaller 'Removing %1' '' "$target")"
  exit 0
fi
needed=120
free=$(df -Pm "${target%/*}" 2>/dev/null | awk 'NR==2 {print $4}')
if [ "${free:-0}" -lt "$needed" ]; then
  echo "$(say $'Not enough space on %1.\x19%2 MB are needed.' '' "$target" "$needed")" >&2
  exit 1
fi
echo "$(say 'Installing %1 into %2' '' "$product" "$target")"
echo "$(say '%1 files copied, %2 skipped' '' 1204 3)"
echo "$(trmsg --count=3 demo Installer '%n shortcut(s) created')"
echo "[$(say Open verb)] $target"
echo "$(trmsg demo Installer Open adjective): $product"
