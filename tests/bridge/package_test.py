# SPDX-License-Identifier: Apache-2.0
"""The npm package vantix-pad: `npm pack`, installed into a scratch project
that type-checks the README's web-app recipe with `tsc --noEmit` (the
TypeScript compiler from the npm registry, kept in a cache directory of the
build tree); and the module vantix-bridge serves is the package's.

    python3 package_test.py --source bindings/js --cache build/npm-tools [--bridge .../vantix-bridge]
"""
import argparse
import glob
import json
import os
import subprocess
import tempfile
import urllib.request

from bridge_process import Bridge, run_main

TYPESCRIPT = "typescript@5"

EXAMPLE = r'''
import { VantixBridge, BridgeError, sealFor, probe } from "vantix-pad";
import type { BridgeErrorCode, Signature, SampleEvent, Status } from "vantix-pad";

declare function show(code: BridgeErrorCode, text: string): void;
declare function draw(x: number, y: number, down: boolean): void;
declare function upload(svg: string | undefined, sealed: string | undefined): void;

export async function sign(documentFile: File): Promise<void> {
  let bridge: VantixBridge;
  try {
    bridge = await VantixBridge.connect();
  } catch (e) {
    if (e instanceof BridgeError) show(e.code, e.message);
    throw e;
  }
  await bridge.open();
  bridge.on("sample", (s: SampleEvent) => draw(s.dx, s.dy, s.down));
  bridge.on("button", async (b) => {
    if (b.caption !== "OK") {
      await bridge.clearCapture();
      return;
    }
    const signature: Signature = await bridge.finish({ formats: ["svg"], seal: await sealFor(documentFile) });
    upload(signature.svg, signature.sealed);
    bridge.disconnect();
  });
  bridge.on("pad.closed", (c) => show("closed", `${c.path}: ${c.reason}`));
  await bridge.startCapture({ text: "Please sign below", buttons: ["OK", "Clear"] });
  const pads = await bridge.request("pads.list");
  const open: boolean = pads.pads[0].yours;
  const status: Status = await probe();
  void open, status;
}
'''

TSCONFIG = {"compilerOptions": {"target": "es2022", "module": "esnext", "moduleResolution": "bundler",
                                "lib": ["es2022", "dom"], "strict": True, "noEmit": True,
                                "skipLibCheck": False, "types": []},
            "files": ["example.ts"]}


def run(*args, cwd=None):
    done = subprocess.run(args, cwd=cwd, capture_output=True, text=True, timeout=600)
    if done.returncode != 0:
        raise AssertionError(f"{' '.join(args)} failed:\n{done.stdout}\n{done.stderr}")
    return done.stdout


def typescript(cache):
    tsc = os.path.join(cache, "node_modules", ".bin", "tsc")
    if not os.path.exists(tsc):
        os.makedirs(cache, exist_ok=True)
        run("npm", "install", "--prefix", cache, "--no-audit", "--no-fund", "--no-save", "--loglevel=error",
            TYPESCRIPT)
    return tsc


def served_module_is_the_package(source, program):
    with Bridge(program) as bridge:
        served = urllib.request.urlopen(bridge.url + "vantix-pad.js", timeout=10).read()
    with open(os.path.join(source, "vantix-pad.js"), "rb") as f:
        assert served == f.read(), "the service serves another vantix-pad.js than the package's"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--cache", required=True)
    parser.add_argument("--bridge")
    args = parser.parse_args()
    tsc = typescript(os.path.abspath(args.cache))
    with tempfile.TemporaryDirectory() as work:
        run("npm", "pack", "--pack-destination", work, "--loglevel=error", cwd=args.source)
        tarball, = glob.glob(os.path.join(work, "vantix-pad-*.tgz"))
        listed = run("tar", "tzf", tarball).split()
        assert sorted(listed) == ["package/README.md", "package/package.json", "package/vantix-pad.d.ts",
                                  "package/vantix-pad.js"], listed
        app = os.path.join(work, "app")
        os.makedirs(app)
        with open(os.path.join(app, "package.json"), "w") as f:
            json.dump({"name": "scratch", "private": True, "type": "module"}, f)
        run("npm", "install", "--no-audit", "--no-fund", "--loglevel=error", tarball, cwd=app)
        with open(os.path.join(app, "example.ts"), "w") as f:
            f.write(EXAMPLE)
        with open(os.path.join(app, "tsconfig.json"), "w") as f:
            json.dump(TSCONFIG, f)
        run(tsc, "-p", app)
        # A mistake the declarations must catch.
        with open(os.path.join(app, "example.ts"), "a") as f:
            f.write('\nexport const wrong: import("vantix-pad").BridgeErrorCode = "no_such_code";\n')
        failed = subprocess.run([tsc, "-p", app], capture_output=True, text=True)
        assert failed.returncode != 0 and "no_such_code" in failed.stdout, failed.stdout
    if args.bridge:
        served_module_is_the_package(args.source, args.bridge)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    run_main(main)
