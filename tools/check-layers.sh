#!/usr/bin/env bash
# The folders of src/ are layers: a folder includes only folders below it. This fails, naming
# each offending line, when an #include runs sideways or up.
set -euo pipefail
src=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}

# From the bottom; folders on one line are side by side and never include each other.
layers=(
    foundation
    support
    tags
    itunes
    model
    changes
    tools
    app
    "gui cli"
)

declare -A rank
for i in "${!layers[@]}"; do
    for folder in ${layers[$i]}; do
        rank[$folder]=$i
    done
done

status=0
for dir in "$src"/*/; do
    folder=$(basename "$dir")
    if [ -z "${rank[$folder]+set}" ]; then
        echo "check-layers: src/$folder is in no layer; add it to tools/check-layers.sh" >&2
        status=1
        continue
    fi
    while IFS=: read -r file line target; do
        included=${target%%/*}
        [ "$included" = "$folder" ] && continue
        [ -z "${rank[$included]+set}" ] && continue  # not a folder of src/
        if [ "${rank[$included]}" -ge "${rank[$folder]}" ]; then
            echo "check-layers: ${file#"$src"/}:$line includes $target, which is not below $folder" >&2
            status=1
        fi
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^"/]+/' "$dir" \
                 --include='*.h' --include='*.cpp' |
             sed -E 's/^([^:]+):([0-9]+):.*#[[:space:]]*include[[:space:]]+"([^"]+)".*/\1:\2:\3/')
done
[ "$status" -eq 0 ] && echo "check-layers: every include runs downward"
exit "$status"
