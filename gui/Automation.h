#pragma once

#include "platform/ui/Driver.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QQuickItem;
class QQuickWindow;
class QSocketNotifier;

namespace kelpa::gui {

class TileLoader;

// A test and automation hook, off unless asked for: commands one a line (from standard
// input or a script file), each answered by one line on standard output, "ok[ VALUE]" or
// "error TEXT". Acts on the model go through platform::ui::Driver; "click" and "keys" go
// through the real window as a mouse and a keyboard would.
//
//   type FIELD TEXT        tap BUTTON           tap-outside        choose ALERT-BUTTON
//   tap-row TABLE ROW      delete-row TABLE ROW pull TABLE         back
//   tab INDEX              segment NAME INDEX   pick-row NAME ROW  pick-image FILE | cancel-picker
//   click OBJECT-NAME      keys TEXT            key Return|Tab|Escape|F5|Delete|Backspace
//   front | stack | alert | text NAME | visible NAME | enabled NAME | rows TABLE
//   wait-screen CLASS [SECONDS]   wait-alert [SECONDS]   wait-enabled NAME [SECONDS]
//   wait-rows TABLE COUNT [SECONDS]
//   wait-tiles [SECONDS]   (until no map tile is on its way)
//   pins MAP   wait-pins MAP COUNT [SECONDS]   wait-routes MAP [SECONDS]
//   select-pin MAP TITLE   tap-callout MAP TITLE   show-place MAP LAT LON ZOOM
//   screenshot NAME        settle               quit
class Automation : public QObject {
    Q_OBJECT

public:
    using Reply = std::function<void(const QString& line)>;

    Automation(std::shared_ptr<platform::ui::Window> window, QQuickWindow* quickWindow, TileLoader* tiles,
               std::filesystem::path screenshotDirectory, std::function<void()> quit, QObject* parent = nullptr);
    ~Automation() override;

    // Reads commands from standard input until it closes.
    void readStandardInput();
    // Runs the commands of a file, one after the other; false when it cannot be read.
    bool runScript(const std::filesystem::path& file);
    // Runs one command; `reply` hears its answer once it is done (waits take a while).
    void execute(const QString& line, Reply reply);

private:
    void enqueue(const QString& line);
    void next();
    // Runs `then` once QML has caught up with the model and drawn it.
    void settle(std::function<void()> then);
    void waitFor(std::function<bool()> condition, double seconds, std::function<QString()> describe, Reply reply);
    QQuickItem* findItem(const QString& objectName) const;
    bool click(QQuickItem* item);
    void sendKey(int key, const QString& text);
    QString screenshot(const QString& name);

    std::shared_ptr<platform::ui::Window> window_;
    platform::ui::Driver driver_;
    QQuickWindow* quickWindow_;
    QPointer<TileLoader> tiles_;
    std::filesystem::path screenshots_;
    std::function<void()> quit_;
    QSocketNotifier* input_ = nullptr;
    QByteArray buffer_;
    std::deque<QString> pending_;
    bool busy_ = false;
    QElapsedTimer clock_;
};

}  // namespace kelpa::gui
