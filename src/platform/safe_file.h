// Files the game reads and writes, opened so that nothing in a file's place
// can hang or redirect it. Readers get a file only when it is a regular
// file: a FIFO, device, socket or folder is refused without blocking (a
// link is followed, and refused unless it ends at a regular file). Writers
// put the bytes into a fresh temporary file beside the target, created
// exclusively so it never follows a link, and rename it into place: the
// target is written whole or not at all.
#pragma once

#include <cstddef>
#include <cstdio>

// A read-only, close-on-exec descriptor of path when it is a regular file,
// else -1. Never blocks on what it finds there.
int open_regular_file(const char* path);

// The same file as a binary stdio stream, or nullptr.
std::FILE* fopen_regular_file(const char* path);

// 1 when path is a regular file (links followed), without opening it.
int is_regular_file(const char* path);

enum WriteResult {
  WRITE_DONE = 0,
  WRITE_NOT_CREATED = 1,  // the temporary file could not be made
  WRITE_FAILED = 2        // writing or renaming it into place failed
};

// Writes size bytes to path through a temporary file "<path>.XXXXXX" in
// the same folder (mode 0644), renamed over path at the end. On failure
// the temporary file is removed and whatever was at path is left as it was.
// A link at path is replaced by the new regular file, never written through.
// An empty path is never written (WRITE_NOT_CREATED).
WriteResult write_file_whole(const char* path, const void* bytes, size_t size);
