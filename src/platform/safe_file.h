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

// Removes the temporary files write_file_whole leaves behind when the
// process ends between making one and renaming it: in folder ("" for the
// current folder), every regular file named "<name>.XXXXXX" for one of the
// count names, XXXXXX being six letters or digits. Links, folders and
// anything else of such a name stay, and no link is followed. Returns the
// number of files removed.
int remove_stale_temp_files(const char* folder, const char* const* names, int count);

// An exclusive lock (flock) on a folder, taken by every game that reads a
// file of the folder to write it back, so that two games never interleave
// their read and write. Waits for it at most wait_ms milliseconds; -1 when
// it could not be had, else a descriptor for release_folder_lock.
int lock_folder(const char* folder, int wait_ms);
void release_folder_lock(int fd);
