#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the .deb and checks it as a distribution would: lintian finds no error
# and no warning, the copyright file, changelog and manual page are there and
# sound, and the program is hardened. Then it unpacks the package into a
# temporary root and starts the installed program on a virtual display: its
# window must open with the class its desktop entry names, and a click on
# "Close and Exit" must end it cleanly.
#
# package_smoke.sh BUILD [EMULATOR...]: in a cross build the program is
# started under the emulator CMake names.
set -euo pipefail
build=$(cd "$1" && pwd)
emulator=("${@:2}")
# The title and id as the build generated them (cmake/ProgramIdentity.cmake).
# shellcheck source=/dev/null
source "$build/ProgramIdentity.env"
app_id=$CLARIFIER_APP_ID
title=$CLARIFIER_TITLE

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/jt65a-clarifier_*.deb)
dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6" || fail "the package does not depend on Qt Widgets"
dpkg-deb -f "$deb" Depends | grep -q "fonts-liberation" || fail "the package does not depend on its fonts"

# Information tags are shown; each one's reason is written beside the setting
# that causes it.
lintian --fail-on error,warning --display-info \
    "$deb" || fail "lintian found errors or warnings"

root="$work/root"
dpkg -x "$deb" "$root"
for file in usr/bin/jt65a-clarifier \
            "usr/share/applications/$app_id.desktop" \
            "usr/share/metainfo/$app_id.metainfo.xml" \
            "usr/share/icons/hicolor/32x32/apps/$app_id.png" \
            "usr/share/icons/hicolor/256x256/apps/$app_id.png"; do
    [ -f "$root/$file" ] || fail "not installed: /$file"
done
[ -x "$root/usr/bin/jt65a-clarifier" ] || fail "the program is not executable"
desktop-file-validate "$root/usr/share/applications/$app_id.desktop"
grep -q "^Categories=.*HamRadio;" "$root/usr/share/applications/$app_id.desktop" || fail "not in HamRadio"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null

doc="$root/usr/share/doc/jt65a-clarifier"
grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" "$doc/copyright" \
    || fail "the copyright file is not in the machine-readable format"
grep -qx "License: GPL-3.0-or-later" "$doc/copyright" || fail "the copyright file does not name GPL-3.0-or-later"
changelog_version=$(zcat "$doc/changelog.gz" | dpkg-parsechangelog -l- -S Version)
[ "$changelog_version" = "$(dpkg-deb -f "$deb" Version)" ] \
    || fail "the changelog's latest release is $changelog_version, not the package's version"

manual="$root/usr/share/man/man1/jt65a-clarifier.1.gz"
[ -f "$manual" ] || fail "no manual page"
man_warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$manual" 2>&1 >/dev/null)
[ -z "$man_warnings" ] || fail "the manual page renders with warnings: $man_warnings"
manual_text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$manual" 2>/dev/null)
grep -q "jt65a_CALL_logfile.txt" <<<"$manual_text" || fail "the manual page does not name the file it writes"

# Hardened as Debian builds: a position-independent executable with read-only
# relocations bound at start-up, and stack protection.
program="$root/usr/bin/jt65a-clarifier"
grep -q "Type:.*DYN" <<<"$(readelf -h "$program")" || fail "the program is not position-independent"
grep -q "GNU_RELRO" <<<"$(readelf -lW "$program")" || fail "the program has no RELRO segment"
grep -q "FLAGS_1.*NOW" <<<"$(readelf -dW "$program")" || fail "the program does not bind at start-up"
grep -q "__stack_chk_fail" <<<"$(readelf --dyn-syms -W "$program")" || fail "the program has no stack protection"
[ -z "$(readelf -SW "$program" | grep -F .symtab || true)" ] || fail "the program is not stripped"
# No runpath, in the package or in the build: the loader searches the
# system's folders only, never the one the program is started in.
for built in "$program" "$build/jt65a-clarifier"; do
    search_path=$(readelf -dW "$built" | grep -E "\((RPATH|RUNPATH)\)" || true)
    [ -z "$search_path" ] || fail "$built searches for libraries in: $search_path"
done

# A virtual display of its own.
exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    display=$(head -n 1 "$work/display" 2>/dev/null || true)
    [ -n "$display" ] && break
    sleep 0.1
done
[ -n "${display:-}" ] || fail "Xvfb did not start"
export DISPLAY=":$display"
unset QT_QPA_PLATFORM

mkdir "$work/logs"
(cd "$work/logs" && exec "${emulator[@]}" "$root/usr/bin/jt65a-clarifier") &
app_pid=$!
# (an emulated program takes some tens of seconds to start and to end)
window=$(timeout 120 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1) \
    || fail "the window did not open"
geometry=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}')
[ "$geometry" = "394x555" ] || fail "the window is $geometry, not 394x555"

# Docks tie the window to its launcher by the class the entry names.
wm_class=$(xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
startup_class=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/$app_id.desktop")
[ -n "$startup_class" ] || fail "the desktop entry names no StartupWMClass"
[ "$wm_class" = "$startup_class" ] || fail "the window's class is '$wm_class', the entry's is '$startup_class'"

# "Close and Exit" lies at (32, 520), 329 x 25 pixels.
xdotool mousemove --window "$window" 196 532 click 1
for _ in $(seq 600); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "Close and Exit did not end the program"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "ok: the installed program opened its window and closed cleanly"
