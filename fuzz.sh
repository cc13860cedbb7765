#!/usr/bin/env bash
# A long fuzzing run of one parser: ./fuzz.sh NAME [SECONDS] (default 600). NAME is one of the
# folders of fuzz/corpus. It grows the same working corpus as ./test.sh's short runs; an input that
# breaks a property is kept in build/fuzz/found/NAME/, and every later run tries it again.
set -uo pipefail
source "$(dirname "$0")/tools/common.sh"

name="${1:-}"
seconds="${2:-600}"
if [ -z "$name" ] || [ ! -d "$ROOT/fuzz/corpus/$name" ]; then
    echo "Usage: ./fuzz.sh NAME [SECONDS], NAME one of: $(ls "$ROOT/fuzz/corpus" | tr '\n' ' ')" >&2
    exit 2
fi
ensure_packages cmake ninja-build "${FUZZ_PACKAGES[@]}" || exit 1
configure_fuzz && build fuzz "fuzz_$name" || exit 1
"$BUILD/fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -artifact_prefix="$BUILD/fuzz/found/$name/" \
    "$BUILD/fuzz/corpus/$name" "$ROOT/fuzz/corpus/$name" "$BUILD/fuzz/found/$name"
