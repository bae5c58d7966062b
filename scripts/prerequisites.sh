#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages, only when
# something is missing, so a warm machine pays nothing and a bare one works.
# The sanitizer build and the fuzz targets need clang, its runtimes
# (libclang-rt-dev: libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and llvm's symbolizer for readable reports. The packages (and the
# installer's end-to-end test) need wixl, msitools and zip.
set -euo pipefail

packages=(cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev
          g++-mingw-w64-x86-64-posix mingw-w64-tools
          wine64 wine xvfb xserver-xephyr imagemagick locales fonts-wqy-zenhei xdotool xclip
          gstreamer1.0-plugins-base gstreamer1.0-plugins-good
          clang libclang-rt-dev llvm
          wixl msitools zip)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The ANSI code page under Wine follows the Unix locale; an ungenerated
# zh_CN.UTF-8 silently gives code page 1252.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
