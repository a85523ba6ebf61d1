#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# install_test.sh <build dir> <example.c>: installs the build into a staging
# prefix, then builds the example as a user would, through pkg-config and
# through find_package, and runs both on the virtual pad.
set -eu
build=$1 example=$2
here=$(cd "$(dirname "$0")" && pwd)
stage=$(mktemp -d "${TMPDIR:-/tmp}/vantix-install.XXXXXX")
trap 'rm -rf "$stage"' EXIT
prefix=$stage/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(dirname "$(find "$prefix" -name libvantix-zelnar.so)")
for f in include/vantix-zelnar.h include/vantix-zelnar.hpp include/vantix-signature.h \
         include/vantix-signature.hpp include/vantix-padsim.h include/vantix-padsim.hpp \
         include/vantix-document.h include/vantix-document.hpp \
         bin/vantix-tool bin/vantix-padsim share/man/man1/vantix-tool.1.gz share/man/man1/vantix-padsim.1.gz \
         lib/udev/rules.d/70-vantix-zelnar.rules \
         bin/vantix-bridge share/man/man1/vantix-bridge.1.gz lib/systemd/user/vantix-bridge.service; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
# The user unit starts the program where it was installed.
grep -qx "ExecStart=$prefix/bin/vantix-bridge" "$prefix/lib/systemd/user/vantix-bridge.service"
# The installed service serves its page and client (built into it).
LD_LIBRARY_PATH="$libdir" /usr/bin/python3 - "$prefix/bin/vantix-bridge" <<'EOF'
import re, subprocess, sys, urllib.request
proc = subprocess.Popen([sys.argv[1], "--listen", "127.0.0.1:0"], stdout=subprocess.PIPE, text=True)
try:
    url = re.search(r"http://\S+/", proc.stdout.readline()).group(0)
    for path, text in (("", "vantix-pad.js"), ("vantix-pad.js", "export class VantixBridge")):
        assert text in urllib.request.urlopen(url + path, timeout=10).read().decode(), path
finally:
    proc.terminate()
    assert proc.wait(10) == 0
EOF
# The name a program records is the SONAME, behind its link.
[ "$(readlink "$libdir/libvantix-zelnar.so")" = libvantix-zelnar.so.2 ]
# The udev rule names the vendor and the products this build was configured
# for, and nothing that matches the vendor alone.
rules=$prefix/lib/udev/rules.d/70-vantix-zelnar.rules
vendor=$(printf %04x "$(sed -n 's/^VANTIX_VENDOR_ID:STRING=//p' "$build/CMakeCache.txt")")
for product in $(sed -n 's/^VANTIX_PAD_PRODUCT_IDS:STRING=//p' "$build/CMakeCache.txt" | tr ';' ' '); do
  grep -q "ATTRS{idVendor}==\"$vendor\", ATTRS{idProduct}==\"$(printf %04x "$product")\", TAG+=\"uaccess\"" "$rules"
done
! grep -v '^#' "$rules" | grep uaccess | grep -qv 'idProduct'

export PKG_CONFIG_PATH="$libdir/pkgconfig"
# shellcheck disable=SC2046 # the flags are words
cc -o "$stage/by-pkg-config" "$example" $(pkg-config --cflags --libs vantix-padsim)
LD_LIBRARY_PATH="$libdir" "$stage/by-pkg-config"
# The signature library's flags resolve too.
pkg-config --exists --print-errors 'vantix-signature >= 2.2'
pkg-config --exists --print-errors 'vantix-document >= 2.2'

cmake -S "$here/consumer" -B "$stage/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" -DEXAMPLE="$example" >/dev/null
cmake --build "$stage/consumer" >/dev/null
"$stage/consumer/consumer"
echo "installed library used through pkg-config and find_package"
