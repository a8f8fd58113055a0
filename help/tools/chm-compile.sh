#!/bin/sh
# Compiles the help project in a stage folder with chmcmd, run with that folder
# as the root of its file system.
#
# chmcmd writes the context map with the absolute paths of the topics. Seen
# from a root of its own they read "/de.html": the topic's place inside the
# help file, the same on every machine, and no folder of the build machine
# gets into the file. The root holds a copy of the compiler and of the C
# library it loads (nothing is mounted); a user namespace lets an ordinary
# user enter it. Where user namespaces are not available the compiler runs in
# the stage folder as it is, and the test of the built file names the paths.
#
#   chm-compile.sh <stage folder> <chmcmd> <project.hhp>
set -eu
stage=$(cd "$1" && pwd)
compiler=$(readlink -f "$(command -v "$2")")
project=$3

made=""
cleanup() {
  rm -rf "$stage/.chmcmd"
  for dir in $made; do rm -rf "${stage:?}/$dir"; done
}
trap cleanup EXIT

mkdir -p "$stage/.chmcmd"
cp "$compiler" "$stage/.chmcmd/chmcmd"
# The libraries it is linked with, and the thread library its run-time loads
# by name from the C library's folder.
libraries=$(ldd "$compiler" | grep -o '/[^ ]*' || true)
libc_dir=$(dirname "$(echo "$libraries" | grep '/libc\.so' | head -n 1)")
for extra in libpthread.so.0 libdl.so.2; do
  [ -e "$libc_dir/$extra" ] && libraries="$libraries $libc_dir/$extra"
done
for library in $libraries; do
  top=$(echo "$library" | cut -d/ -f2)
  [ -e "$stage/$top" ] || made="$made $top"
  mkdir -p "$stage$(dirname "$library")"
  cp -L "$library" "$stage$library"
done

if unshare --user --map-root-user --root="$stage" --wd=/ /.chmcmd/chmcmd --no-html-scan "$project"; then
  exit 0
fi
echo "chm-compile.sh: no root of its own for chmcmd (user namespaces unavailable?); the help file will name the build folder" >&2
cd "$stage"
exec "$compiler" --no-html-scan "$project"
