#!/bin/bash
# Runs a Windows program of the build under wine64 (the tests' emulator).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
exec "$WINE64" "$@"
