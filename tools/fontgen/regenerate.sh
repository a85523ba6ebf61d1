#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Regenerates the font tables in src/graphics/fonts (see README.md here).
#   regenerate.sh           the built-in font and the Ubuntu Mono renderings
#   regenerate.sh default   only the built-in font
# Scratch files (npm package, renderer, renderings) go to $FONTGEN_WORK,
# /tmp/fontsrc by default, never into the repository.
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
WORK="${FONTGEN_WORK:-/tmp/fontsrc}"

python3 "$HERE/gen_tables.py" default
[ "${1:-}" = default ] && exit 0

mkdir -p "$WORK/render"
npm install --silent --no-save --prefix "$WORK" @fontsource/ubuntu-mono
g++ -O2 -std=c++20 "$HERE/ft_render.cpp" $(pkg-config --cflags --libs freetype2) -o "$WORK/ft_render"
FILES="$WORK/node_modules/@fontsource/ubuntu-mono/files"
"$WORK/ft_render" "$WORK/render" "$FILES"/ubuntu-mono-*-400-normal.woff 2> "$WORK/render/fallbacks.txt"
echo "cells composed or boxed, all sizes: $(grep -c . "$WORK/render/fallbacks.txt") (see $WORK/render/fallbacks.txt)"
python3 "$HERE/gen_tables.py" ubuntu "$WORK/render"
cp "$WORK/node_modules/@fontsource/ubuntu-mono/LICENSE" "$HERE/../../src/graphics/fonts/UBUNTU-FONT-LICENCE.txt"
