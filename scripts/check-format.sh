#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it, and names the files.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
unformatted=()
for f in "${files[@]}"; do
    [ -f "$f" ] || continue
    if ! clang-format-14 --dry-run --Werror "$f" >/dev/null 2>&1; then
        unformatted+=("$f")
    fi
done
if [ ${#unformatted[@]} -gt 0 ]; then
    echo "not formatted (run: clang-format-14 -i FILE):"
    printf '  %s\n' "${unformatted[@]}"
    exit 1
fi
echo "format: ${#files[@]} files follow .clang-format"
