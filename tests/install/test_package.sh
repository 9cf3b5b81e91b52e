#!/usr/bin/env bash
# `cpack -G DEB` makes fusegrid_VERSION_ARCH.deb holding exactly the
# listed files under /usr, in section games, depending on the Allegro 4.4
# runtime library.
#   test_package.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1 version=$3
. "$(dirname "$0")/lib.sh"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

(cd "$build" && cpack -G DEB -B "$tmp/out") > "$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; fail "cpack"; }
arch=$(dpkg --print-architecture)
deb=$tmp/out/fusegrid_${version}_$arch.deb
[ -f "$deb" ] || { ls -l "$tmp/out" >&2; fail "no $(basename "$deb")"; }

sed 's|^|usr/|' "$build/installed_files.txt" | LC_ALL=C sort > "$tmp/expected"
dpkg-deb -x "$deb" "$tmp/root"
tree_files "$tmp/root" > "$tmp/found"
same_list "$tmp/expected" "$tmp/found" "package"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = fusegrid ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
[ "$(field Section)" = games ] || fail "section $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
[ -n "$(field Description)" ] || fail "no description"
depends=$(field Depends)
echo "Depends: $depends"
echo "$depends" | grep -Eq '(^|, )liballegro4\.4( |,|$)' || fail "Depends does not name liballegro4.4"
echo "$depends" | grep -Eq '(^|, )libc6( |,|$)' || fail "Depends does not name libc6"

# The packaged binary is stripped, and the package holds no tools or tests.
file "$tmp/root/usr/bin/fusegrid" | grep -q ', stripped' || fail "usr/bin/fusegrid is not stripped"
echo "package $(basename "$deb") holds $(wc -l < "$tmp/found") files"
