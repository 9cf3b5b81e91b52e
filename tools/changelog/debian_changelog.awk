# Writes the game's CHANGELOG.md as a Debian changelog (the changelog of a
# package that is its own upstream), newest entry first, lines within 80
# columns.
#
#   awk -v package=fusegrid -v version=1.0 -v maintainer="Name <address>" \
#       -v release_date=2026-12-10 -f debian_changelog.awk CHANGELOG.md
#
# A section "## Unreleased" becomes an entry of the project's version for
# the distribution UNRELEASED, dated release_date; a section
# "## VERSION (YYYY-MM-DD)" an entry of that version for unstable. Each
# "- " item (with its indented continuation lines) becomes a "*" line;
# everything else is left out.

function rfc_date(day,    command, result) {
  command = "LC_ALL=C date -u -R -d '" day " 12:00'"
  if ((command | getline result) <= 0 || day !~ /^[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$/) {
    print "debian_changelog: not a date: " day > "/dev/stderr"
    failed = 1
    exit 1
  }
  close(command)
  return result
}

function flush_item(    n, words, i, line) {
  if (item == "") return
  n = split(item, words, /[ \t]+/)
  line = "  *"
  for (i = 1; i <= n; i++) {
    if (words[i] == "") continue
    if (length(line) + 1 + length(words[i]) > 78 && line != "  *" && line != "   ") {
      print line
      line = "   "
    }
    line = line " " words[i]
  }
  print line
  item = ""
}

function close_entry() {
  flush_item()
  if (!open_entry) return
  print ""
  print " -- " maintainer "  " entry_date
  open_entry = 0
}

function open_new_entry(entry_version, distribution, day) {
  close_entry()
  if (entries > 0) print ""
  if (entry_version in seen) {
    print "debian_changelog: version " entry_version " twice" > "/dev/stderr"
    failed = 1
    exit 1
  }
  seen[entry_version] = 1
  print package " (" entry_version ") " distribution "; urgency=medium"
  print ""
  entry_date = rfc_date(day)
  open_entry = 1
  entries++
}

/^## / {
  heading = substr($0, 4)
  if (heading == "Unreleased") {
    open_new_entry(version, "UNRELEASED", release_date)
  } else if (match(heading, /^[0-9][^ ]* \([0-9-]+\)$/)) {
    split(heading, parts, / \(|\)/)
    open_new_entry(parts[1], "unstable", parts[2])
  } else {
    print "debian_changelog: a section heading is not \"Unreleased\" or \"VERSION (YYYY-MM-DD)\": " heading > "/dev/stderr"
    failed = 1
    exit 1
  }
  next
}

open_entry && /^- / { flush_item(); item = substr($0, 3); next }
open_entry && item != "" && /^[ \t]+[^ \t]/ { item = item " " $0; next }
{ flush_item() }

END {
  if (failed) exit 1
  close_entry()
  if (entries == 0) {
    print "debian_changelog: no section" > "/dev/stderr"
    exit 1
  }
}
