#!/usr/bin/env python3
"""Checks the packages in dist/ as a user would meet them. The Debian package: its desktop
entry and AppStream data validate; it installs (as root, with apt) or else unpacks, with the
files a desktop looks for; the installed program starts under Xvfb, shows its window with the
program's icon, and closes. The Windows program: its first icon, its version information and
its manifest are in the .exe, and the zip holds the .exe, the README and the licence.

usage: package_check.py --dist dist --win32 build/win32 --x11-tool x11_tool"""

import argparse
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

from desktop import Display, Failure, run, run_main, start, wait_until

VERSION = "1.0.0"
INSTALLED = ["bin/tavrimo", "share/applications/tavrimo.desktop",
             "share/metainfo/org.tavrimo.Tavrimo.metainfo.xml",
             "share/icons/hicolor/48x48/apps/tavrimo.png",
             "share/icons/hicolor/256x256/apps/tavrimo.png",
             "share/icons/hicolor/scalable/apps/tavrimo.svg", "share/doc/tavrimo/copyright"]


def one(pattern):
    found = glob.glob(pattern)
    if len(found) != 1:
        raise Failure(f"expected one {pattern}, found {found or 'none'}: run ./scripts/package")
    return found[0]


def install_or_unpack(deb, scratch):
    """The prefix the package's files are under: /usr once installed, else an unpacked copy."""
    if os.geteuid() == 0 and shutil.which("apt-get"):
        run(["apt-get", "install", "-y", "-q", "--reinstall", os.path.abspath(deb)], timeout=600,
            env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
        print("installed with apt-get")
        return "/usr", True
    run(["dpkg-deb", "-x", deb, scratch])
    print("unpacked with dpkg-deb (not root: not installed)")
    return os.path.join(scratch, "usr"), False


def check_deb(deb, x11_tool, scratch):
    if os.path.basename(deb) != f"tavrimo_{VERSION}_{run(['dpkg', '--print-architecture']).stdout.strip()}.deb":
        raise Failure(f"unexpected package name {os.path.basename(deb)}")
    depends = run(["dpkg-deb", "-f", deb, "Depends"]).stdout.strip()
    if "libqt6widgets6" not in depends or "libc6" not in depends:
        raise Failure(f"the dependencies do not name Qt and the C library: {depends}")
    prefix, installed = install_or_unpack(deb, scratch)
    try:
        for path in INSTALLED:
            if not os.path.isfile(os.path.join(prefix, path)):
                raise Failure(f"the package has no {path}")
        if run(["dpkg", "--print-architecture"]).stdout.strip() == "amd64":
            check_wide_code(os.path.join(prefix, INSTALLED[0]))
        run(["desktop-file-validate", os.path.join(prefix, INSTALLED[1])])
        run(["appstreamcli", "validate", "--no-net", os.path.join(prefix, INSTALLED[2])])
        print("ok desktop entry and AppStream data validate")
        start_installed(os.path.join(prefix, "bin/tavrimo"), x11_tool)
    finally:
        if installed:
            run(["apt-get", "remove", "-y", "-q", "tavrimo"], timeout=300,
                env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))


def check_wide_code(program):
    """AVX and AVX-512 instructions only in the sampler's AVX-512 copy, which runs only once the
    processor is known to have them: anywhere else they would stop the program on an x86-64
    without them."""
    function, wide = None, {}
    for line in run(["objdump", "-d", "-C", "--no-show-raw-insn", program]).stdout.splitlines():
        if line.endswith(">:"):
            function = line[line.index("<") + 1:-2]
            continue
        parts = line.split("\t")
        if len(parts) >= 2 and function is not None:
            instruction = " ".join(parts[1:])
            if instruction.startswith("v") or any(r in instruction for r in ("%ymm", "%zmm", "%k")):
                wide[function] = wide.get(function, 0) + 1
    copies = [name for name in wide if "TriangleLanesWholeAvx512" in name]
    stray = [name for name in wide if name not in copies]
    if not copies or stray:
        raise Failure(f"wide instructions outside the AVX-512 copy: {stray}" if stray else
                      "no AVX-512 copy of the sampler's lanes in the program")
    print(f"ok wide instructions only in the AVX-512 copy ({wide[copies[0]]} of them)")


def start_installed(program, x11_tool):
    display = Display()
    process = start([program], dict(display.env, QT_QPA_PLATFORM="xcb"))
    try:
        window = wait_until("the installed program's window", lambda: run(
            ["xdotool", "search", "--onlyvisible", "--name", "^Tavrimo$"], env=display.env,
            check=False).stdout.split() or None, timeout=60, interval=0.2)[-1]
        # Qt gives the window the icon built into the program (_NET_WM_ICON).
        icon = run(["xprop", "-id", window, "_NET_WM_ICON"], env=display.env, check=False)
        if "not found" in icon.stdout or icon.returncode != 0:
            raise Failure(f"the window has no icon: {icon.stdout.strip() or icon.stderr.strip()}")
        run([x11_tool, "close", window], env=display.env)
        process.wait(timeout=20)
        if process.returncode != 0:
            raise Failure(f"the installed program exited {process.returncode}")
        print("ok the installed program showed its window with its icon and closed")
    finally:
        if process.poll() is None:
            process.kill()
        display.close()


def check_windows(build):
    exe = os.path.join(build, "app", "win32", "tavrimo.exe")
    headers = run(["i686-w64-mingw32-objdump", "-p", exe]).stdout
    table = headers[headers.find("The .rsrc Resource Directory section"):]
    # The root of the resource tree lists the types: 14 group icon, 16 version, 24 manifest.
    for kind, name in ((0xE, "icon"), (0x10, "version information"), (0x18, "manifest")):
        if f"Entry: ID: {kind:#08x}" not in table:
            raise Failure(f"tavrimo.exe has no {name} resource")
    data = open(exe, "rb").read()
    for text in ("ProductVersion", VERSION, "Tavrimo B-spline curve editor"):
        if text.encode("utf-16-le") not in data:
            raise Failure(f"the version information of tavrimo.exe lacks {text!r}")
    for text in (b'level="asInvoker"', b"Microsoft.Windows.Common-Controls", b"supportedOS"):
        if text not in data:
            raise Failure(f"the manifest of tavrimo.exe lacks {text.decode()}")
    print("ok tavrimo.exe carries its icon, version information and manifest")


def check_zip(path):
    if os.path.basename(path) != f"tavrimo-{VERSION}-win32.zip":
        raise Failure(f"unexpected zip name {os.path.basename(path)}")
    names = sorted(zipfile.ZipFile(path).namelist())
    if names != ["LICENSE", "README.md", "tavrimo.exe"]:
        raise Failure(f"the zip holds {names}")
    print("ok the zip holds tavrimo.exe, README.md and LICENSE")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", required=True)
    parser.add_argument("--win32", required=True)
    parser.add_argument("--x11-tool", required=True)
    options = parser.parse_args()
    for tool in ("dpkg-deb", "desktop-file-validate", "appstreamcli", "xprop", "objdump"):
        if shutil.which(tool) is None:
            raise Failure(f"{tool} is not installed: ./scripts/setup test installs it")
    with tempfile.TemporaryDirectory(prefix="tavrimo-package-") as scratch:
        check_deb(one(os.path.join(options.dist, "tavrimo_*.deb")), options.x11_tool, scratch)
    check_windows(options.win32)
    check_zip(one(os.path.join(options.dist, "tavrimo-*-win32.zip")))
    return 0


if __name__ == "__main__":
    sys.exit(run_main(main))
