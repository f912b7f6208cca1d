#!/bin/sh
# A small tmpfs for the full-disk recordings: "mount DIR SIZE" makes it, "unmount DIR" takes it away.
# Mounting needs root; where it cannot be done the tests that need the disk skip and say why.
set -u
action=$1
dir=$2
if mountpoint -q "$dir" 2>/dev/null; then
    umount "$dir" || umount -l "$dir"
fi
[ "$action" = unmount ] && exit 0
mkdir -p "$dir"
if [ "$(id -u)" != 0 ]; then
    echo "small disk: not root, $dir stays unmounted"
    exit 0
fi
mount -t tmpfs -o "size=$3" qel_small_disk "$dir" || echo "small disk: mount failed, $dir stays unmounted"
exit 0
