#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the .deb, unpacks it into a temporary root, checks what it installs,
# and starts the installed program on a virtual display: its window must open,
# and a click on "Close and Exit" must end it cleanly.
set -euo pipefail
build=$(cd "$1" && pwd)
app_id=org.jt65a.Clarifier
title="JT65a raw log clarifier"

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
(cd "$work/logs" && exec "$root/usr/bin/jt65a-clarifier") &
app_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1) \
    || fail "the window did not open"
geometry=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}')
[ "$geometry" = "394x555" ] || fail "the window is $geometry, not 394x555"

# "Close and Exit" lies at (32, 520), 329 x 25 pixels.
xdotool mousemove --window "$window" 196 532 click 1
for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "Close and Exit did not end the program"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "ok: the installed program opened its window and closed cleanly"
