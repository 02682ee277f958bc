# Shared settings of the scripts: where things are and how Wine is run.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# WINEARCH picks the build to run: win64 (the default) or win32, the shipped one.
export WINEARCH=${WINEARCH:-win64}
# The 32-bit Wine (Debian's wine32) has a prefix of its own.
export WINE32=/usr/lib/wine/wine
export WINEPREFIX32=$repo/build/wineprefix32
if [ "$WINEARCH" = win32 ]; then
    export WINEPREFIX=${WINEPREFIX:-$WINEPREFIX32}
else
    export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix}
fi
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer dialogs in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if command -v wine64 >/dev/null 2>&1; then
    WINE64=$(command -v wine64)
else
    WINE64=/usr/lib/wine/wine64
fi
export WINE64
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINESERVER
# How this machine runs i386 code, as the set-up found it: "native", "qemu",
# or "none: <why>".
export I386_ROUTE_FILE=$repo/build/i386-route

# The Wine of WINEARCH.
wine_for_arch() {
    if [ "$WINEARCH" = win32 ]; then
        echo "$WINE32"
    else
        echo "$WINE64"
    fi
}

# prepare_prefix WINE PREFIX ARCH: a prefix of the project's own for that Wine.
# Its marker holds the version of these settings: a prefix prepared with
# older ones is prepared again.
prefix_settings=3
prepare_prefix() {
    local wine=$1 prefix=$2 arch=$3
    [ "$(cat "$prefix/.fireworks-prefix" 2>/dev/null)" = "$prefix_settings" ] && return 0
    echo "setup: preparing the Wine prefix $prefix"
    mkdir -p "$prefix"
    DISPLAY= WINEPREFIX=$prefix WINEARCH=$arch "$wine" wineboot --init </dev/null >/dev/null 2>&1 || true
    # The virtual display has no window manager: with unmanaged windows Wine
    # does not wait for one to withdraw a window that is hidden.
    DISPLAY= WINEPREFIX=$prefix WINEARCH=$arch "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        </dev/null >/dev/null 2>&1
    # A virtual display has no game controllers; the bus driver that looks
    # for them keeps a processor busy, a quarter of one while the show runs.
    DISPLAY= WINEPREFIX=$prefix WINEARCH=$arch "$wine" reg add 'HKCU\Software\Wine\DllOverrides' /v winebus.sys /d '' /f \
        </dev/null >/dev/null 2>&1
    # Until its server ends, the prefix's desktop is the display-less one
    # made here: a program started in it before then shows no window.
    WINEPREFIX=$prefix "$WINESERVER" -w
    # A new file, so that copies of the prefix made before see the change.
    rm -f "$prefix/.fireworks-prefix"
    echo "$prefix_settings" >"$prefix/.fireworks-prefix"
}

# free_display: a display number that no X server on this machine uses.
free_display() {
    local number
    for number in $(shuf -i 200-599); do
        [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] || { echo ":$number"; return 0; }
    done
    return 1
}

# build_with_words TREE "TARGET..." RECIPIENT GREETING CONFIGURE_ARG...:
# configures TREE (cmake with those arguments, --preset first) with those
# words and builds the targets. Every run states both words variables, so a
# previous run's words never linger in the cache. On failure it shows the
# build's own messages (bad words stop the configure step) and fails; the log
# is TREE/words-build.log.
build_with_words() {
    local tree=$1 targets=$2 recipient=$3 greeting=$4
    shift 4
    local log=$tree/words-build.log
    mkdir -p "$tree"
    cmake -S "$repo" "$@" -B "$tree" -DFIREWORKS_RECIPIENT="$recipient" -DFIREWORKS_GREETING_FILE="$greeting" >"$log" 2>&1 ||
        { cat "$log" >&2; return 1; }
    # shellcheck disable=SC2086 # the targets are separate words
    cmake --build "$tree" --target $targets -j "$(nproc)" >>"$log" 2>&1 || { cat "$log" >&2; return 1; }
}

# tree_version TREE: the project's version as TREE was configured with it.
tree_version() {
    sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt"
}

# file_name_of TEXT: TEXT with the characters Windows does not allow in a
# file name (and spaces) as "_".
file_name_of() {
    printf '%s' "$1" | sed 's#[][/\\:*?"<>| ]#_#g'
}

# read_options SCRIPT USAGE OPTION... -- ARGUMENT...: reads each "--OPTION
# VALUE" of the arguments into the shell variable OPTION (the caller gives it
# its default). Help, an unknown option or a missing value print USAGE and
# end the script with code 2. A greeting file is made an absolute path, as
# the build reads it from another folder; the build says what is wrong with
# one, a missing one included.
read_options() {
    local script=$1 usage=$2 known=" "
    shift 2
    while [ "$1" != -- ]; do
        known+="$1 "
        shift
    done
    shift
    while (($#)); do
        case "$1" in
        -h | --help) ;;
        --*)
            if [[ "$known" == *" ${1#--} "* ]] && (($# >= 2)); then
                printf -v "${1#--}" '%s' "$2"
                shift 2
                continue
            fi
            [[ "$known" == *" ${1#--} "* ]] || echo "$script: unknown argument $1" >&2
            ;;
        *) echo "$script: unknown argument $1" >&2 ;;
        esac
        echo "usage: $script $usage" >&2
        exit 2
    done
    if [[ "$known" == *" greeting "* ]] && [ -n "${greeting:-}" ]; then
        greeting=$(realpath -m "$greeting")
    fi
}
