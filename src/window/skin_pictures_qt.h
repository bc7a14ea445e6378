// The chosen skin on the main window: its colours into the settings (when
// the player takes the skin's colours) and its fourteen pictures, each with
// its doubled version when a screen scales.
#pragma once

#include "session/app_state.h"

#include <array>

namespace plumix {

class MainWindow;

// Where each of a skin's pictures goes in the main window.
enum class PictureHolder { Background, Block, CloseButton, MinimizeButton, MenuButtons };
struct SkinPicture {
    PictureHolder holder;
    int blockIndex = 0;  // Block(index) for PictureHolder::Block
};
// By the order of SkinPictureFiles.
inline constexpr std::array<SkinPicture, 14> SkinPictures = {{
    {PictureHolder::Background},
    {PictureHolder::Block, 1}, {PictureHolder::Block, 2}, {PictureHolder::Block, 3}, {PictureHolder::Block, 4},
    {PictureHolder::Block, 5}, {PictureHolder::Block, 6}, {PictureHolder::Block, 7},
    {PictureHolder::Block, 8},   // the brick
    {PictureHolder::Block, 9},   // the row-clear flash
    {PictureHolder::Block, 10},  // the grid
    {PictureHolder::CloseButton}, {PictureHolder::MinimizeButton}, {PictureHolder::MenuButtons},
}};

// Whatever the skin lacks keeps what the window showed before.
void LoadSkin(MainWindow& window, AppState& app);

} // namespace plumix
