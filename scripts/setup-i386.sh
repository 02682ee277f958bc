# Part of the set-up (sourced by setup.sh): a 32-bit Wine for the shipped
# 32-bit program, and its prefix.
#
# Where this machine runs i386 code natively, Debian's wine32 runs it as it is.
# Where the kernel refuses i386 code, qemu's i386 user emulation runs every
# i386 program, registered with binfmt_misc: Wine re-executes its own loader
# for itself and for every child, and the kernel then hands each of those to
# qemu too. Only qemu 10 (bookworm-backports) can run Wine; older versions
# never finish starting it. FIREWORKS_I386_ROUTE=native|qemu forces a route.

binfmt_dir=/proc/sys/fs/binfmt_misc
qemu_entry=$binfmt_dir/qemu-i386
qemu_rule=/usr/share/qemu/binfmt.d/qemu-i386.conf
# The i386 dynamic loader of libc6-i386 (an amd64 package): an i386 program.
i386_probe=/lib32/ld-linux.so.2

# True if the kernel itself runs i386 code (qemu's handler, if registered,
# is set aside for the test).
i386_runs_natively() {
    local handler_was_on=0 result=0
    if [ -f "$qemu_entry" ] && grep -qx enabled "$qemu_entry"; then
        handler_was_on=1
        echo 0 >"$qemu_entry"
    fi
    "$i386_probe" --version >/dev/null 2>&1 || result=1
    ((handler_was_on)) && echo 1 >"$qemu_entry"
    return $result
}

qemu_major() {
    qemu-i386 --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p'
}

# Installs qemu 10 and registers it for i386 programs; if it cannot, fails and
# prints why.
prepare_qemu() {
    local major
    major=$(qemu_major)
    if [ -z "$major" ] || ((major < 10)); then
        if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
            echo "setup: adding Debian's bookworm-backports for qemu 10" >&2
            cat >/etc/apt/sources.list.d/fireworks-bookworm-backports.sources <<'SOURCES'
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
        fi
        echo "setup: installing qemu-user from bookworm-backports" >&2
        update_indexes >&2
        apt-get install -y -q --no-install-recommends -t bookworm-backports qemu-user </dev/null >&2 || true
        major=$(qemu_major)
        if [ -z "$major" ] || ((major < 10)); then
            echo "qemu-i386 10 or later is not installable (found: ${major:-none})"
            return 1
        fi
    fi
    if [ ! -f "$binfmt_dir/register" ]; then
        mount -t binfmt_misc binfmt_misc "$binfmt_dir" 2>/dev/null || {
            echo "binfmt_misc cannot be mounted here"
            return 1
        }
    fi
    if [ ! -f "$qemu_entry" ]; then
        # The rule's F flag opens the interpreter now, so it serves every process.
        cat "$qemu_rule" >"$binfmt_dir/register" 2>/dev/null || {
            echo "qemu-i386 cannot be registered with binfmt_misc"
            return 1
        }
    fi
    echo 1 >"$qemu_entry"
}

# Removes a qemu handler of an earlier forced run, so that native code runs natively.
drop_qemu_handler() {
    [ -f "$qemu_entry" ] && echo -1 >"$qemu_entry"
    return 0
}

# Debian's wine32 beside wine64 (multiarch i386).
prepare_wine32() {
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "setup: adding the i386 architecture"
        dpkg --add-architecture i386
        update_indexes
    fi
    install_missing wine32:i386 >&2
}

choose_i386_route() {
    install_missing libc6-i386 >&2
    case "${FIREWORKS_I386_ROUTE:-auto}" in
    native) echo native ;;
    qemu) echo qemu ;;
    auto)
        # A machine found to need qemu still does: its handler is not set
        # aside again while tests may be running. A forced route is no finding.
        if [ "$(cat "$I386_ROUTE_FILE" 2>/dev/null)" = qemu ] && [ -f "$qemu_entry" ] &&
            [ ! -f "$I386_ROUTE_FILE.forced" ]; then
            echo qemu
        elif i386_runs_natively; then
            echo native
        else
            echo qemu
        fi
        ;;
    *)
        echo "FIREWORKS_I386_ROUTE must be native, qemu or auto" >&2
        return 2
        ;;
    esac
}

route=$(choose_i386_route)
mkdir -p "$(dirname "$I386_ROUTE_FILE")"
if [ "$route" = native ]; then
    drop_qemu_handler
    prepare_wine32
    if [ "${FIREWORKS_I386_ROUTE:-auto}" = auto ]; then
        echo "setup: 32-bit Wine: native i386"
    else
        echo "setup: 32-bit Wine: native i386 (forced by FIREWORKS_I386_ROUTE)"
    fi
else
    if reason=$(prepare_qemu); then
        prepare_wine32
        why="this machine refuses it natively"
        [ "${FIREWORKS_I386_ROUTE:-auto}" = auto ] || why="forced by FIREWORKS_I386_ROUTE"
        echo "setup: 32-bit Wine: i386 code runs under qemu-i386 $(qemu_major) user emulation ($why)"
    else
        route="none: $reason"
        echo "setup: 32-bit Wine: unavailable ($reason); the 32-bit tests will be skipped" >&2
    fi
fi
if [ "$route" = native ] || [ "$route" = qemu ]; then
    prepare_prefix "$WINE32" "$WINEPREFIX32" win32
    if ! "$WINE32" --version >/dev/null 2>&1; then
        route="none: the 32-bit Wine does not start"
        echo "setup: the 32-bit Wine does not start here; the 32-bit tests will be skipped" >&2
    fi
fi
echo "$route" >"$I386_ROUTE_FILE"
if [ "${FIREWORKS_I386_ROUTE:-auto}" = auto ]; then
    rm -f "$I386_ROUTE_FILE.forced"
else
    touch "$I386_ROUTE_FILE.forced"
fi
