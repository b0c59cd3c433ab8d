#pragma once

#include <string>

// Replaces the file at `path` with `contents` so that a crash, a kill or a power cut at any
// moment leaves either the old file or the new one, never a mixture or an empty file: the
// text goes to path + ".tmp" beside it, is flushed to the disk, and is then renamed over
// the old file. Returns false, with one error line naming the file and the cause, when any
// step fails; the old file is then untouched and the temporary file removed.
//
// A `path` that is a symbolic link is followed: the file it leads to is replaced and the
// link stays. The new file keeps the old one's permissions. A file without write
// permission is left alone and reported. When the folder does not let the temporary file
// be made but the file itself is writable, the file is rewritten in place, with a warning
// line, since that save is not safe from a crash mid-write.
bool replaceFileAtomically(const std::string& path, const std::string& contents);
