#!/bin/bash
# Runs a Windows program of the build under the Wine of WINEARCH (the
# tests' emulator): wine64 for the 64-bit build, the 32-bit Wine for the shipped
# 32-bit build, which is skipped where this machine cannot run it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
if [ "$WINEARCH" = win32 ]; then
    route=$(cat "$I386_ROUTE_FILE" 2>/dev/null || echo "none: the set-up has not run")
    case "$route" in
    native | qemu) ;;
    *)
        echo "SKIPPED: this machine cannot run the 32-bit build (${route#none: })"
        exit 77
        ;;
    esac
fi
exec "$(wine_for_arch)" "$@"
