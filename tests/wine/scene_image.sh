#!/bin/bash
# scene_image.sh COMPILE SCENE IMAGE [KEY=NUMBER...]: compiles the scene
# scenes/SCENE.ovs of the Windows end-to-end tests into the script image
# IMAGE with COMPILE (ovrix-compile), each @KEY@ in it replaced by NUMBER
# first: the values only the running test knows (a screen point, a port,
# the display's depth, addresses). A placeholder left without a value is an
# error; values for placeholders the scene lacks are ignored.
set -u
if [[ $# -lt 3 ]]; then
    echo "usage: scene_image.sh COMPILE SCENE IMAGE [KEY=NUMBER...]" >&2
    exit 2
fi
compile=$1 scene=$2 image=$3
shift 3
scenes=$(cd "$(dirname "$0")/scenes" && pwd)
if [[ ! -f $scenes/$scene.ovs ]]; then
    echo "scene_image.sh: no scene $scenes/$scene.ovs" >&2
    exit 2
fi
edits=(-e '')
for pair in "$@"; do
    if [[ ! $pair =~ ^([A-Z_]+)=([0-9]+)$ ]]; then
        echo "scene_image.sh: expected KEY=NUMBER, not \"$pair\"" >&2
        exit 2
    fi
    edits+=(-e "s/@${BASH_REMATCH[1]}@/${BASH_REMATCH[2]}/g")
done

# The edited copy goes beside the picture files the scenes name.
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
cp "$scenes"/*.pic "$work/" || exit 1
sed "${edits[@]}" "$scenes/$scene.ovs" >"$work/$scene.ovs" || exit 1
if grep -n '@[A-Z_]*@' "$work/$scene.ovs" >&2; then
    echo "scene_image.sh: $scene: placeholders left without a value" >&2
    exit 2
fi
"$compile" "$work/$scene.ovs" -o "$image"
