#!/usr/bin/env bash
# Rewrites the stored dumps after a deliberate change to the simulation or a
# scene. Check with git diff that only what you meant to change moved.
#   update_dumps.sh BUILD_DIR
set -eu
build=$1
data=$(cd "$(dirname "$0")/data" && pwd)
run() { "$build/bin/blobrun" "$data/$1.map" "$data/$2.events" "$3" "${@:5}" >"$data/$4"; }
run flat_drop flat_drop 12 flat_drop_12.dump
run flat_drop flat_drop 300 flat_drop_final.dump --final
run walk_jump walk_jump 500 walk_jump_final.dump --final
run five_blobs five_blobs 600 five_blobs_final.dump --final
