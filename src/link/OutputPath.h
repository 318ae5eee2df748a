// Where an output of the tool really lands, and whether it may be written there.
//
// Symbolic links are followed, as a user expects, with one exception taken from the kernel's
// own protection of shared folders: a link that sits in a sticky, world-writable folder
// (/tmp) and belongs neither to the user nor to the folder's owner was planted by someone
// else and is not followed. The tool resolves links itself (to rename a temporary file over
// the real target), so it has to apply that rule itself.
//
// Only regular files are written: a directory, device, FIFO or socket is refused, and an
// append never waits on a FIFO while it checks.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>

namespace rtu {

struct OutputTarget {
    std::string path;      // the entry that is written, after following links
    bool exists = false;   // whether that entry exists
    struct stat st {};     // what it is (when it exists)
};

// Follows `path` to the entry that would be written. False with `reason` set when a link
// cannot be read, the chain is too long, or a link is one another user planted (see above).
bool ResolveOutputPath(const std::string& path, OutputTarget& target, std::string& reason);

// "a directory", "a FIFO", "a device", "a socket" …: what a non-regular entry is, for messages.
const char* FileKind(mode_t mode);

// Opens `path` for appending, creating it with `mode` (less the umask) when missing. Links
// are followed under ResolveOutputPath's rule; anything but a regular file is refused
// without blocking. The descriptor (blocking, close-on-exec), or -1 with `reason` set.
int OpenAppendFile(const std::string& path, mode_t mode, std::string& reason);

}  // namespace rtu
