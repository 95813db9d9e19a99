#pragma once

#include <QImage>
#include <QQuickPaintedItem>

namespace kelpa::gui {

// Draws a QImage (a widget's picture) scaled into the item, optionally with rounded corners,
// cropping to fill or fitting whole.
class ImageItem : public QQuickPaintedItem {
    Q_OBJECT
    Q_PROPERTY(QImage image READ image WRITE setImage NOTIFY imageChanged)
    Q_PROPERTY(double radius READ radius WRITE setRadius NOTIFY radiusChanged)
    Q_PROPERTY(bool crop READ crop WRITE setCrop NOTIFY cropChanged)

public:
    explicit ImageItem(QQuickItem* parent = nullptr);

    QImage image() const { return image_; }
    void setImage(const QImage& image);
    double radius() const { return radius_; }
    void setRadius(double radius);
    bool crop() const { return crop_; }
    void setCrop(bool crop);

    void paint(QPainter* painter) override;

signals:
    void imageChanged();
    void radiusChanged();
    void cropChanged();

private:
    QImage image_;
    double radius_ = 0;
    bool crop_ = true;
};

}  // namespace kelpa::gui
