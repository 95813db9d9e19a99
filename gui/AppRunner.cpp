#include "gui/AppRunner.h"

#include "client/app/AppDelegate.h"
#include "gui/AppEnvironment.h"
#include "gui/Automation.h"
#include "gui/FrontEnd.h"
#include "gui/GracefulExit.h"
#include "gui/map/TileCache.h"
#include "gui/map/TileLoader.h"
#include "platform/Log.h"
#include "platform/ui/Application.h"

#include <QCoreApplication>
#include <QDir>
#include <QQuickWindow>

#include <cstdio>

namespace kelpa::gui {

int AppRunner::run(const StartOptions& options) {
    auto env = AppEnvironment::install(options);
    int exitCode = 0;
    {
        auto source = [&options] {
            if (!options.tileURL) return platform::TileSource();
            // No tile server, no tiles to credit.
            const bool none = options.tileURL->empty();
            return platform::TileSource(*options.tileURL, none ? "" : platform::TileSource::kDefaultAttribution);
        };
        TileLoader tiles(source(), TileCache::defaultDirectory());
        auto delegate = std::make_shared<AppDelegate>();
        auto application = std::make_shared<platform::ui::Application>(delegate);
        GracefulExit exit(AppEnvironment::mainQueue());
        exit.watchSignals();

        FrontEnd frontEnd(delegate->window(), &tiles);
        if (!frontEnd.load()) {
            std::fprintf(stderr, "kelpa: the window could not be made\n");
            return 1;
        }
        exit.watchWindow(frontEnd.window());
        // Launching after the window exists: what start-up shows is drawn as it happens.
        platform::ui::Application::launch(application);

        std::unique_ptr<Automation> automation;
        if (options.automation || options.script) {
            const auto directory = options.screenshotDir.value_or(QDir::currentPath().toStdString());
            automation = std::make_unique<Automation>(delegate->window(), frontEnd.window(), &tiles, directory,
                                                      [&exit] { exit.begin(); });
            if (options.script && !automation->runScript(*options.script)) {
                std::fprintf(stderr, "kelpa: cannot read the script %s\n", options.script->c_str());
                return 2;
            }
            if (options.automation) automation->readStandardInput();
        }

        exitCode = QCoreApplication::exec();
        automation.reset();
    }
    // The screens and their services end with the environment, on this thread.
    env.reset();
    platform::Environment::install(nullptr);
    return exitCode;
}

}  // namespace kelpa::gui
