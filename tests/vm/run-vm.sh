#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Boots the test VM once and leaves its console output in LOG. Fails when
# the VM cannot be built or booted, or when the test program did not end
# normally; the scenarios' own results are read from LOG by the tests that
# check each one.
#
#   run-vm.sh WORK LOG PROGRAM...
set -euo pipefail

work="$1"; log="$2"; shift 2
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
limit="${VANTIX_VM_TIMEOUT:-300}"

command -v qemu-system-x86_64 >/dev/null || { echo "qemu-system-x86_64 is missing (apt-get install qemu-system-x86)" >&2; exit 1; }
"$here/assemble-initramfs.sh" "$work" "$@"

rm -f "$log"
start=$(date +%s)
# TCG: nested KVM is not available on the machines this runs on.
set +e
timeout "$limit" qemu-system-x86_64 -accel tcg -cpu max -m 512 -smp 1 -nographic -no-reboot \
  -net none -kernel "$work/vmlinux" -initrd "$work/initrd.gz" \
  -append "console=ttyS0 quiet panic=-1" </dev/null > "$log" 2>&1
status=$?
set -e
tr -d '\r' < "$log" > "$log.tmp" && mv "$log.tmp" "$log"
echo "VM ran $(( $(date +%s) - start )) s"
grep '^PERF ' "$log" || true

end="$(grep -o 'VANTIX-VM-END rc=[0-9]*' "$log" || true)"
rc="${end#VANTIX-VM-END rc=}"
if [ "$status" -eq 124 ] || [ -z "$end" ] || { [ "$rc" != 0 ] && [ "$rc" != 1 ]; }; then
  [ "$status" -eq 124 ] && echo "the VM did not finish within $limit s"
  echo "the test program did not end normally (${end:-no end marker}); console:"
  tail -n 60 "$log"
  exit 1
fi
grep -E '^\[  (PASSED|FAILED)  \]' "$log" | tail -3
exit 0
