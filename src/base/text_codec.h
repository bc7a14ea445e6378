// Text at the file boundary: inside the program text is UTF-8; record files
// are Windows-1251, language and skin files either UTF-8 or Windows-1251.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace plumix {

// Every byte maps to one character, so any file decodes; 0x98, which the code
// page leaves unassigned, becomes U+0098 and is encoded back to 0x98.
std::string Cp1251ToUtf8(std::string_view bytes);

// A Latin letter with an accent the code page lacks becomes its plain letter
// ("ä" "a", "ł" "l", "ß" "ss"), so a name stays readable after a restart; a
// combining accent is dropped. Any other character the code page cannot hold,
// and each byte of a broken UTF-8 sequence, becomes '?'.
std::string Utf8ToCp1251(std::string_view text);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// A language or skin file as UTF-8. A file that is valid UTF-8 as a whole (a
// leading byte order mark is dropped) is taken as it is; anything else was
// written in Windows-1251. A file that starts with a byte order mark but has
// broken sequences later is still UTF-8, with U+FFFD for each bad byte.
std::string DecodeTextFile(std::string_view bytes);

// Lines of a text one at a time, without copying. A line ends at LF; a CR
// right before that LF (or at the very end of the text) belongs to the line
// end. Any other CR stays in the line: files from Windows never hold one, and
// keeping it loses nothing. An empty text has no lines; a final line without
// a line end counts.
class LineReader {
public:
    explicit LineReader(std::string_view text) : rest_(text) {}
    bool AtEnd() const { return rest_.empty(); }
    std::optional<std::string_view> Next();

private:
    std::string_view rest_;
};

} // namespace plumix
