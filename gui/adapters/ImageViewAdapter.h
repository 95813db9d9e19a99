#pragma once

#include "gui/adapters/WidgetAdapter.h"
#include "platform/Image.h"

#include <QImage>

namespace kelpa::gui {

class ImageViewAdapter : public WidgetAdapter {
    Q_OBJECT
    Q_PROPERTY(QImage image READ image NOTIFY changed)
    Q_PROPERTY(bool hasImage READ hasImage NOTIFY changed)

public:
    using WidgetAdapter::WidgetAdapter;
    QImage image() const;
    bool hasImage() const { return !image().isNull(); }

private:
    // The last picture converted, kept while the view shows the same one.
    mutable std::weak_ptr<const platform::Image> converted_;
    mutable QImage cache_;
};

}  // namespace kelpa::gui
