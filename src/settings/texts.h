// The table of user-interface texts, addressed by number: 100s main window,
// 200s hi-scores, 300s record entry, 400s About box, 500s splash, 600s level
// mode, 700s settings dialog. An empty slot has no text.
#pragma once

#include <array>
#include <string>

namespace plumix {

inline constexpr int TextCount = 1000;
using TextTable = std::array<std::string, TextCount>;

// Gives every built-in text number whose slot is empty its English text;
// filled slots are left alone, so a language file's texts win.
void FillDefaultTexts(TextTable& texts);

// The text of `number`, or "" for a number outside 0..999.
const std::string& TextOf(const TextTable& texts, int number);

} // namespace plumix
