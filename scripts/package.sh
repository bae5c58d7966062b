#!/usr/bin/env bash
# Builds the release packages into dist/: Vexlo-<version>-portable.zip (the
# program stripped of its symbols and a read-me) and Vexlo-<version>.msi
# (a per-user installer, made with wixl). The version is the build's own
# (project VERSION in CMakeLists.txt).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash "$root/scripts/prerequisites.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target vexlo_packages

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
zip_file="build/windows/packages/Vexlo-$version-portable.zip"
msi_file="build/windows/packages/Vexlo-$version.msi"

# A self-contained utility that is copied around stays small.
limit=$((1536 * 1024))
size=$(stat -c %s build/windows/packages/stage/Vexlo.exe)
if [ "$size" -gt "$limit" ]; then
  echo "package.sh: the stripped Vexlo.exe has $size bytes, more than $limit" >&2
  exit 1
fi

mkdir -p dist
cp "$zip_file" "$msi_file" dist/
echo "Vexlo.exe: $size bytes"
ls -l "dist/Vexlo-$version-portable.zip" "dist/Vexlo-$version.msi"
