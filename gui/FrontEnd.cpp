#include "gui/FrontEnd.h"

#include "gui/FolderModel.h"
#include "gui/ImageItem.h"
#include "gui/map/MapItem.h"

#include <QQmlContext>
#include <QQmlError>
#include <QQuickWindow>
#include <QtQml>

namespace kelpa::gui {

void FrontEnd::registerTypes() {
    static const bool registered = [] {
        qmlRegisterType<MapItem>("Kelpa", 1, 0, "MapItem");
        qmlRegisterType<ImageItem>("Kelpa", 1, 0, "ImageItem");
        qmlRegisterType<FolderModel>("Kelpa", 1, 0, "FolderModel");
        return true;
    }();
    (void)registered;
}

FrontEnd::FrontEnd(std::shared_ptr<platform::ui::Window> window, TileLoader* tiles, QObject* parent)
    : QObject(parent), adapter_(new WindowAdapter(std::move(window), this)), tiles_(tiles),
      engine_(std::make_unique<QQmlApplicationEngine>()) {
    registerTypes();
    connect(engine_.get(), &QQmlEngine::warnings, this, [this](const QList<QQmlError>& list) {
        for (const auto& error : list) warnings_ << error.toString();
    });
    engine_->rootContext()->setContextProperty("kelpaWindow", adapter_);
    engine_->rootContext()->setContextProperty("tileLoader", tiles_);
}

// The QML goes before the adapters it reads.
FrontEnd::~FrontEnd() { engine_.reset(); }

bool FrontEnd::load() {
    engine_->load(QUrl(QStringLiteral("qrc:/qml/Main.qml")));
    return window() != nullptr;
}

QQuickWindow* FrontEnd::window() const {
    const auto roots = engine_->rootObjects();
    return roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(roots.first());
}

}  // namespace kelpa::gui
