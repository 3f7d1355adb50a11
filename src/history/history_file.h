#pragma once

#include <ctime>
#include <string>

// The history database's file as bytes on disk, before SQLite opens it.
namespace history_file {

// $XDG_STATE_HOME/Tarnwell/history.sqlite; ~/.local/state/Tarnwell/ when
// XDG_STATE_HOME is unset, empty or not an absolute path.
std::string DefaultPath();

// True when path holds something SQLite cannot use as a database: bytes
// that do not start with the SQLite header, or a file shorter than the
// pages its header counts (a truncated copy). A missing or empty file is
// not damaged: it becomes a new database.
bool LooksDamaged(const std::string& path);

// Moves path, with its write-ahead log, aside as
// "<path>.damaged-YYYYMMDD-HHMMSS" (local time of now; "-2", "-3"... when
// that name is taken) and removes its shared-memory index. Returns the
// file name the damaged file now has (without its folder), or "" when it
// could not be moved.
std::string MoveAside(const std::string& path, std::time_t now);

}  // namespace history_file
