#pragma once
// Rewriting a working file where it stands: a file the program rebuilds
// before each time it reads it, under the working folder's lock. The same
// file gets the new bytes and its length is cut to them: no new file, no
// rename, so a long run of builds costs on disk what it costs in memory,
// where replacing the file each time makes the file system write each
// replacement out. Safe only while the lock is held (no other copy reads
// half a file) and only for a regular file of ours with one name (a
// planted link is never written through).
#include <string>
#include <string_view>

// Rewrites the file at `path` (a real path) with `bytes` and true; false,
// touching nothing, when it is not such a file (missing among them): then
// replace it whole instead. Raises EKavError "Cannot write file ..." when a
// write fails part way.
bool RewriteInPlace(const std::string& path, std::string_view bytes);
