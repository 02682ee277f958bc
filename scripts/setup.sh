#!/bin/bash
# Installs what the build and the tests need (only what is missing) and
# prepares the project's own Wine prefix. Safe to run again.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

packages=(
    cmake make python3
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
    wine64 xvfb xauth xdotool x11-utils imagemagick fonts-arphic-ukai
    googletest g++ libjpeg-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    # A mirror that is syncing may fail one index; what is installable still installs.
    apt-get update -q || echo "setup: apt-get update reported a failure; going on" >&2
    apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
fi

# Wine takes its ANSI code page from the locale: Chinese (GBK) and English
# runs need both locales generated.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' || ! locale -a 2>/dev/null | grep -qix 'en_US.utf8'; then
    echo "setup: generating the zh_CN.UTF-8 and en_US.UTF-8 locales"
    dpkg-query -W -f='${Status}' locales 2>/dev/null | grep -q "install ok installed" ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends locales </dev/null
    sed -i -E 's/^# *(zh_CN.UTF-8 UTF-8|en_US.UTF-8 UTF-8)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
    grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen || echo 'en_US.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen >/dev/null
fi

if [ ! -f "$WINEPREFIX/.fireworks-prefix" ]; then
    echo "setup: preparing the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    DISPLAY= "$WINE64" wineboot --init </dev/null >/dev/null 2>&1 || true
    # The virtual display has no window manager: with unmanaged windows Wine
    # does not wait for one to withdraw a window that is hidden.
    DISPLAY= "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    touch "$WINEPREFIX/.fireworks-prefix"
fi
