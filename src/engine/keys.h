// Key codes and shift masks as the game's rules speak them (the codes of the
// Windows virtual keys); the window maps the toolkit's keys to these.
#pragma once

namespace plumix {

inline constexpr int VkEscape = 27;
inline constexpr int VkSpace = 32;
inline constexpr int VkLeft = 37;
inline constexpr int VkUp = 38;
inline constexpr int VkRight = 39;
inline constexpr int VkDown = 40;
inline constexpr int VkF1 = 112;
inline constexpr int VkF2 = 113;
inline constexpr int VkF3 = 114;
inline constexpr int VkF4 = 115;
inline constexpr int VkF5 = 116;
inline constexpr int VkF8 = 119;

inline constexpr int ShiftMaskShift = 1;
inline constexpr int ShiftMaskCtrl = 2;
inline constexpr int ShiftMaskAlt = 4;

} // namespace plumix
