#!/usr/bin/env bash
# The install and the .deb, as a user gets them: the installed programs find
# their content from wherever they are run, and the package passes lintian,
# desktop-file-validate and appstreamcli.
# usage: tools/package/package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
work=$build/package-test
elsewhere=$(mktemp -d)
trap 'rm -rf "$elsewhere"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
unset INKBLOT_DATA
rm -rf "$work"
mkdir -p "$work"

# A knock-out from the README's fight: rook punches until quill falls.
knockout() {  # SIM: runs it from outside the source tree with no --data
  (cd "$elsewhere" && "$1" --script "$source/docs/screenshots.script" --passes 1500 --trace ko.jsonl) \
    || fail "$1 did not play the fight"
  # The game closes by itself after a knock-out, before the passes run out.
  (($(wc -l < "$elsewhere/ko.jsonl") < 1500)) || fail "$1: the fight did not end"
  tail -n 1 "$elsewhere/ko.jsonl" | grep -q '"move":"quill-knockout"' || fail "$1: quill was not knocked out"
}

echo "== cmake --install into a DESTDIR"
DESTDIR=$work/destdir cmake --install "$build" --prefix /usr >/dev/null
installed=$work/destdir/usr
knockout "$installed/games/inkblot-sim"

echo "== INKBLOT_DATA names a copy with one broken file"
cp -r "$installed/share/games/inkblot-fighter" "$elsewhere/broken"
echo desert.background > "$elsewhere/broken/desert.level"
status=0
(cd "$elsewhere" && INKBLOT_DATA=$elsewhere/broken "$installed/games/inkblot-sim" --passes 5) \
  2>"$elsewhere/broken.err" || status=$?
[[ $status == 1 ]] || fail "a broken level gave status $status"
grep -q 'Level walls not readable <desert.level>' "$elsewhere/broken.err" \
  || fail "the message does not name desert.level: $(cat "$elsewhere/broken.err")"

echo "== the package"
cpack --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$work/deb/inkblot-fighter_${version}_amd64.deb
[[ -f $deb ]] || fail "no $deb"
[[ $(dpkg-deb -f "$deb" Section) == games ]] || fail "the package is not in section games"
dpkg-deb -f "$deb" Depends | grep -q 'libsdl2-2.0-0' || fail "dpkg-shlibdeps found no SDL"
dpkg-deb -x "$deb" "$elsewhere/unpacked"
unpacked=$elsewhere/unpacked/usr
knockout "$unpacked/games/inkblot-sim"
# A new version is named in the changelog and the metainfo too.
zcat "$unpacked/share/doc/inkblot-fighter/changelog.gz" | sed -n 1p | grep -qF "($version)" \
  || fail "the changelog's last entry is not version $version"
grep -qF "<release version=\"$version\"" "$unpacked/share/metainfo/inkblot-fighter.metainfo.xml" \
  || fail "the metainfo has no release $version"
for size in 48 128 256; do
  [[ $(identify -format '%wx%h' "$unpacked/share/icons/hicolor/${size}x$size/apps/inkblot-fighter.png") \
     == "${size}x$size" ]] || fail "the ${size}x$size icon is another size"
done

echo "== lintian, desktop-file-validate, appstreamcli"
lintian --display-info --fail-on error,warning "$deb" || fail "lintian: errors or warnings"
desktop-file-validate "$unpacked/share/applications/inkblot-fighter.desktop"
appstreamcli validate --no-net "$unpacked/share/metainfo/inkblot-fighter.metainfo.xml"
echo "package test passed: $deb ($(stat -c %s "$deb") bytes)"
