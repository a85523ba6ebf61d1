#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Assembles what the test VM boots: the uncompressed kernel of Debian's
# current linux-image-amd64, and an initramfs with busybox, the USB gadget
# and HID modules, udevd, the given programs and every library they load.
# Everything lives under WORK and is rebuilt only when an input changes.
#
#   assemble-initramfs.sh WORK PROGRAM...
#
# Packages come only through apt-get download; a package that cannot be
# fetched is an error.
set -euo pipefail

work="$1"; shift
programs=("$@")
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
modules=(usb-common usbcore udc-core configfs libcomposite usb_f_fs dummy_hcd hid hid-generic usbhid uhid)

die() { echo "assemble-initramfs: $*" >&2; exit 1; }

kernel_pkg="$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/ {print $2; exit}')"
[ -n "$kernel_pkg" ] || die "apt-cache does not know linux-image-amd64 (run apt-get update)"

# VANTIX_VM_UDEV_RULES: a udev rules file the guest's udevd reads.
rules="${VANTIX_VM_UDEV_RULES:-}"
key="$( { echo "$kernel_pkg"; sha256sum "${programs[@]}" ${rules:+"$rules"} "$here/init.sh" "${BASH_SOURCE[0]}" /bin/busybox; } | sha256sum | cut -d' ' -f1)"
if [ -f "$work/initrd.gz" ] && [ -f "$work/vmlinux" ] && [ "$(cat "$work/initrd.key" 2>/dev/null)" = "$key" ]; then
  exit 0
fi
command -v busybox >/dev/null || die "busybox is missing (apt-get install busybox-static)"
command -v cpio >/dev/null || die "cpio is missing (apt-get install cpio)"

# --- packages ---------------------------------------------------------------
mkdir -p "$work/debs"
fetch() {
  local pkg="$1"
  ls "$work/debs/${pkg}"_*.deb >/dev/null 2>&1 && return 0
  (cd "$work/debs" && apt-get download -q "$pkg" >/dev/null 2>&1) && return 0
  # The lists may name a version the mirror no longer has.
  if [ "$(id -u)" -eq 0 ]; then apt-get update -qq >/dev/null 2>&1 || true; fi
  (cd "$work/debs" && apt-get download -q "$pkg") || die "cannot download $pkg"
}
fetch "$kernel_pkg"
fetch udev

extract() {
  local pkg="$1" dir="$2"
  rm -rf "$dir"; mkdir -p "$dir"
  dpkg-deb -x "$(ls "$work/debs/${pkg}"_*.deb | head -1)" "$dir"
}
extract udev "$work/udev"
# The kernel is the largest input; unpack it once per kernel version.
if [ "$(cat "$work/kernel.key" 2>/dev/null)" != "$kernel_pkg" ] || [ ! -f "$work/vmlinux" ]; then
  rm -f "$work/kernel.key"
  extract "$kernel_pkg" "$work/kernel"
  unpack_kernel=1
else
  unpack_kernel=0
fi

# --- kernel -----------------------------------------------------------------
# The bzImage carries the kernel as a compressed ELF; QEMU boots that ELF
# directly through its PVH note, skipping the decompressor (about 3 s of
# emulated time). Find the payload by its magic, as extract-vmlinux does.
bzimage="$(ls "$work"/kernel/boot/vmlinuz-* | head -1)"
try_decompress() {
  local magic="$1"; shift
  local offset
  for offset in $(LC_ALL=C grep -obUaP "$magic" "$bzimage" 2>/dev/null | cut -d: -f1); do
    tail -c +$((offset + 1)) "$bzimage" | "$@" > "$work/vmlinux.tmp" 2>/dev/null || true
    if [ "$(head -c 4 "$work/vmlinux.tmp" | od -An -tx1 | tr -d ' ')" = "7f454c46" ]; then
      mv "$work/vmlinux.tmp" "$work/vmlinux"; return 0
    fi
  done
  return 1
}
if [ "$unpack_kernel" = 1 ]; then
  rm -f "$work/vmlinux"
  try_decompress '\xfd\x37\x7a\x58\x5a\x00' xz -dc --single-stream ||
    try_decompress '\x28\xb5\x2f\xfd' zstd -dcq ||
    try_decompress '\x1f\x8b\x08' gzip -dc ||
    die "no kernel ELF found in $bzimage"
  rm -f "$work/vmlinux.tmp"
  echo "$kernel_pkg" > "$work/kernel.key"
fi

# --- root file system -------------------------------------------------------
root="$work/root"
rm -rf "$root"
mkdir -p "$root"/{bin,dev,proc,sys,run,tmp,etc,lib/modules}
cp "$(command -v busybox)" "$root/bin/busybox"
for m in "${modules[@]}"; do
  ko="$(find "$work/kernel/lib/modules" -name "$m.ko" -o -name "$m.ko.xz" -o -name "$m.ko.zst" | head -1)"
  [ -n "$ko" ] || die "module $m is not in $kernel_pkg"
  case "$ko" in
    *.xz) xz -dc "$ko" > "$root/lib/modules/$m.ko" ;;
    *.zst) zstd -dcq "$ko" > "$root/lib/modules/$m.ko" ;;
    *) cp "$ko" "$root/lib/modules/$m.ko" ;;
  esac
done

# Copies a program and the libraries ldd lists to the same paths.
libdirs=()
add_program() {
  local program="$1" name="$2"
  cp -L "$program" "$root/bin/$name"
  local missing
  missing="$(ldd "$program" | grep 'not found' || true)"
  [ -z "$missing" ] || die "$program needs libraries this machine lacks: $missing"
  local lib
  for lib in $(ldd "$program" | awk '$2 == "=>" && $3 ~ /^\// {print $3} $1 ~ /^\// {print $1}'); do
    mkdir -p "$root$(dirname "$lib")"
    [ -e "$root$lib" ] || cp -L "$lib" "$root$lib"
    libdirs+=("$(dirname "$lib")")
  done
}
udevadm="$work/udev/bin/udevadm"
[ -x "$udevadm" ] || udevadm="$work/udev/usr/bin/udevadm"
add_program "$udevadm" udevadm
ln -s udevadm "$root/bin/systemd-udevd"
for program in "${programs[@]}"; do
  add_program "$program" "$(basename "$program")"
done
printf '%s\n' "${libdirs[@]}" | sort -u | paste -sd: > "$root/etc/library-dirs"
echo "root:x:0:0::/:/bin/sh" > "$root/etc/passwd"
if [ -n "$rules" ]; then
  mkdir -p "$root/lib/udev/rules.d"
  cp "$rules" "$root/lib/udev/rules.d/"
fi
cp "$here/init.sh" "$root/init"
chmod 755 "$root/init"

# Light compression: the guest decompresses in emulation.
(cd "$root" && find . | LC_ALL=C sort | cpio -o -H newc --quiet | gzip -1) > "$work/initrd.gz.tmp"
mv "$work/initrd.gz.tmp" "$work/initrd.gz"
echo "$key" > "$work/initrd.key"
