"""The archive that scripts/package.sh writes: its name, its three files, its
checksums, a README.txt that reads right as the encoding it declares, and a
32-bit program that imports only system DLLs and carries the project's
version."""

import hashlib
import os
import re
import struct
import subprocess
import sys
import zipfile

from builds import SOURCE_DIR

RECIPIENT = "小明"
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def project_version():
    with open(os.path.join(SOURCE_DIR, "CMakeLists.txt"), encoding="utf-8") as cmake:
        return re.search(r"project\(Fireworks VERSION (\d+)\.(\d+)\.(\d+)", cmake.read()).groups()


def fixed_file_info(exe):
    """File and product version numbers of the version resource."""
    at = exe.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    _, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", exe, at)
    split = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    return split(file_ms, file_ls), split(product_ms, product_ls)


def version_string(exe, key):
    """A value of the version resource's string table (UTF-16, padded to 4 bytes)."""
    name = (key + "\0").encode("utf-16-le")
    at = exe.find(name)
    if at < 0:
        return None
    value = at + len(name)
    value += (-value) % 4
    end = exe.find(b"\0\0", value)
    while (end - value) % 2:
        end = exe.find(b"\0\0", end + 1)
    return exe[value:end].decode("utf-16-le")


def main():
    work = sys.argv[1]
    major, minor, patch = project_version()
    version = f"{major}.{minor}.{patch}"
    archive = os.path.join(work, "checkout", "dist", f"fireworks-{version}-{RECIPIENT}-win32.zip")
    check(os.path.isfile(archive), f"no archive {archive}")
    if failures:
        return
    with open(os.path.join(work, "package-output.txt"), encoding="utf-8") as out:
        printed = out.read()
    check(archive in printed, f"the script did not print the archive's path:\n{printed}")
    with open(archive, "rb") as f:
        check(hashlib.sha256(f.read()).hexdigest() in printed, "the script did not print the archive's checksum")

    with zipfile.ZipFile(archive) as zipped:
        check(zipped.testzip() is None, "the archive is damaged")
        names = sorted(zipped.namelist())
        check(names == ["README.txt", "SHA256SUMS", "fireworks.exe"], f"the archive holds {names}")
        files = {name: zipped.read(name) for name in names}
    exe = files.get("fireworks.exe", b"")
    readme = files.get("README.txt", b"")
    check(hashlib.sha256(exe).hexdigest() in printed, "the script did not print the program's checksum")

    # SHA256SUMS: one line per other file, as sha256sum -c reads it.
    sums = {}
    for line in files.get("SHA256SUMS", b"").decode("ascii").splitlines():
        match = re.fullmatch(r"([0-9a-f]{64})  (\S+)", line)
        check(match, f"SHA256SUMS line {line!r}")
        if match:
            sums[match.group(2)] = match.group(1)
    check(sorted(sums) == ["README.txt", "fireworks.exe"], f"SHA256SUMS covers {sorted(sums)}")
    for name, digest in sums.items():
        check(hashlib.sha256(files.get(name, b"")).hexdigest() == digest, f"SHA256SUMS is wrong for {name}")

    # README.txt declares UTF-8 with its byte-order mark and has Windows line ends.
    check(readme.startswith(b"\xef\xbb\xbf"), "README.txt has no UTF-8 byte-order mark")
    try:
        text = readme[3:].decode("utf-8")
    except UnicodeDecodeError as error:
        text = ""
        failures.append(f"README.txt is not UTF-8: {error}")
    check(readme.count(b"\n") > 10 and readme.count(b"\n") == readme.count(b"\r\n"), "README.txt lines do not end in CRLF")
    for words in ("双击 fireworks.exe", "回车键", "任意键", "关闭窗口", RECIPIENT, "Double-click fireworks.exe",
                  "press Enter again", "any key", "Closing the window", version):
        check(words in text, f"README.txt does not say {words!r}")

    # The program: a 32-bit console program of system DLLs only.
    program = os.path.join(work, "fireworks.exe")
    with open(program, "wb") as f:
        f.write(exe)
    checker = os.path.join(SOURCE_DIR, "tests", "program_file", "check_program_file.sh")
    result = subprocess.run([checker, program, "pei-i386"], capture_output=True, text=True)
    check(result.returncode == 0, f"program file: {result.stdout.strip()}")
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-f", program], capture_output=True, text=True).stdout
    check("architecture: i386" in dump, f"the program is not i386: {dump.strip()}")

    expected = (int(major), int(minor), int(patch), 0)
    check(fixed_file_info(exe) == (expected, expected), f"version resource numbers {fixed_file_info(exe)}")
    for key in ("FileVersion", "ProductVersion"):
        check(version_string(exe, key) == f"{version}.0", f"{key} is {version_string(exe, key)!r}")
    check("美丽的小明！".encode("gbk") in exe, "the program does not hold the dedication to 小明")


if __name__ == "__main__":
    main()
    for failure in failures:
        print("FAIL " + failure)
    print("package checks: " + ("failed" if failures else "passed"))
    sys.exit(1 if failures else 0)
