#!/bin/sh
# The product's uninstaller: its messages are in a catalogue of their own,
# setup_<language>.qm.
set -eu
target=${1:-/opt/zeza}
trmsg setup Uninstaller 'Removing %1' '' "$target"
echo
