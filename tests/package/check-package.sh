#!/usr/bin/env bash
# Builds the Debian package from a finished build folder into a temporary folder and checks
# what it installs and what it asks apt for. Skipped (77) where dpkg-deb is not available.
set -euo pipefail
build=$1
command -v dpkg-deb >/dev/null && command -v cpack >/dev/null || { echo "dpkg-deb or cpack missing: skipped"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/quillora_*_*.deb)
case "$(basename "$deb")" in quillora_5.0_*.deb) ;; *) echo "unexpected package name $deb"; exit 1;; esac

fail=0
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/quillora ./usr/share/applications/quillora.desktop \
         ./usr/share/icons/hicolor/scalable/apps/quillora.svg ./usr/share/icons/hicolor/256x256/apps/quillora.png \
         ./usr/share/doc/quillora/help/index.html; do
  grep -qx -- "$f" <<<"$files" || { echo "missing from the package: $f"; fail=1; }
done
[ "$(dpkg-deb -f "$deb" Package)" = quillora ] || { echo "Package field"; fail=1; }
[ "$(dpkg-deb -f "$deb" Version)" = 5.0 ] || { echo "Version field: $(dpkg-deb -f "$deb" Version)"; fail=1; }
depends=$(dpkg-deb -f "$deb" Depends)
for d in libsqlcipher0 libxlsxwriter libqt6widgets6 libqt6printsupport6 fonts-arphic-uming fonts-wqy-zenhei qt6-translations-l10n; do
  grep -q "$d" <<<"$depends" || { echo "Depends lacks $d: $depends"; fail=1; }
done
grep -q postgresql-client <<<"$(dpkg-deb -f "$deb" Recommends)" || { echo "Recommends lacks postgresql-client"; fail=1; }
mkdir "$out/root"
dpkg-deb -x "$deb" "$out/root"
desktop="$out/root/usr/share/applications/quillora.desktop"
grep -qx 'Name\[zh_CN\]=Quillora 电子处方' "$desktop" || { echo "desktop entry: Chinese name"; fail=1; }
grep -q '^Categories=.*Office;.*Medical' "$desktop" || { echo "desktop entry: categories"; fail=1; }
[ -x "$out/root/usr/bin/quillora" ] || { echo "the program is not executable"; fail=1; }
exit $fail
