#pragma once
#include <string>
#include <string_view>

// Turns a name written the catalogue's way ("data\MWFreq.dat", "Images/x.gif",
// mixed letter case) into a real path. "\" and "/" both separate folders; a
// name that exists as written is used as written; otherwise every component
// that does not exist is matched without regard to letter case against its
// folder's entries (the first in byte order when several match). A name that
// still does not resolve comes back with "/" separators. On Windows every
// name comes back as Windows users write it: "\" separators, no doubled one.
std::string ResolvePath(const std::string& name);

// Whether the name resolves to an existing regular file (a folder does not count).
bool FileExists(const std::string& name);

// The extension after the last dot of the file's own name ("" when none).
std::string FileExtension(const std::string& name);

// Whether a file name taken from a catalogue cell stays inside the folder it
// is joined to: not absolute ("/x", "\x", "C:x"), no ".." component.
bool StaysInFolder(std::string_view name);
