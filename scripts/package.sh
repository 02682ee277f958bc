#!/bin/bash
# package.sh [--recipient NAME] [--greeting FILE]: builds the shipped 32-bit
# program with those words and writes
# dist/fireworks-<version>[-<recipient>]-win32.zip, holding fireworks.exe, a
# README.txt for the person who receives it and SHA256SUMS. Needs only the
# build tools (scripts/setup.sh installs them), no display and no Wine.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

recipient=
greeting=
read_options package "[--recipient NAME] [--greeting FILE]" recipient greeting -- "$@"
for tool in cmake make python3 i686-w64-mingw32-g++-posix; do
    command -v "$tool" >/dev/null || { echo "package: $tool is missing; scripts/setup.sh installs it" >&2; exit 1; }
done

# The win32 preset's settings in a tree of its own, so that the trees of the
# tests keep theirs.
build=$repo/build/package
build_with_words "$build" fireworks "$recipient" "$greeting" --preset win32 -DFIREWORKS_TESTS=OFF
version=$(tree_version "$build")

# The commit the program is built from, when this folder is a git checkout
# of its own (not a copy inside another repository's folder). The archive's
# entries carry the commit's time, so the same commit packs into the same
# archive.
commit=
stamp=315532800
if [ "$(git -C "$repo" rev-parse --show-toplevel 2>/dev/null)" = "$repo" ]; then
    commit=$(git -C "$repo" rev-parse --short=12 HEAD)
    git -C "$repo" diff --quiet HEAD -- || commit+=" with local changes"
    stamp=$(git -C "$repo" log -1 --format=%ct)
fi
stamp=${SOURCE_DATE_EPOCH:-$stamp}

name=fireworks-$version
if [ -n "$recipient" ]; then
    name+=-$(file_name_of "$recipient")
fi
name+=-win32
mkdir -p "$repo/dist"
archive=$repo/dist/$name.zip

python3 - "$build/fireworks.exe" "$archive" "$version" "$commit" "$stamp" "$recipient" <<'PYTHON'
import hashlib
import sys
import time
import zipfile

exe_path, archive, version, commit, stamp, recipient = sys.argv[1:]
for_whom_zh = f"给{recipient}的" if recipient else ""
for_whom_en = f" for {recipient}" if recipient else ""
built_from = f"version {version}, commit {commit}" if commit else f"version {version}"
readme = f"""烟花 Fireworks {version}

这是一份{for_whom_zh}烟花贺卡：一个 Windows 程序，不用安装。
  1. 双击 fireworks.exe。音乐响起，献词在窗口里转动。
  2. 按回车键，出现一页文字；再按一次回车键，烟花开始。
  3. 按任意键结束。关闭窗口也会立即结束。
如果 Windows 提示“已保护你的电脑”，点“更多信息”，再点“仍要运行”。

This is a fireworks greeting{for_whom_en}: a Windows program, nothing to install.
  1. Double-click fireworks.exe. Music starts and the dedication swings round.
  2. Press Enter for a page of text; press Enter again and the fireworks begin.
  3. Press any key to end. Closing the window ends it at once too.
If Windows says "Windows protected your PC", click "More info", then "Run anyway".

SHA256SUMS holds the checksums of both files; building the same source
({built_from}) with the same words gives the same fireworks.exe.
On Windows: certutil -hashfile fireworks.exe SHA256
"""
# UTF-8 with a byte-order mark and CRLF line ends: every Notepad shows it right.
readme_bytes = b"\xef\xbb\xbf" + readme.replace("\n", "\r\n").encode("utf-8")
with open(exe_path, "rb") as exe:
    exe_bytes = exe.read()
sums = "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n"
               for name, data in (("fireworks.exe", exe_bytes), ("README.txt", readme_bytes)))
date_time = time.gmtime(max(int(stamp), 315532800))[:6]
with zipfile.ZipFile(archive, "w") as zipped:
    for name, data in (("fireworks.exe", exe_bytes), ("README.txt", readme_bytes), ("SHA256SUMS", sums.encode())):
        entry = zipfile.ZipInfo(name, date_time)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.external_attr = 0o644 << 16
        zipped.writestr(entry, data)
print(archive)
print(f"  sha256 of the archive:  {hashlib.sha256(open(archive, 'rb').read()).hexdigest()}")
print(f"  sha256 of fireworks.exe: {hashlib.sha256(exe_bytes).hexdigest()}")
PYTHON
