# SPDX-License-Identifier: Apache-2.0
"""Starts vantix-bridge on a free loopback port for a test and stops it."""
import os
import re
import resource
import select
import signal
import subprocess
import sys
import time

LISTENING = re.compile(r"listening on http://([^/]+)/")


class Bridge:
    """vantix-bridge --listen 127.0.0.1:0 [args]; .host is "127.0.0.1:PORT".
    nofile: the service's limit of open descriptors (RLIMIT_NOFILE)."""

    def __init__(self, program, *args, timeout=20, nofile=None):
        def limit():
            if nofile is not None:
                resource.setrlimit(resource.RLIMIT_NOFILE, (nofile, nofile))
        self.proc = subprocess.Popen([program, "--listen", "127.0.0.1:0", *args],
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                                     preexec_fn=limit)
        deadline = time.monotonic() + timeout
        line = ""
        while time.monotonic() < deadline:
            ready, _, _ = select.select([self.proc.stdout], [], [], 0.2)
            if ready:
                line = self.proc.stdout.readline()
                if not line:
                    break
                match = LISTENING.search(line)
                if match:
                    self.host = match.group(1)
                    self.port = int(self.host.rsplit(":", 1)[1])
                    self.url = f"http://{self.host}/"
                    self.ws_url = f"ws://{self.host}/ws"
                    return
            elif self.proc.poll() is not None:
                break
        self.proc.kill()
        raise RuntimeError(f"vantix-bridge did not start: {line!r} {self.proc.stderr.read()!r}")

    def alive(self):
        return self.proc.poll() is None

    def rss_mb(self):
        """The service's resident memory in MB."""
        with open(f"/proc/{self.proc.pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024
        return 0.0

    def cpu_seconds(self):
        """CPU time the service has used (user and system)."""
        with open(f"/proc/{self.proc.pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def descriptors(self):
        return len(os.listdir(f"/proc/{self.proc.pid}/fd"))

    def stop(self, timeout=10):
        """SIGTERM, then the exit code (and the seconds it took)."""
        if self.proc.poll() is not None:
            return self.proc.returncode, 0.0
        start = time.monotonic()
        self.proc.send_signal(signal.SIGTERM)
        try:
            code = self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
            raise
        return code, time.monotonic() - start

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if self.proc.poll() is None:
            self.stop()
        self.proc.stdout.close()
        err = self.proc.stderr.read()
        self.proc.stderr.close()
        # AddressSanitizer, LeakSanitizer or UBSan findings fail the test.
        if "Sanitizer" in err or "runtime error" in err:
            raise AssertionError("vantix-bridge reported:\n" + err)


def program_from_env():
    return os.environ.get("VANTIX_BRIDGE", "vantix-bridge")


def run_main(main):
    """Runs a test program's main: an AssertionError fails it (status 1)."""
    try:
        main()
    except AssertionError as e:
        print(f"FAILED: {e}", file=sys.stderr)
        print("0 passed, 1 failed")
        sys.exit(1)
