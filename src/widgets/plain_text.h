// Texts from files on Qt's controls exactly as they are written: a language
// file's "<b>" or "&" is a character, never markup or a keyboard shortcut.
#pragma once

#include <QString>

#include <string_view>

namespace plumix {

QString FromUtf8(std::string_view text);

// For the captions of check boxes, option buttons, frames and push buttons,
// which read a single '&' as the mark of a shortcut and hide it.
QString LiteralCaption(std::string_view text);

// A tooltip shown as typed: Qt takes a tooltip for rich text when it looks
// like markup.
QString PlainTooltip(std::string_view text);

} // namespace plumix
