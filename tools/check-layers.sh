#!/usr/bin/env bash
# Checks that the folders of src/ include one way and that no file in src/
# has grown past 350 lines. Every finding is printed as "file:line: what";
# the exit status is 1 when there is any, 2 when there is no src/ to check.
#
#   src/fight     includes nothing from src/input, src/net or src/app
#   src/graphics  includes nothing from src/content
#   src/app       is included only from src/app (and the platform's SDL
#                 backends, src/platform/sdl_*, which are the program's own)
#
# An include counts when the file it names is in src/: "name.h" next to the
# including file, "folder/name.h" or <folder/name.h> under src/, and "../"
# paths as the compiler resolves them. System headers (<net/if.h>) do not.
#
# Usage: tools/check-layers.sh [root]   (root: the repository, by default)
set -uo pipefail

root=${1:-"$(dirname "$0")/.."}
cd "$root" 2>/dev/null && [ -d src ] || {
    echo "check-layers: no src/ folder under '$root'" >&2
    exit 2
}
readonly max_lines=350
findings=0

finding() {
    echo "$1"
    findings=$((findings + 1))
}

# Sets target to the path under src/ that an include names, or to nothing
# when it names no file in src/. $1: the including file (src/...), $2: the
# include's text with its quotes or brackets.
resolve() {
    local from_dir=${1%/*} text=$2 name path
    name=${text:1:${#text}-2}
    target=
    if [ "${text:0:1}" = '"' ] && [ -e "$from_dir/$name" ]; then
        path=${from_dir#src/}/$name
    elif [ -e "src/$name" ]; then
        path=$name
    else
        return 0
    fi
    case /$path/ in */./* | */../*) path=$(realpath -m --relative-to=src "src/$path") ;; esac
    case $path in ../*) return 0 ;; esac  # outside src/
    target=$path
}

# Sets why to the reason file $1 (in folder $2) may not include from folder
# $3, or to nothing when it may.
forbidden() {
    local file=$1 from=$2 to=$3
    why=
    case "$from>$to" in
    fight\>input | fight\>net | fight\>app) why="src/fight may not include from src/$to" ;;
    graphics\>content) why="src/graphics may not include from src/content" ;;
    app\>app) ;;
    *\>app)
        case $file in src/platform/sdl_*) ;; *) why="only src/app may include from src/app" ;; esac
        ;;
    esac
}

include_re='^[[:space:]]*#[[:space:]]*include[[:space:]]*(.*)$'
while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    [[ ${rest#*:} =~ $include_re ]] || continue
    resolve "$file" "${BASH_REMATCH[1]}"
    [ -n "$target" ] || continue
    from=${file#src/}
    from=${from%%/*}
    forbidden "$file" "$from" "${target%%/*}"
    [ -z "$why" ] || finding "$file:$line: includes $target: $why"
done < <(grep -rnoE --include='*.h' --include='*.cpp' --include='*.hpp' --include='*.cc' \
    '^[[:space:]]*#[[:space:]]*include[[:space:]]*("[^"]+"|<[^>]+>)' src | sort -t: -k1,1 -k2,2n)

while IFS= read -r file; do
    lines=$(wc -l <"$file")
    [ "$lines" -le "$max_lines" ] || finding "$file: $lines lines, more than $max_lines"
done < <(find src -type f | sort)

if [ "$findings" -gt 0 ]; then
    echo "check-layers: $findings finding(s)"
    exit 1
fi
