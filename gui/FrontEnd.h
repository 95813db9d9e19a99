#pragma once

#include "gui/adapters/WindowAdapter.h"
#include "gui/map/TileLoader.h"
#include "platform/ui/Window.h"

#include <QObject>
#include <QQmlApplicationEngine>
#include <QStringList>

#include <memory>

class QQuickWindow;

namespace kelpa::gui {

// The QML engine showing one toolkit window: Main.qml with the window's adapter and the tile
// loader as context properties, and the Kelpa QML types (MapItem, ImageItem).
class FrontEnd : public QObject {
    Q_OBJECT

public:
    FrontEnd(std::shared_ptr<platform::ui::Window> window, TileLoader* tiles, QObject* parent = nullptr);
    ~FrontEnd() override;

    // Loads qrc:/qml/Main.qml; false when it could not be made.
    bool load();
    QQuickWindow* window() const;
    WindowAdapter& adapter() { return *adapter_; }
    QQmlApplicationEngine& engine() { return *engine_; }
    // QML's warnings and errors so far.
    const QStringList& warnings() const { return warnings_; }

    // The Kelpa QML module; once per process, before any engine loads.
    static void registerTypes();

private:
    WindowAdapter* adapter_;
    TileLoader* tiles_;
    std::unique_ptr<QQmlApplicationEngine> engine_;
    QStringList warnings_;
};

}  // namespace kelpa::gui
