// The painted face of the main window: the skin's background with the board
// and the preview on it, drawn from the cell model (palette indices) with
// pictures decoded once. A changed cell repaints only its own 32 x 32 square.
// On a scaled screen every cell's edges fall on whole device pixels and its
// picture is made for that size once, so cells meet without a seam.
#pragma once

#include "engine/board.h"
#include "engine/palette.h"
#include "engine/ports.h"
#include "widgets/sharp_picture_qt.h"

#include <QPixmap>
#include <QWidget>

#include <array>
#include <vector>

namespace plumix {

inline constexpr int CellPixels = 32;
inline constexpr QPoint BoardOrigin{32, 32};
inline constexpr QPoint PreviewOrigin{400, 64};

class BoardWidget : public QWidget, public CellPainter {
    Q_OBJECT
public:
    explicit BoardWidget(QWidget* parent = nullptr);

    void PaintBoardCell(int index, int palette) override;
    void PaintPreviewCell(int index, int palette) override;

    // Block(i); a null picture shows the background through the cell. A
    // cell shows the top left 32 x 32 of its picture.
    void SetPalettePicture(int index, const SharpPicture& picture);
    const QPixmap& PalettePicture(int index) const;
    void SetBackground(const SharpPicture& picture);

    int BoardCell(int index) const { return board_.at(static_cast<std::size_t>(index)); }
    int PreviewCell(int index) const { return preview_.at(static_cast<std::size_t>(index)); }
    static QRect BoardCellRect(int index);
    static QRect PreviewCellRect(int index);
    // True over a board or preview cell (where dragging must not move the window).
    static bool IsOverCells(QPoint p);

signals:
    void MouseMovedOverBoard();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ShowAtRatio(qreal ratio);
    const QPixmap& ShownCell(int palette, QSize devicePixels);
    void PaintCell(QPainter& painter, const QRect& rect, int palette);
    template <std::size_t N>
    void Store(std::array<int, N>& cells, int index, int palette, QRect rect);

    SharpPicture background_;
    std::array<SharpPicture, PaletteSize> palette_;
    // What the pictures are on the screen the widget is on, made when first
    // painted at its ratio. Where 32 window pixels are not a whole number of
    // device pixels, cells differ by one pixel in width or height: each
    // palette entry keeps one picture per size.
    qreal ratio_ = 0;
    QPixmap shownBackground_;
    std::array<std::vector<QPixmap>, PaletteSize> shownCells_;
    std::array<int, BoardCellCount> board_{};
    std::array<int, PreviewCellCount> preview_{};
    // A left press on the background drags the borderless window.
    bool dragArmed_ = false;
    bool draggingByHand_ = false;
    QPoint pressOffset_;
};

} // namespace plumix
