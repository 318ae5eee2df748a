#!/bin/sh
# Builds the Debian package from a built tree, checks what it holds, installs it, runs the
# installed programs and removes it again.
#   package_test.sh BUILD_DIR VERSION
# Exit 77 (skipped) where installing a package is not possible or would touch the user's own.
set -eu
build="$1"
version="$2"

if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: installing a package needs root"
  exit 77
fi
if ! command -v dpkg >/dev/null 2>&1 || ! command -v cpack >/dev/null 2>&1; then
  echo "skipped: needs dpkg and cpack"
  exit 77
fi
if dpkg-query -W -f='${Status}' rtuconfig 2>/dev/null | grep -q "install ok installed"; then
  echo "skipped: an rtuconfig package is installed on this machine and is left alone"
  exit 77
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/rtu-package.XXXXXX")"
installed=0
cleanup() {
  [ "$installed" -eq 0 ] || dpkg -r rtuconfig >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack did not build the package"
fi
arch="$(dpkg --print-architecture)"
deb="$work/rtuconfig_${version}_${arch}.deb"
[ -f "$deb" ] || fail "no $(basename "$deb") in: $(ls "$work")"

dpkg-deb -c "$deb" | awk '{ print $6 }' >"$work/contents"
for path in ./usr/bin/rtuconfig ./usr/bin/rtuctl ./usr/bin/rtusim \
    ./usr/share/rtuconfig/gsm.ini ./usr/share/rtuconfig/sim/default.image \
    ./usr/share/applications/rtuconfig.desktop \
    ./usr/share/icons/hicolor/scalable/apps/rtuconfig.svg \
    ./usr/share/icons/hicolor/48x48/apps/rtuconfig.png \
    ./usr/share/man/man1/rtuctl.1.gz ./usr/share/man/man1/rtusim.1.gz \
    ./usr/share/bash-completion/completions/rtuctl \
    ./usr/lib/udev/rules.d/60-rtuconfig.rules; do
  grep -qx "$path" "$work/contents" || fail "the package lacks $path"
done
depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libc6 libstdc++6 libqt6widgets6; do
  echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib: $depends"
done

dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -i failed"; }
installed=1
out="$(/usr/bin/rtuctl --version)"
[ "$out" = "rtuctl $version" ] || fail "rtuctl --version said: $out"
out="$(/usr/bin/rtusim --version)"
[ "$out" = "rtusim $version" ] || fail "rtusim --version said: $out"
/usr/bin/rtusim --help | grep -q "Usage" || fail "rtusim --help printed no usage"
# The installed simulator starts with its default image and names its pseudo-terminal.
timeout -s INT 3 /usr/bin/rtusim >"$work/sim.out" 2>"$work/sim.err" || true
head -n 1 "$work/sim.out" | grep -q '^/dev/' || fail "the installed rtusim did not start: $(cat "$work/sim.err")"

dpkg -r rtuconfig >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -r failed"; }
installed=0
[ ! -e /usr/bin/rtuctl ] || fail "dpkg -r left /usr/bin/rtuctl"
echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes, $(wc -l <"$work/contents") entries"
