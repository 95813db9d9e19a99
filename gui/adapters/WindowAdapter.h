#pragma once

#include "gui/adapters/LayerListModel.h"
#include "gui/adapters/ScreenAdapter.h"
#include "platform/ui/Window.h"

#include <QHash>
#include <QObject>
#include <QVariantList>

#include <memory>

namespace kelpa::gui {

// What QML sees of the window: the screens to draw, bottom first (the top presentation that
// covers what is below it, and every presentation above it, such as an alert), and the screen a
// person looks at. It keeps one ScreenAdapter per screen and lets go of those whose screen has
// gone.
class WindowAdapter : public QObject {
    Q_OBJECT
    Q_PROPERTY(QObject* root READ root NOTIFY changed)
    // Every screen presented over the root, bottom first, shown or covered.
    Q_PROPERTY(QVariantList presented READ presented NOTIFY changed)
    Q_PROPERTY(QVariantList layers READ layers NOTIFY changed)
    // The same screens as a list model, for drawing.
    Q_PROPERTY(QObject* layerModel READ layerModel CONSTANT)
    Q_PROPERTY(QString frontmostClass READ frontmostClass NOTIFY changed)

public:
    explicit WindowAdapter(std::shared_ptr<platform::ui::Window> window, QObject* parent = nullptr);

    QObject* root();
    QVariantList presented();
    QVariantList layers();
    QObject* layerModel() const { return layerModel_; }
    LayerListModel* layerList() const { return layerModel_; }
    QString frontmostClass() const;
    const std::shared_ptr<platform::ui::Window>& window() const { return window_; }

    // The adapter of a screen, made on first use.
    ScreenAdapter* adapterFor(const std::shared_ptr<platform::ui::ViewController>& controller);
    ScreenAdapter* adapterFor(platform::ui::ViewController* controller);
    // The adapter of the screen a person looks at, or none.
    ScreenAdapter* frontmost();
    int adapterCount() const { return static_cast<int>(adapters_.size()); }

    // The window's size follows the Qt window.
    Q_INVOKABLE void resize(double width, double height);

signals:
    void changed();

private:
    void scheduleRefresh();
    void refresh();
    void retire(ScreenAdapter* adapter);

    std::shared_ptr<platform::ui::Window> window_;
    QHash<const platform::ui::ViewController*, ScreenAdapter*> adapters_;
    LayerListModel* layerModel_;
    bool pending_ = false;
};

}  // namespace kelpa::gui
