#!/bin/sh
# The product's installer: its messages are in the program's catalogue.
set -eu
target=${1:-/opt/zeza}
trmsg app Installer 'Installing Zeza into %1' '' "$target"
echo
trmsg app Main Goodbye
echo
if [ ! -w "$(dirname "$target")" ]; then
  trmsg app Installer 'Cannot write to %1' '' "$(dirname "$target")"
  echo
fi
