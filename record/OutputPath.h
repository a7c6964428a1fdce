#pragma once
// Where a recording goes, checked before the first frame is drawn, so that a
// path that cannot take the result fails at once instead of after a whole
// recording.
//
// A path that names a symbolic link is written through to the file the link
// names (the link stays a link), as other tools that write files do. A path
// that names a folder (or ends in '/'), an existing file that is not a
// regular file (a device, a FIFO, a socket: replacing /dev/null with a video
// is not what anyone wants, and writing a video into one is not a video),
// or a name longer than the file system takes is refused. Whether the
// folder can be written is found by creating the temporary file
// (PartialFile).
//
// Pure functions of the file system; any thread.
#include <optional>
#include <string>

// The longest file name (one path component) the recorder makes: what
// Linux file systems take.
constexpr std::size_t maxFileNameBytes = 255;

// The path the output is written to: `path` with symbolic links followed.
// Returns nullopt with `error` set (one line naming the path) when the
// output cannot go there.
std::optional<std::string> resolveOutputPath(const std::string& path, std::string& error);

// The contact sheet that goes with a video: the video's path without a
// trailing ".mp4", followed by "-contact.png". When that name would be too
// long, the part taken from the video's name is shortened (at a character
// boundary) so that it fits.
std::string contactSheetPath(const std::string& videoPath);
