#!/usr/bin/env bash
# `cmake --install` into a temporary prefix puts exactly the listed files
# there, the datafiles as the build made them, and the desktop entry,
# metainfo, icons and manual page pass their validators.
#   test_install.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1 app_id=$2 version=$3
. "$(dirname "$0")/lib.sh"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix

cmake --install "$build" --prefix "$prefix" > "$tmp/install.log" || { cat "$tmp/install.log"; fail "cmake --install"; }

LC_ALL=C sort "$build/installed_files.txt" > "$tmp/expected"
tree_files "$prefix" > "$tmp/found"
same_list "$tmp/expected" "$tmp/found" "installed tree"
grep -q '^share/fusegrid/fgridgx.dat$' "$tmp/expected" || fail "the list lacks the main datafile"
grep -q '^share/fusegrid/fgboards.dat$' "$tmp/expected" || fail "the list lacks the first style"
grep -q '^share/fusegrid/Colors/.*\.FCL$' "$tmp/expected" || fail "the list lacks the palettes"

bindir=$(grep -m1 '/fusegrid$' "$tmp/expected" | grep -v '^share/' || true)
[ -n "$bindir" ] && [ -x "$prefix/$bindir" ] || fail "the installed binary '$bindir' is not executable"
# Each package's licence and changelog: the project's copyright file, and
# CHANGELOG.md as a Debian changelog whose newest entry is this version,
# every item of CHANGELOG.md in it, compressed without a name or time stamp.
source=$(dirname "$0")/../..
for doc in "$prefix"/share/doc/fusegrid "$prefix"/share/doc/fusegrid-data; do
  cmp -s "$source/dist/copyright" "$doc/copyright" || fail "$doc/copyright differs from dist/copyright"
  [ "$(od -An -tx1 -j4 -N4 "$doc/changelog.gz" | tr -d ' ')" = 00000000 ] || fail "$doc/changelog.gz keeps a time stamp"
  zcat "$doc/changelog.gz" > "$tmp/changelog" || fail "$doc/changelog.gz is not gzipped"
  [ "$(dpkg-parsechangelog -l "$tmp/changelog" -S Version)" = "$version" ] || fail "the changelog's newest entry is not $version"
  [ "$(dpkg-parsechangelog -l "$tmp/changelog" -S Source)" = fusegrid ] || fail "the changelog is not fusegrid's"
  [ -z "$(awk '!/^ -- / && length > 80' "$tmp/changelog")" ] || fail "a changelog line is over 80 columns"
  items=$(grep -c '^- ' "$source/CHANGELOG.md")
  [ "$(grep -c '^  \* ' "$tmp/changelog")" = "$items" ] || fail "the changelog does not have the $items items of CHANGELOG.md"
done
# The data are the game folder's own files.
while read -r rel; do
  case $rel in
    share/fusegrid/*) cmp -s "$build/game/${rel#share/fusegrid/}" "$prefix/$rel" || fail "$rel differs from the build's" ;;
  esac
done < "$tmp/expected"

desktop=$prefix/share/applications/fusegrid.desktop
desktop-file-validate "$desktop" > "$tmp/desktop.log" 2>&1 || { cat "$tmp/desktop.log"; fail "desktop-file-validate"; }
[ ! -s "$tmp/desktop.log" ] || { cat "$tmp/desktop.log"; fail "desktop-file-validate had something to say"; }
for line in 'Name=Fusegrid' 'Exec=fusegrid' 'Icon=fusegrid' 'Terminal=false' 'Type=Application' 'Categories=Game;LogicGame;' 'StartupWMClass=Fusegrid'; do
  grep -qx "$line" "$desktop" || fail "the desktop entry lacks $line"
done
grep -q '^Comment=.' "$desktop" || fail "the desktop entry has no comment"
grep -q '^Keywords=.' "$desktop" || fail "the desktop entry has no keywords"

metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
appstreamcli validate --pedantic --no-net "$metainfo" > "$tmp/metainfo.log" 2>&1 || { cat "$tmp/metainfo.log"; fail "appstreamcli validate"; }
cat "$tmp/metainfo.log"
if grep -E '^(E|W):' "$tmp/metainfo.log"; then fail "appstreamcli reports errors or warnings"; fi
grep -q '<launchable type="desktop-id">fusegrid.desktop</launchable>' "$metainfo" || fail "metainfo does not launch the desktop entry"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo does not name release $version"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "metainfo does not say MIT"
grep -q '<content_attribute id="violence-cartoon">' "$metainfo" || fail "metainfo has no content rating"

for size in 16 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/fusegrid.png
  got=$(identify -format '%m %w %h %A' "$png") || fail "identify $png"
  case $got in
    "PNG $size $size Blend" | "PNG $size $size True") ;;
    *) fail "${size}x$size icon is '$got', not a ${size}x$size PNG with alpha" ;;
  esac
  # Transparent corners, an opaque middle.
  corner=$(convert "$png" -format '%[fx:int(255*p{0,0}.a)]' info:)
  middle=$(convert "$png" -format "%[fx:int(255*p{$((size / 2)),$((size / 2))}.a)]" info:)
  [ "$corner" = 0 ] && [ "$middle" = 255 ] || fail "${size}x$size icon: corner alpha $corner, middle alpha $middle"
done

# The scalable icon is the generator's SVG.
svg=$prefix/share/icons/hicolor/scalable/apps/fusegrid.svg
cmp -s "$svg" "$build/icons/scalable/apps/fusegrid.svg" || fail "the scalable icon is not the generator's"
head -c 200 "$svg" | grep -q '<svg xmlns="http://www.w3.org/2000/svg"' || fail "the scalable icon is not an SVG"

man=$tmp/fusegrid.6
zcat "$prefix/share/man/man6/fusegrid.6.gz" > "$man" || fail "the manual page is not gzipped"
LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$man" > "$tmp/groff.log" 2>&1 || { cat "$tmp/groff.log"; fail "groff"; }
[ ! -s "$tmp/groff.log" ] || { cat "$tmp/groff.log"; fail "groff warns about the manual page"; }
LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$man" 2> "$tmp/man.log" > "$tmp/man.txt" || fail "man -l"
[ ! -s "$tmp/man.log" ] || { cat "$tmp/man.log"; fail "man -l warns"; }
for word in '--game' '--describe' '--first-cell' 'EXIT STATUS' 'XDG_DATA_HOME' 'F1' "$prefix/share/fusegrid/"; do
  grep -qF -- "$word" "$tmp/man.txt" || fail "the manual page lacks $word"
done
if grep -n '@[A-Z_]*@' "$man" "$metainfo" "$desktop"; then fail "a placeholder was left unfilled"; fi
echo "installed and checked $(wc -l < "$tmp/expected") files"
