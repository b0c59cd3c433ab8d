#pragma once
// The one reading policy of the files the game keeps beside the save (records, settings):
// line by line, a bad line skipped with one message naming the file and the line, and a file
// that cannot be read at all moved aside, kept under a new name and never overwritten, so the
// player's data survives for a look by hand while the game starts afresh.
//
// Writing goes through replaceFileAtomically, as the save does.

#include <functional>
#include <string>

enum class SideFileStatus {
    Missing,     // no file: the normal first start, not reported
    Read,        // every line read
    Skipped,     // read, but some lines were bad and skipped; the caller writes the good ones back
    KeptAside,   // unreadable as a whole (no header, binary, too big, an I/O error): moved aside
};

struct SideFileResult {
    SideFileStatus status = SideFileStatus::Missing;
    int skipped = 0;         // bad lines
    std::string asidePath;   // where an unreadable file went (empty when it could not be moved)
};

// Largest file read; anything bigger is not one of ours.
inline constexpr long SIDE_FILE_MAX_BYTES = 4L * 1024 * 1024;

// Returns an empty string for a good line, else what is wrong with it ("bad number 'x'").
using SideFileLine = std::function<std::string(const std::string& line, int number)>;

// Reads `path`, whose first line must be exactly `header`; each later line that is not blank
// goes to `parse` with its 1-based line number (line breaks and a trailing '\r' removed). A
// bad line gives "<what>: [path] line N: <problem>, skipped". `what` names the file for the
// player ("records", "settings").
SideFileResult readSideFile(const std::string& what, const std::string& path, const std::string& header,
                            const SideFileLine& parse);

// Moves the file at `path` aside to the first free name of path + ".damaged", ".damaged-2",
// ...; returns the new name, or an empty string (with a message) when it could not be moved.
std::string keepFileAside(const std::string& what, const std::string& path);
