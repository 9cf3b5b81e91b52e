# Helpers of the install tests.
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The files of the tree under $1, relative to it, sorted.
tree_files() {
  (cd "$1" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
}

# Fails unless the sorted lines of files $1 and $2 are the same; $3 names them.
same_list() {
  if ! diff -u "$1" "$2" >&2; then fail "$3: the files differ from the list (- expected, + found)"; fi
}
