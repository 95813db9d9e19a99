#include "gui/ImageItem.h"

#include <QPainter>
#include <QPainterPath>

namespace kelpa::gui {

ImageItem::ImageItem(QQuickItem* parent) : QQuickPaintedItem(parent) { setAntialiasing(true); }

void ImageItem::setImage(const QImage& image) {
    if (image.cacheKey() == image_.cacheKey()) return;
    image_ = image;
    emit imageChanged();
    update();
}

void ImageItem::setRadius(double radius) {
    if (radius == radius_) return;
    radius_ = radius;
    emit radiusChanged();
    update();
}

void ImageItem::setCrop(bool crop) {
    if (crop == crop_) return;
    crop_ = crop;
    emit cropChanged();
    update();
}

void ImageItem::paint(QPainter* painter) {
    if (image_.isNull() || width() <= 0 || height() <= 0) return;
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF bounds(0, 0, width(), height());
    const QSizeF size = image_.size().scaled(bounds.size().toSize(), crop_ ? Qt::KeepAspectRatioByExpanding : Qt::KeepAspectRatio);
    const QRectF target(bounds.center().x() - size.width() / 2, bounds.center().y() - size.height() / 2, size.width(),
                        size.height());
    if (radius_ > 0) {
        QPainterPath clip;
        clip.addRoundedRect(bounds.intersected(target), radius_, radius_);
        painter->setClipPath(clip);
    }
    painter->drawImage(target, image_);
}

}  // namespace kelpa::gui
