// A picture with its optional version drawn at twice the resolution
// ("name@2x.ext" beside "name.ext"), and what the two give a screen of any
// device pixel ratio: at 1 the picture as it is, at 2 the doubled one pixel
// for pixel, at any other ratio the doubled one (or, without it, the picture)
// scaled smoothly to whole device pixels. The window's layout stays in its
// own pixels; only what fills it gets finer.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>

namespace plumix {

class SharpPicture {
public:
    SharpPicture() = default;
    // A picture drawn for one resolution only, as every built-in one is.
    SharpPicture(QPixmap normal);  // NOLINT(google-explicit-constructor)
    // `doubled` is kept only with exactly twice the pixels of `normal` each
    // way: any other size would not line up with the window.
    SharpPicture(QPixmap normal, QPixmap doubled);
    // Reads `normalFile`; `doubledFile` too when `withDoubled`, and only when
    // its header gives twice the size (so a wrong or huge one is never decoded).
    static SharpPicture Load(const QString& normalFile, const QString& doubledFile, bool withDoubled);

    bool IsNull() const { return normal_.isNull(); }
    const QPixmap& Normal() const { return normal_; }
    bool HasDoubled() const { return !doubled_.isNull(); }
    QSize Size() const { return normal_.size(); }  // in the window's pixels

    // The top left `logical` pixels (or less, when the picture is smaller).
    SharpPicture Cropped(QSize logical) const;
    // The picture on a screen of `ratio`, each edge on a whole device pixel.
    // A strip of looks `lookHeight` high stacked one above the other (a
    // button's normal and pressed look) has each look scaled on its own, so
    // that none bleeds into the next.
    QPixmap At(qreal ratio, int lookHeight = 0) const;
    // The picture in exactly `devicePixels`, for a screen of `ratio`.
    QPixmap Sized(QSize devicePixels, qreal ratio) const;

private:
    const QPixmap& SourceFor(qreal ratio) const;

    QPixmap normal_;
    QPixmap doubled_;
};

// Whether any screen scales by more than 1: only then are doubled pictures
// worth reading.
bool AnyScreenScaled();

// `logical` pixels of the window on a screen of `ratio`, in whole device pixels.
int DevicePixels(int logical, qreal ratio);
// The device pixels of a rectangle of the window, each edge rounded on its
// own, so rectangles that meet in the window meet on the screen, without a
// seam or an overlap between them.
QRect DeviceRect(const QRect& logical, qreal ratio);
// The window's rectangle that a painter of `ratio` maps onto exactly `device`.
QRectF LogicalRect(const QRect& device, qreal ratio);

} // namespace plumix
