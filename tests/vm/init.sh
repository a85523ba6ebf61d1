#!/bin/busybox sh
# SPDX-License-Identifier: Apache-2.0
# /init of the test VM: mount the kernel file systems, load the USB gadget
# and HID modules (in dependency order: there is no modprobe), start udevd
# so that "udev" netlink events exist, run the scenarios, power off.
/bin/busybox --install -s /bin
export PATH=/bin
export LD_LIBRARY_PATH="$(cat /etc/library-dirs)"
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
mount -t tmpfs tmpfs /run
mount -t tmpfs tmpfs /tmp
for m in usb-common usbcore udc-core configfs libcomposite usb_f_fs; do
  insmod /lib/modules/$m.ko || echo "VANTIX-VM insmod $m failed"
done
# Three device controllers: the pad, a foreign device, an excluded product.
insmod /lib/modules/dummy_hcd.ko num=3 || echo "VANTIX-VM insmod dummy_hcd failed"
# hid-generic before any device binds: nothing would load it later.
for m in hid hid-generic usbhid uhid; do
  insmod /lib/modules/$m.ko || echo "VANTIX-VM insmod $m failed"
done
mount -t configfs configfs /sys/kernel/config
systemd-udevd --daemon 2>/dev/null || echo "VANTIX-VM udevd failed"
echo "VANTIX-VM-BEGIN"
/bin/vm_driver_tests --gtest_color=no
echo "VANTIX-VM-END rc=$?"
poweroff -f
