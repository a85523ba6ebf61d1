#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# deb_test.sh <build dir>: builds the Debian packages from the build,
# checks them with lintian (no errors), unpacks them into a scratch root
# and checks that the programs' libraries resolve there, that the udev
# rule lies where udev reads it, that the documentation is there, and that a
# C program and the Python example use the virtual pad from the packages.
set -eu
build=$1
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vantix-deb.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

(cd "$build" && cpack -G DEB -B "$scratch/out" >/dev/null)
set -- "$scratch"/out/*.deb
[ $# -eq 4 ] || { echo "expected four packages, got: $*"; exit 1; }

lintian --tag-display-limit 0 "$@" >"$scratch/lintian" 2>&1 || true
cat "$scratch/lintian"
if grep -q '^E:' "$scratch/lintian"; then
  echo "lintian reports errors"
  exit 1
fi

root=$scratch/root
for deb in "$@"; do dpkg -x "$deb" "$root"; done
rules=$root/usr/lib/udev/rules.d/70-vantix-zelnar.rules
grep -q 'TAG+="uaccess"' "$rules"
libs=$(dirname "$(find "$root/usr/lib" -name libvantix-zelnar.so.2)")
for program in "$root/usr/bin/vantix-tool" "$root/usr/bin/vantix-padsim" "$root/usr/bin/vantix-bridge" \
               "$libs/libvantix-signature.so.2" "$libs/libvantix-padsim.so.2" "$libs/libvantix-document.so.2"; do
  if LD_LIBRARY_PATH=$libs ldd "$program" | grep 'not found'; then
    echo "unresolved libraries: $program"
    exit 1
  fi
done
LD_LIBRARY_PATH=$libs "$root/usr/bin/vantix-tool" --help >/dev/null
LD_LIBRARY_PATH=$libs "$root/usr/bin/vantix-bridge" --help >/dev/null
# vantix-bridge's user unit, where systemd looks for packaged ones.
grep -qx 'ExecStart=/usr/bin/vantix-bridge' "$root/usr/lib/systemd/user/vantix-bridge.service"
[ -e "$root/usr/share/man/man1/vantix-bridge.1.gz" ]
# The binding loads the unpacked libraries by SONAME.
PYTHONDONTWRITEBYTECODE=1 PYTHONPATH=$root/usr/lib/python3/dist-packages LD_LIBRARY_PATH=$libs \
  python3 -c 'import vantix, sys; sys.exit(vantix.version() != vantix.__version__)'
# The documentation, where Debian keeps it.
for f in libvantix-zelnar-dev/README.md libvantix-zelnar-dev/bridge-protocol.md \
         libvantix-zelnar-dev/examples/sim_capabilities.c vantix-tools/bridge-protocol.md \
         python3-vantix/examples/sign.py; do
  [ -e "$root/usr/share/doc/$f" ] || { echo "not packaged: /usr/share/doc/$f"; exit 1; }
done
# The man page names where the protocol is installed (under this build's
# prefix; ./run package builds for /usr).
zcat "$root/usr/share/man/man1/vantix-bridge.1.gz" | grep -q "/share/doc/vantix-tools/bridge-protocol.md"
# A C program built against the packages, and the Python example as
# packaged, on the packaged virtual pad.
doc=$root/usr/share/doc
# shellcheck disable=SC2046 # the flags are words
cc -o "$scratch/sim_capabilities" "$doc/libvantix-zelnar-dev/examples/sim_capabilities.c" \
  $(PKG_CONFIG_PATH=$libs/pkgconfig pkg-config --cflags --libs vantix-padsim)
LD_LIBRARY_PATH=$libs "$scratch/sim_capabilities" >/dev/null
(cd "$scratch" && PYTHONDONTWRITEBYTECODE=1 PYTHONPATH=$root/usr/lib/python3/dist-packages LD_LIBRARY_PATH=$libs \
  python3 "$doc/python3-vantix/examples/sign.py" "$scratch/signed.svg" >/dev/null)
grep -q "<svg" "$scratch/signed.svg"
echo "packages unpacked; libraries resolve; udev rule in /usr/lib/udev/rules.d; documentation in /usr/share/doc;" \
  "a C program and the Python example sign on the packaged virtual pad"
