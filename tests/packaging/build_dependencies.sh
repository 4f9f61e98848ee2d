#!/usr/bin/env bash
# make deb installs only what building the package needs (CMake, the compiler, the -dev libraries, dpkg-dev,
# fakeroot), not the test tools that make test and make test-package install.
# usage: build_dependencies.sh SOURCE_DIR
set -uo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
plan="$(make -n -C "$1" --no-print-directory deb 2>&1)" || fail "make -n deb: $plan"
installs="$(grep -o 'for p in [^;]*;' <<<"$plan")"
[ -n "$installs" ] || fail "make deb installs nothing: $plan"
for needed in cmake g++ libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libfontconfig-dev dpkg-dev fakeroot; do
    grep -qw -- "$needed" <<<"$installs" || fail "make deb does not install $needed: $installs"
done
for tool in xvfb xdotool lintian libgtest-dev imagemagick sox openbox appstream; do
    grep -qw -- "$tool" <<<"$installs" && fail "make deb installs the test tool $tool: $installs"
done
plan="$(make -n -C "$1" --no-print-directory test-package 2>&1)"
grep -o 'for p in [^;]*;' <<<"$plan" | grep -qw lintian || fail "make test-package does not install lintian"
echo "ok"
