// Where the game finds its datafiles and keeps the player's files.
//
// Two folders are decided once at start, before the settings are read:
// the data folder (the main datafiles, the shipped style files and the
// shipped palettes in "Colors") and the user folder (the two settings
// files, the player's own palettes in "Colors" and style files dropped
// there by the player).
//
// - Portable: when the folder of the running binary holds "fgridgx.dat",
//   both folders are that folder.
// - Installed: otherwise the data folder is "<binary folder>/../share/fusegrid"
//   and the user folder "$XDG_DATA_HOME/fusegrid" when XDG_DATA_HOME is an
//   absolute path, else "$HOME/.local/share/fusegrid" (HOME absolute too).
//   The user folder is made at start (missing parents 0755, itself 0700).
//
// Until init_game_paths or set_game_folders runs, both folders are empty:
// every name then stands for a file in the current folder, as in the tests.
#pragma once

#include <string>

enum GameFolderMode { FOLDERS_CURRENT = 0, FOLDERS_PORTABLE = 1, FOLDERS_INSTALLED = 2 };

struct GameFolders {
  GameFolderMode mode = FOLDERS_CURRENT;
  std::string data;  // absolute, or empty for the current folder
  std::string user;  // absolute; empty when there is none (HOME unset)
};

extern const char* const USER_FOLDER_NAME;  // "fusegrid"

// The decision alone, from the binary's absolute path and the values of
// HOME and XDG_DATA_HOME (each may be null); touches nothing but a look
// for "fgridgx.dat" beside the binary.
GameFolders decide_game_folders(const char* binary_path, const char* home, const char* xdg_data_home);

// Makes the user folder and its missing parents and checks that files can
// be made in it. 1 when it can be used; else 0 with the reason (an errno
// value) in *error.
int prepare_user_folder(const std::string& folder, int* error);

// Sets the two folders (no check, nothing made).
void set_game_folders(const GameFolders& folders);
const GameFolders& game_folders();

// Start-up: the binary's path from /proc/self/exe (else from argv0 when it
// holds a '/'), HOME and XDG_DATA_HOME from the environment. Decides,
// makes the user folder, and when that folder cannot be used prints one
// line on stderr: the settings then live for this session only (their
// writes fail as they would in a read-only folder). Without a binary path
// the folders stay empty. 1 when the user folder can be used.
int init_game_paths(const char* argv0);

const char* data_folder();
const char* user_folder();

// A file of the data folder, or of the user folder: "<folder>/<name>", or
// name itself while the folder is empty. user_path is "" when there is no
// user folder at all, so nothing is read or written in its name.
std::string data_path(const char* name);
std::string user_path(const char* name);

// A name that stands for a file directly in a folder: not empty, not "."
// or "..", printable ASCII without '/' or a space (a name read from a file
// must pass this before it is looked for in the game folders).
bool is_plain_file_name(const std::string& name);

// A file a player may add: the user folder's when anything of that name is
// there, else the data folder's. A name holding a '/' is a path already and
// stays as it is.
std::string find_game_file(const char* name);

// The lock every game takes on the user folder while it reads one of the
// player's files to write it back (platform/safe_file.h, lock_folder), for
// the length of a scope. held() is false when it could not be had within
// user_folder_lock_wait_ms milliseconds (2000; tests shorten it), or when
// there is no user folder.
extern int user_folder_lock_wait_ms;
class UserFolderLock {
 public:
  UserFolderLock();
  ~UserFolderLock();
  UserFolderLock(const UserFolderLock&) = delete;
  UserFolderLock& operator=(const UserFolderLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_;
};

// Start-up: under the lock, the temporary files of the player's files
// (each name's "<name>.XXXXXX", see remove_stale_temp_files) that a game
// ended part way through a write left in the user folder are removed.
// Returns how many were.
int remove_stale_user_temp_files(const char* const* names, int count);
