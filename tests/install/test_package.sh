#!/usr/bin/env bash
# `cpack -G DEB` makes two packages holding exactly the listed files under
# /usr: fusegrid_VERSION_ARCH.deb (the game, in section games, depending on
# the Allegro 4.4 runtime library and on the data at its own version) and
# fusegrid-data_VERSION_all.deb. Where lintian is installed, neither
# package has an error or a warning (`lintian -I --pedantic`).
#   test_package.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1 version=$3
. "$(dirname "$0")/lib.sh"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

(cd "$build" && cpack -G DEB -B "$tmp/out") > "$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; fail "cpack"; }
arch=$(dpkg --print-architecture)
game=$tmp/out/fusegrid_${version}_$arch.deb
data=$tmp/out/fusegrid-data_${version}_all.deb
for deb in "$game" "$data"; do
  [ -f "$deb" ] || { ls -l "$tmp/out" >&2; fail "no $(basename "$deb")"; }
done
[ "$(find "$tmp/out" -maxdepth 1 -name '*.deb' | wc -l)" = 2 ] || { ls -l "$tmp/out" >&2; fail "not exactly two packages"; }

field() { dpkg-deb -f "$1" "$2"; }
for deb in "$game" "$data"; do
  name=$(basename "$deb" | cut -d_ -f1)
  sed 's|^|usr/|' "$build/installed_files-$name.txt" | LC_ALL=C sort > "$tmp/expected"
  rm -rf "$tmp/root"
  dpkg-deb -x "$deb" "$tmp/root"
  tree_files "$tmp/root" > "$tmp/found"
  same_list "$tmp/expected" "$tmp/found" "package $name"
  [ "$(field "$deb" Package)" = "$name" ] || fail "package name $(field "$deb" Package)"
  [ "$(field "$deb" Version)" = "$version" ] || fail "$name: version $(field "$deb" Version)"
  [ "$(field "$deb" Section)" = games ] || fail "$name: section $(field "$deb" Section)"
  [ -n "$(field "$deb" Maintainer)" ] || fail "$name: no maintainer"
  # The long description is wrapped within 80 columns.
  field "$deb" Description | awk -v n="$name" 'length($0) > 80 { print n ": description line over 80 columns: " $0; bad = 1 } END { exit bad }' >&2 ||
    fail "$name: description too wide"
  [ "$(field "$deb" Description | wc -l)" -ge 5 ] || fail "$name: description too short"
  echo "$name $(basename "$deb") holds $(wc -l < "$tmp/found") files"
done

[ "$(field "$data" Architecture)" = all ] || fail "fusegrid-data is not Architecture: all"
depends=$(field "$game" Depends)
echo "Depends: $depends"
echo "$depends" | grep -Eq '(^|, )liballegro4\.4( |,|$)' || fail "Depends does not name liballegro4.4"
echo "$depends" | grep -Eq '(^|, )libc6( |,|$)' || fail "Depends does not name libc6"
echo "$depends" | grep -Eq "(^|, )fusegrid-data \(= $version\)(,|$)" || fail "Depends does not name fusegrid-data (= $version)"

# The packaged binary is stripped of its symbols and compiler notes, and
# built with every hardening flag.
dpkg-deb -x "$game" "$tmp/game"
binary=$tmp/game/usr/games/fusegrid
# (Each listing is read whole first: grep -q would cut a pipe short.)
info=$(file "$binary")
case $info in *", stripped"*) ;; *) fail "usr/games/fusegrid is not stripped" ;; esac
sections=$(readelf -S -W "$binary")
if grep -Eq ' \.comment | \.note ' <<< "$sections"; then fail "usr/games/fusegrid keeps .comment or .note"; fi
grep -q 'BIND_NOW' <<< "$(readelf -d "$binary")" || fail "usr/games/fusegrid is not linked with -z now"
grep -q GNU_RELRO <<< "$(readelf -l -W "$binary")" || fail "usr/games/fusegrid has no RELRO"
grep -q '__[a-z_]*_chk@' <<< "$(readelf --dyn-syms -W "$binary")" || fail "usr/games/fusegrid uses no fortified functions"

if command -v lintian > /dev/null; then
  lintian --allow-root -I --pedantic "$game" "$data" > "$tmp/lintian.log" 2>&1 || true
  cat "$tmp/lintian.log"
  echo "lintian -I --pedantic: $(grep -c '^[EWIPX]: ' "$tmp/lintian.log" || true) tags on the two packages"
  if grep -E '^(E|W): ' "$tmp/lintian.log"; then fail "lintian reports errors or warnings"; fi
  # Every tag left is one the README's packaging section explains.
  readme=$(dirname "$0")/../../README.md
  for tag in $(sed -n 's/^[IPX]: [^:]*: \([a-z0-9-]*\).*/\1/p' "$tmp/lintian.log" | sort -u); do
    grep -q -- "\`$tag\`" "$readme" || fail "lintian tag $tag is not explained in README.md"
  done
else
  echo "lintian is not installed: the packages were not checked with it"
fi
