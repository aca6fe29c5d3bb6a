#!/bin/sh
# Starts the editor in a working folder of the user's own, where it finds
# its mouth drawings and help and keeps its relay files. The folder is
# made, and given the default drawings and the help file, on first start.
set -e
prefix=$(cd "$(dirname "$0")/.." && pwd)
share="$prefix/share/visemer"
work="${XDG_DATA_HOME:-$HOME/.local/share}/visemer"
mkdir -p "$work"
if [ ! -d "$work/images" ]; then
    cp -R "$share/images" "$work/images"
fi
if [ ! -e "$work/Help.chm" ] && [ -e "$share/Help.chm" ]; then
    cp "$share/Help.chm" "$work/Help.chm"
fi
cd "$work"
exec "$prefix/lib/visemer/visemer" "$@"
