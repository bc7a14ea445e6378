// The few file operations the game's readers and writers share: a bounded
// read, the create-if-missing test of writability, and a replacement of a
// file's content that never leaves it half written.
#pragma once

#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace plumix {

// No file the game reads is anywhere near this; a bigger one is read only up to
// here, so a damaged or hostile file cannot make a reader grow without bound.
inline constexpr std::size_t MaxFileBytes = 16 * 1024 * 1024;

// The first `limit` bytes of a regular file, or nullopt when it is missing,
// cannot be read or is not a regular file (a pipe or a device would block or
// never end).
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path,
                                         std::size_t limit = MaxFileBytes);

// Opens the file for appending and closes it again: a missing file is created
// empty, an existing one is left untouched. False when it cannot be opened for
// writing (read-only file or folder, a folder of that name, a missing folder).
bool EnsureWritableFile(const std::filesystem::path& path);

// True only when nothing is at `path` (a link to nothing counts as nothing):
// a file that exists but cannot be read is not missing.
bool FileIsMissing(const std::filesystem::path& path);

// Puts `bytes` in place of the file's content: written to a temporary file in
// the same folder, flushed to the disk and renamed over the target, so a crash
// or a full disk leaves either the old or the new content. A symbolic link is
// followed and an existing file keeps its permissions; a new one gets what the
// umask leaves of 0666, like every file the game creates. False, with the target
// unchanged, when the target exists but may not be written, when its folder
// takes no new file, or when any step fails: a file is never rewritten in place,
// where a full disk would leave it cut short.
bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);

// Whether ReplaceFileContents could replace the file now: it is missing or a
// writable regular file, and its folder (the link's target's) takes new files.
bool CanReplaceFile(const std::filesystem::path& path);

// Removes what a replacement killed half-way left in `folder` beside one of
// `names`: its temporary files older than `minimumAgeSeconds`, so that another
// game's save under way is never touched.
void RemoveLeftTemporaries(const std::filesystem::path& folder, std::initializer_list<std::string_view> names,
                           int minimumAgeSeconds = 60);

} // namespace plumix
