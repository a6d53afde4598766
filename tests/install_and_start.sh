#!/usr/bin/env bash
# Installs the built program into a temporary prefix, and as a Debian package
# unpacked into another, and starts each installed program on the offscreen
# platform: it must come up and keep running.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

check_files() {
  local root=$1
  for f in bin/tavrin share/applications/tavrin.desktop \
           share/icons/hicolor/scalable/apps/tavrin.svg \
           share/icons/hicolor/128x128/apps/tavrin.png \
           share/metainfo/net.revevi.Tavrin.metainfo.xml; do
    [ -f "$root/$f" ] || { echo "missing in $root: $f"; exit 1; }
  done
}

start() {
  local program=$1
  QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" "$program" &
  local pid=$!
  sleep 2
  if ! kill -0 "$pid" 2>/dev/null; then
    local code=0
    wait "$pid" || code=$?
    echo "$program ended by itself, code $code"
    exit 1
  fi
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "started: $program"
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
check_files "$work/prefix"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$work/prefix/share/metainfo/net.revevi.Tavrin.metainfo.xml" >/dev/null
fi
start "$work/prefix/bin/tavrin"

if command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
  (cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
  deb=$(ls "$work"/deb/*.deb)
  dpkg-deb --field "$deb" Depends | grep -q libqt6widgets6 || { echo "the package does not depend on Qt"; exit 1; }
  dpkg-deb -x "$deb" "$work/unpacked"
  check_files "$work/unpacked/usr"
  start "$work/unpacked/usr/bin/tavrin"
fi
