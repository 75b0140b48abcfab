#!/usr/bin/env bash
# The Debian package: `--target package` makes brinewave3_<version>_<arch>.deb with the
# install laid out under /usr, the control fields, and files that lintian, man, appstreamcli
# and desktop-file-validate accept.
source "$(dirname "$0")/lib.sh"
command -v dpkg-deb >/dev/null || { echo "SKIP: dpkg-deb is not installed"; exit 77; }
build=$(dirname "$BW_DATA")
version=$(sed -n 's/^project(Brinewave3 VERSION \([0-9.]*\).*/\1/p' "$BW_SOURCE/CMakeLists.txt")
arch=$(dpkg --print-architecture)
deb=$build/brinewave3_${version}_${arch}.deb
rm -f "$deb"
cmake --build "$build" --target package >"$TEST_HOME/cpack.log" 2>&1 ||
    fail "the package target failed: $(tail -n 20 "$TEST_HOME/cpack.log")"
[[ -f "$deb" ]] || fail "no $deb: $(ls "$build"/*.deb 2>/dev/null)"

field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == brinewave3 ]] || fail "Package: $(field Package)"
[[ "$(field Version)" == "$version" ]] || fail "Version: $(field Version), not $version"
[[ "$(field Architecture)" == "$arch" ]] || fail "Architecture: $(field Architecture)"
[[ -n "$(field Maintainer)" && -n "$(field Description)" ]] || fail "no Maintainer or Description"
depends=$(field Depends)
# From dpkg-shlibdeps, with versions, and the fonts no library link shows: the scene's
# "Arial" and the windows' sans-serif.
for package in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libsdl2-mixer-2.0-0 libx11-6 \
               libxrender1 libxext6 fonts-liberation2 fonts-dejavu-core; do
    [[ ", $depends," =~ ,\ $package[\ ,] ]] || fail "Depends lacks $package: $depends"
done
[[ "$depends" =~ libqt6core6\ \(\>=\ [0-9] ]] || fail "Depends has no versions: $depends"
recommends=$(field Recommends)
for package in xscreensaver qt6-wayland; do
    [[ "$recommends" == *"$package"* ]] || fail "Recommends lacks $package: $recommends"
done
[[ "$(field Suggests)" == *xss-lock* ]] || fail "Suggests: $(field Suggests)"

# The files: everything under /usr, laid out as an install with the prefix /usr.
dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}//; s|^\./|/|; s|/$||' >"$TEST_HOME/files"
while read -r path; do
    [[ "$path" == / || "$path" == /usr || "$path" == /usr/* ]] || fail "outside /usr: $path"
done <"$TEST_HOME/files"
for file in /usr/bin/brinewave3 /usr/bin/brinewave3-help /usr/lib/brinewave3/Brinewave3 \
            /usr/lib/brinewave3/Help/Help /usr/lib/brinewave3/brinewave3-decode \
            /usr/lib/brinewave3/brinewave3-artgen \
            /usr/lib/brinewave3/bubbles1.wav "/usr/lib/brinewave3/Water/cool waters.bmp" \
            /usr/libexec/xscreensaver/brinewave3 /usr/share/xscreensaver/config/brinewave3.xml \
            /usr/share/applications/brinewave3-settings.desktop \
            /usr/share/applications/brinewave3-help.desktop \
            /usr/share/applications/screensavers/brinewave3.desktop \
            /usr/share/icons/hicolor/256x256/apps/brinewave3.png \
            /usr/share/man/man6/brinewave3.6.gz /usr/share/man/man6/brinewave3-help.6.gz \
            /usr/share/metainfo/example.orvanta.Brinewave3.metainfo.xml \
            /usr/share/doc/brinewave3/copyright /usr/share/doc/brinewave3/changelog.gz; do
    grep -qxF "$file" "$TEST_HOME/files" || fail "not in the package: $file"
done

root=$TEST_HOME/root
dpkg-deb -x "$deb" "$root"
! grep -rlF "$build" "$root/usr/bin" "$root/usr/libexec" "$root/usr/share" ||
    fail "files name the build folder"
grep -q '^exec "/usr/lib/brinewave3/Brinewave3"' "$root/usr/bin/brinewave3" ||
    fail "the launcher does not start /usr/lib/brinewave3/Brinewave3"
grep -q "^Exec=/usr/bin/brinewave3 /c$" "$root/usr/share/applications/brinewave3-settings.desktop" ||
    fail "the settings entry does not start /usr/bin/brinewave3 /c"
[[ "$("$root/usr/lib/brinewave3/Brinewave3" --version)" == "Brinewave3 $version" ]] ||
    fail "the packaged program's --version is not $version"

# The validators.
for desktop in $(find "$root/usr/share/applications" -name '*.desktop'); do
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate $desktop: $out"
    # Hints are advice: the screensaver entry has no main category, as MATE's own have none.
    ! grep -v ': hint: ' <<<"$out" | grep -q . || fail "desktop-file-validate $desktop: $out"
done
out=$(appstreamcli validate --no-net "$root/usr/share/metainfo/"*.metainfo.xml 2>&1) ||
    fail "appstreamcli validate: $out"
for page in "$root"/usr/share/man/man6/*.6.gz; do
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [[ -z "$out" ]] || fail "man --warnings $(basename "$page"): $out"
done
lintian --no-tag-display-limit "$deb" >"$TEST_HOME/lintian" 2>&1 || true
! grep '^E:' "$TEST_HOME/lintian" || fail "lintian reports errors"
grep -q . "$TEST_HOME/lintian" && { echo "lintian:"; cat "$TEST_HOME/lintian"; }
echo "package: ok"
