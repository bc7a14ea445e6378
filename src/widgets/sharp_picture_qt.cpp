#include "widgets/sharp_picture_qt.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace plumix {

namespace {

// The picture as the painter of `ratio` takes it: sizes are then given in
// device pixels, and it goes onto the screen unscaled.
QPixmap WithRatio(QPixmap picture, qreal ratio)
{
    picture.setDevicePixelRatio(ratio);
    return picture;
}

} // namespace

SharpPicture::SharpPicture(QPixmap normal) : normal_(std::move(normal)) {}

SharpPicture::SharpPicture(QPixmap normal, QPixmap doubled) : normal_(std::move(normal))
{
    if (!normal_.isNull() && doubled.size() == normal_.size() * 2) {
        doubled_ = WithRatio(std::move(doubled), 2);
    }
}

SharpPicture SharpPicture::Load(const QString& normalFile, const QString& doubledFile, bool withDoubled)
{
    QPixmap normal(normalFile);
    if (normal.isNull() || !withDoubled) {
        return SharpPicture(normal);
    }
    QImageReader reader(doubledFile);
    if (reader.size() != normal.size() * 2) {
        return SharpPicture(normal);
    }
    return {normal, QPixmap::fromImageReader(&reader)};
}

SharpPicture SharpPicture::Cropped(QSize logical) const
{
    const QSize kept = Size().boundedTo(logical);
    if (kept == Size()) {
        return *this;
    }
    SharpPicture cropped(normal_.copy(QRect(QPoint(), kept)));
    if (HasDoubled()) {
        cropped.doubled_ = WithRatio(doubled_.copy(QRect(QPoint(), kept * 2)), 2);
    }
    return cropped;
}

const QPixmap& SharpPicture::SourceFor(qreal ratio) const
{
    return HasDoubled() && ratio > 1 ? doubled_ : normal_;
}

QPixmap SharpPicture::Sized(QSize devicePixels, qreal ratio) const
{
    const QPixmap& source = SourceFor(ratio);
    if (source.isNull() || devicePixels.isEmpty()) {
        return {};
    }
    if (source.size() == devicePixels) {
        return WithRatio(source, ratio);
    }
    return WithRatio(QPixmap::fromImage(source.toImage().scaled(devicePixels, Qt::IgnoreAspectRatio,
                                                                Qt::SmoothTransformation)),
                     ratio);
}

QPixmap SharpPicture::At(qreal ratio, int lookHeight) const
{
    const QSize size = Size();
    if (lookHeight <= 0 || lookHeight >= size.height()) {
        return Sized({DevicePixels(size.width(), ratio), DevicePixels(size.height(), ratio)}, ratio);
    }
    // Every whole look the same number of device rows, so that the control
    // showing one look at a time shows each in full.
    const int deviceLook = DevicePixels(lookHeight, ratio);
    const int looks = size.height() / lookHeight;
    const int rest = size.height() % lookHeight;
    const QSize devicePixels(DevicePixels(size.width(), ratio), looks * deviceLook + DevicePixels(rest, ratio));
    const QPixmap& source = SourceFor(ratio);
    if (source.size() == devicePixels) {
        return WithRatio(source, ratio);
    }
    const int sourceScale = source.width() / size.width();
    QImage image = source.toImage();
    image.setDevicePixelRatio(1);  // the looks are copied in the pixels they have
    QImage shown(devicePixels, QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::transparent);
    QPainter painter(&shown);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (int k = 0; k * lookHeight < size.height(); ++k) {
        const int height = std::min(lookHeight, size.height() - k * lookHeight);
        const int deviceHeight = k < looks ? deviceLook : DevicePixels(rest, ratio);
        if (deviceHeight > 0) {
            const QImage look = image.copy(0, k * lookHeight * sourceScale, image.width(), height * sourceScale);
            painter.drawImage(0, k * deviceLook,
                              look.scaled(devicePixels.width(), deviceHeight, Qt::IgnoreAspectRatio,
                                          Qt::SmoothTransformation));
        }
    }
    painter.end();
    return WithRatio(QPixmap::fromImage(shown), ratio);
}

bool AnyScreenScaled()
{
    return qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1;
}

int DevicePixels(int logical, qreal ratio)
{
    return static_cast<int>(std::lround(logical * ratio));
}

QRect DeviceRect(const QRect& logical, qreal ratio)
{
    const int left = DevicePixels(logical.x(), ratio);
    const int top = DevicePixels(logical.y(), ratio);
    return {left, top, DevicePixels(logical.x() + logical.width(), ratio) - left,
            DevicePixels(logical.y() + logical.height(), ratio) - top};
}

QRectF LogicalRect(const QRect& device, qreal ratio)
{
    return {device.x() / ratio, device.y() / ratio, device.width() / ratio, device.height() / ratio};
}

} // namespace plumix
