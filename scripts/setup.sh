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
    googletest g++ libjpeg-dev zlib1g-dev
    clang-tidy clang-format cppcheck
    ffmpeg pulseaudio python3-numpy python3-pefile
)
export DEBIAN_FRONTEND=noninteractive
installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
update_indexes() {
    # A mirror that is syncing may fail one index; what is installable still installs.
    apt-get update -q || echo "setup: apt-get update reported a failure; going on" >&2
}
# install_missing package...: installs those of the packages that are missing.
install_missing() {
    local missing=() p
    for p in "$@"; do
        installed "$p" || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    echo "setup: installing ${missing[*]}"
    update_indexes
    apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
}
install_missing "${packages[@]}"

# Wine takes its ANSI code page from the locale: Chinese (GBK) and English
# runs need both locales generated.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' || ! locale -a 2>/dev/null | grep -qix 'en_US.utf8'; then
    echo "setup: generating the zh_CN.UTF-8 and en_US.UTF-8 locales"
    install_missing locales
    sed -i -E 's/^# *(zh_CN.UTF-8 UTF-8|en_US.UTF-8 UTF-8)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
    grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen || echo 'en_US.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen >/dev/null
fi

if [ "$WINEARCH" = win32 ]; then
    prepare_prefix "$WINE64" "$repo/build/wineprefix" win64
else
    prepare_prefix "$WINE64" "$WINEPREFIX" win64
fi

source "$repo/scripts/setup-i386.sh"
