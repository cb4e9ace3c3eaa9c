#!/usr/bin/env bash
# Keeps the core free of the windows: a source in a core folder (study/, calc/, files/,
# report/ outside their ui/ subfolders) or in cli/ may include neither a Qt header nor a
# header of the windows (a ui/ folder or app/). Prints each offending include and fails.
set -uo pipefail
cd "$(dirname "$0")/.."

core_sources() {
    find study calc files report cli -type f \( -name '*.h' -o -name '*.cpp' \) -not -path '*/ui/*' | sort
}

status=0
while IFS= read -r file; do
    while IFS= read -r hit; do
        echo "$file:$hit"
        status=1
    done < <(grep -nE '^\s*#\s*include\s*[<"](Q[A-Za-z]*|Qt[A-Za-z]*/[^>"]*|[^>"]*/ui/[^>"]*|app/[^>"]*)[>"]' "$file")
done < <(core_sources)

if [ "$status" -ne 0 ]; then
    echo "check-layers: the core must not include Qt or window headers (above)." >&2
else
    echo "check-layers: the core includes no Qt or window header ($(core_sources | wc -l) files)."
fi
exit "$status"
