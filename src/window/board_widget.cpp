#include "window/board_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

namespace plumix {

namespace {

constexpr QRect BoardArea{BoardOrigin, QSize(BoardColumns * CellPixels, BoardRows * CellPixels)};
constexpr QRect PreviewArea{PreviewOrigin, QSize(4 * CellPixels, 4 * CellPixels)};
constexpr QSize CellSize(CellPixels, CellPixels);

} // namespace

BoardWidget::BoardWidget(QWidget* parent) : QWidget(parent)
{
    // Everything is painted here, background included.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

QRect BoardWidget::BoardCellRect(int index)
{
    return {BoardOrigin.x() + (index % BoardColumns) * CellPixels,
            BoardOrigin.y() + (index / BoardColumns) * CellPixels, CellPixels, CellPixels};
}

QRect BoardWidget::PreviewCellRect(int index)
{
    return {PreviewOrigin.x() + (index % 4) * CellPixels, PreviewOrigin.y() + (index / 4) * CellPixels,
            CellPixels, CellPixels};
}

bool BoardWidget::IsOverCells(QPoint p)
{
    return BoardArea.contains(p) || PreviewArea.contains(p);
}

template <std::size_t N>
void BoardWidget::Store(std::array<int, N>& cells, int index, int palette, QRect rect)
{
    if (index < 0 || index >= static_cast<int>(N)) {
        return;
    }
    int& cell = cells[static_cast<std::size_t>(index)];
    if (cell != palette) {
        cell = palette;
        update(rect);  // only this cell's square is painted again
    }
}

void BoardWidget::PaintBoardCell(int index, int palette)
{
    Store(board_, index, palette, BoardCellRect(index));
}

void BoardWidget::PaintPreviewCell(int index, int palette)
{
    Store(preview_, index, palette, PreviewCellRect(index));
}

void BoardWidget::SetPalettePicture(int index, const SharpPicture& picture)
{
    if (index < 0 || index >= PaletteSize) {
        return;
    }
    palette_[static_cast<std::size_t>(index)] = picture.Cropped(CellSize);
    shownCells_[static_cast<std::size_t>(index)].clear();
    update();
}

const QPixmap& BoardWidget::PalettePicture(int index) const
{
    return palette_.at(static_cast<std::size_t>(index)).Normal();
}

void BoardWidget::SetBackground(const SharpPicture& picture)
{
    background_ = picture;
    shownBackground_ = QPixmap();
    update();
}

void BoardWidget::resizeEvent(QResizeEvent*)
{
    shownBackground_ = QPixmap();  // it holds only what the widget covers
}

void BoardWidget::ShowAtRatio(qreal ratio)
{
    if (ratio == ratio_) {
        return;
    }
    ratio_ = ratio;
    shownBackground_ = QPixmap();
    for (auto& shown : shownCells_) {
        shown.clear();
    }
}

const QPixmap& BoardWidget::ShownCell(int palette, QSize devicePixels)
{
    static const QPixmap none;
    const SharpPicture& picture = palette_[static_cast<std::size_t>(palette)];
    if (picture.IsNull()) {
        return none;
    }
    std::vector<QPixmap>& shown = shownCells_[static_cast<std::size_t>(palette)];
    for (const QPixmap& made : shown) {
        if (made.size() == devicePixels) {
            return made;
        }
    }
    // Cells come in at most two widths and two heights at one ratio.
    if (shown.size() >= 4) {
        shown.clear();
    }
    shown.push_back(picture.Sized(devicePixels, ratio_));
    return shown.back();
}

void BoardWidget::PaintCell(QPainter& painter, const QRect& rect, int palette)
{
    if (palette < 0 || palette >= PaletteSize) {
        return;
    }
    const QSize size = palette_[static_cast<std::size_t>(palette)].Size();
    const QRect device = DeviceRect(QRect(rect.topLeft(), size), ratio_);
    const QPixmap& picture = ShownCell(palette, device.size());
    if (!picture.isNull()) {
        painter.drawPixmap(LogicalRect(device, ratio_), picture, QRectF(picture.rect()));
    }
}

void BoardWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    ShowAtRatio(painter.device()->devicePixelRatio());
    const QRect dirty = event->rect();
    if (background_.IsNull()) {
        painter.fillRect(dirty, Qt::black);
    } else {
        if (shownBackground_.isNull()) {
            shownBackground_ = background_.Cropped(size()).At(ratio_);
        }
        // Every device pixel the dirty rectangle touches, from the same pixel
        // of the background.
        const QRect device = QRectF(dirty.x() * ratio_, dirty.y() * ratio_, dirty.width() * ratio_,
                                    dirty.height() * ratio_).toAlignedRect();
        painter.drawPixmap(LogicalRect(device, ratio_), shownBackground_, QRectF(device));
    }
    if (dirty.intersects(BoardArea)) {
        for (int i = 0; i < BoardCellCount; ++i) {
            const QRect rect = BoardCellRect(i);
            if (event->region().intersects(rect)) {
                PaintCell(painter, rect, board_[static_cast<std::size_t>(i)]);
            }
        }
    }
    if (dirty.intersects(PreviewArea)) {
        for (int i = 0; i < PreviewCellCount; ++i) {
            const QRect rect = PreviewCellRect(i);
            if (event->region().intersects(rect)) {
                PaintCell(painter, rect, preview_[static_cast<std::size_t>(i)]);
            }
        }
    }
}

void BoardWidget::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    dragArmed_ = event->button() == Qt::LeftButton && !IsOverCells(p);
    draggingByHand_ = false;
    pressOffset_ = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
}

void BoardWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (BoardArea.contains(event->position().toPoint())) {
        emit MouseMovedOverBoard();
    }
    if (!dragArmed_ || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    if (draggingByHand_) {
        window()->move(event->globalPosition().toPoint() - pressOffset_);
        return;
    }
    // The window manager moves the window; without one, follow the mouse here.
    QWindow* handle = window()->windowHandle();
    if (handle != nullptr && handle->startSystemMove()) {
        dragArmed_ = false;
        return;
    }
    draggingByHand_ = true;
    window()->move(event->globalPosition().toPoint() - pressOffset_);
}

void BoardWidget::mouseReleaseEvent(QMouseEvent*)
{
    dragArmed_ = false;
    draggingByHand_ = false;
}

} // namespace plumix
