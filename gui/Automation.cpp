#include "gui/Automation.h"

#include "gui/adapters/ImageConversion.h"
#include "gui/map/TileLoader.h"
#include "platform/maps/MapDriver.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Window.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace kelpa::gui {

namespace ui = platform::ui;

namespace {
constexpr int kPollMs = 25;
constexpr int kSettleLimitMs = 300;
constexpr int kAnimationsMs = 350;

QString yesNo(bool value) { return value ? QStringLiteral("yes") : QStringLiteral("no"); }

QString joined(const std::vector<std::string>& parts, const char* separator) {
    QStringList list;
    for (const auto& part : parts) list << QString::fromStdString(part);
    return list.join(QString::fromUtf8(separator));
}

// The rest of the line after `count` words.
QString rest(const QString& line, int count) {
    int at = 0;
    for (int word = 0; word < count; ++word) {
        while (at < line.size() && line[at].isSpace()) ++at;
        while (at < line.size() && !line[at].isSpace()) ++at;
    }
    if (at < line.size() && line[at].isSpace()) ++at;
    return line.mid(at);
}
}  // namespace

Automation::Automation(std::shared_ptr<ui::Window> window, QQuickWindow* quickWindow, TileLoader* tiles,
                       std::filesystem::path screenshotDirectory, std::function<void()> quit, QObject* parent)
    : QObject(parent),
      window_(window),
      driver_(window),
      quickWindow_(quickWindow),
      tiles_(tiles),
      screenshots_(std::move(screenshotDirectory)),
      quit_(std::move(quit)) {
    clock_.start();
    // Keys reach the focused item only in the active window.
    if (quickWindow_) quickWindow_->requestActivate();
}

Automation::~Automation() = default;

void Automation::readStandardInput() {
    input_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(input_, &QSocketNotifier::activated, this, [this] {
        char chunk[4096];
        const auto n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            input_->setEnabled(false);
            return;
        }
        buffer_.append(chunk, static_cast<int>(n));
        for (int end = buffer_.indexOf('\n'); end >= 0; end = buffer_.indexOf('\n')) {
            enqueue(QString::fromUtf8(buffer_.left(end)).trimmed());
            buffer_.remove(0, end + 1);
        }
    });
}

bool Automation::runScript(const std::filesystem::path& file) {
    QFile script(QString::fromStdString(file.string()));
    if (!script.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    for (const auto& line : QString::fromUtf8(script.readAll()).split('\n')) {
        const QString command = line.trimmed();
        if (!command.isEmpty() && !command.startsWith('#')) enqueue(command);
    }
    return true;
}

void Automation::enqueue(const QString& line) {
    if (line.isEmpty()) return;
    pending_.push_back(line);
    if (!busy_) next();
}

void Automation::next() {
    if (pending_.empty()) {
        busy_ = false;
        return;
    }
    busy_ = true;
    const QString line = pending_.front();
    pending_.pop_front();
    execute(line, [this](const QString& answer) {
        std::fputs((answer + '\n').toUtf8().constData(), stdout);
        std::fflush(stdout);
        // The next command starts once what this one changed has been drawn.
        QTimer::singleShot(0, this, [this] { next(); });
    });
}

void Automation::settle(std::function<void()> then) {
    // One turn for the adapters to hear of changes, then a drawn frame: by then QML has
    // made and laid out what the model shows.
    QTimer::singleShot(0, this, [this, then] {
        auto done = std::make_shared<bool>(false);
        auto finish = [done, then] {
            if (*done) return;
            *done = true;
            then();
        };
        if (!quickWindow_) return finish();
        auto* connection = new QMetaObject::Connection;
        *connection = connect(quickWindow_, &QQuickWindow::frameSwapped, this, [connection, finish] {
            QObject::disconnect(*connection);
            delete connection;
            finish();
        });
        QTimer::singleShot(kSettleLimitMs, this, finish);
        quickWindow_->update();
    });
}

void Automation::waitFor(std::function<bool()> condition, double seconds, std::function<QString()> describe,
                         Reply reply) {
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [this, condition, seconds, describe, reply, clock, poll] {
        // Clearing *poll ends this very closure: what is needed afterwards is copied first.
        if (condition()) {
            auto* self = this;
            auto answer = reply;
            *poll = nullptr;
            self->settle([answer] { answer(QStringLiteral("ok")); });
            return;
        }
        if (clock->elapsed() > seconds * 1000) {
            auto answer = reply;
            const QString why = describe();
            *poll = nullptr;
            answer(QStringLiteral("error timeout: ") + why);
            return;
        }
        QTimer::singleShot(kPollMs, this, [poll] {
            if (*poll) (*poll)();
        });
    };
    (*poll)();
}

void Automation::execute(const QString& line, Reply reply) {
    const QStringList words = line.split(' ', Qt::SkipEmptyParts);
    if (words.isEmpty()) return reply(QStringLiteral("error empty command"));
    const QString command = words[0];
    auto arg = [&](int i) { return i < words.size() ? words[i] : QString(); };
    auto name = [&](int i) { return arg(i).toStdString(); };
    auto number = [&](int i, double fallback) {
        bool ok = false;
        const double value = arg(i).toDouble(&ok);
        return ok ? value : fallback;
    };
    auto result = [&](bool done, const QString& what) {
        reply(done ? QStringLiteral("ok") : QStringLiteral("error ") + what);
    };

    if (command == "type") return result(driver_.type(name(1), rest(line, 2).toStdString()), "no usable field " + arg(1));
    if (command == "tap") return result(driver_.tap(name(1)), "no usable button " + arg(1));
    if (command == "tap-outside") {
        driver_.tapOutside();
        return reply("ok");
    }
    if (command == "choose") return result(driver_.chooseAlertAction(rest(line, 1).toStdString()), "no such alert button");
    if (command == "tap-row") return result(driver_.tapRow(name(1), arg(2).toInt()), "no such row");
    if (command == "delete-row") return result(driver_.deleteRow(name(1), arg(2).toInt()), "the row takes no delete");
    if (command == "pull") return result(driver_.pullToRefresh(name(1)), "no refreshable table " + arg(1));
    if (command == "back") return result(driver_.goBack(), "nothing to go back to");
    if (command == "tab") return result(driver_.pickTab(arg(1).toInt()), "no such tab");
    if (command == "segment") return result(driver_.selectSegment(name(1), arg(2).toInt()), "no such segment");
    if (command == "pick-row") return result(driver_.pickRow(name(1), arg(2).toInt(), arg(3).toInt()), "no such row");
    if (command == "pick-image") {
        QImageReader reader(rest(line, 1));
        reader.setAutoTransform(true);
        auto image = ImageConversion::fromQImage(reader.read());
        if (!image) return reply("error cannot read the picture: " + reader.errorString());
        return result(driver_.pickImage(std::make_shared<const platform::Image>(std::move(*image))), "no image picker");
    }
    if (command == "cancel-picker") return result(driver_.cancelImagePicker(), "no image picker");
    if (command == "click") {
        const QString target = arg(1);
        return settle([this, target, reply] {
            QQuickItem* item = findItem(target);
            if (!item) return reply("error nothing visible and enabled is named " + target);
            reply(click(item) ? QStringLiteral("ok") : "error cannot click " + target);
        });
    }
    if (command == "keys") {
        const QString text = rest(line, 1);
        return settle([this, text, reply] {
            for (const QChar c : text) sendKey(0, QString(c));
            reply("ok");
        });
    }
    if (command == "key") {
        static const QHash<QString, int> keys{{"Return", Qt::Key_Return}, {"Tab", Qt::Key_Tab},
                                              {"Escape", Qt::Key_Escape}, {"F5", Qt::Key_F5},
                                              {"Delete", Qt::Key_Delete}, {"Backspace", Qt::Key_Backspace}};
        if (!keys.contains(arg(1))) return reply("error unknown key " + arg(1));
        const int key = keys.value(arg(1));
        sendKey(key, key == Qt::Key_Return ? QStringLiteral("\r") : key == Qt::Key_Tab ? QStringLiteral("\t") : QString());
        return reply("ok");
    }
    if (command == "front") return reply("ok " + QString::fromStdString(driver_.frontmostClass()));
    if (command == "stack") return reply("ok " + joined(driver_.navigationStack(), " "));
    if (command == "alert") {
        if (!driver_.alertTitle()) return reply("error no alert");
        return reply("ok " + QString::fromStdString(*driver_.alertTitle()) + " | " +
                     QString::fromStdString(driver_.alertMessage().value_or("")));
    }
    if (command == "text") return reply("ok " + QString::fromStdString(driver_.text(name(1))));
    if (command == "visible") return reply("ok " + yesNo(driver_.isVisible(name(1))));
    if (command == "enabled") return reply("ok " + yesNo(driver_.isEnabled(name(1))));
    if (command == "rows") return reply("ok " + joined(driver_.rows(name(1)), " ; "));
    if (command == "wait-screen") {
        const std::string wanted = name(1);
        return waitFor([this, wanted] { return driver_.frontmostClass() == wanted && !driver_.alert(); }, number(2, 20),
                       [this] {
                           auto alert = driver_.alertTitle();
                           return "the front screen is " + QString::fromStdString(driver_.frontmostClass()) +
                                  (alert ? " under the alert \"" + QString::fromStdString(*alert) + "\"" : QString());
                       },
                       reply);
    }
    if (command == "wait-tiles") {
        return waitFor([this] { return !tiles_ || tiles_->requestsInFlight() == 0; }, number(1, 20),
                       [] { return QStringLiteral("map tiles are still loading"); }, reply);
    }
    if (command == "wait-alert") {
        return waitFor([this] { return driver_.alert() != nullptr; }, number(1, 20),
                       [this] { return "no alert over " + QString::fromStdString(driver_.frontmostClass()); }, reply);
    }
    if (command == "wait-rows") {
        const std::string table = name(1);
        const auto count = static_cast<std::size_t>(arg(2).toInt());
        return waitFor([this, table, count] { return driver_.rows(table).size() == count; }, number(3, 20),
                       [this, table] {
                           return QString::fromStdString(table) + " shows " + joined(driver_.rows(table), " ; ");
                       },
                       reply);
    }
    if (command == "wait-enabled") {
        const std::string widget = name(1);
        return waitFor([this, widget] { return driver_.isEnabled(widget) && driver_.isVisible(widget); }, number(2, 20),
                       [widget] { return QString::fromStdString(widget) + " stays disabled"; }, reply);
    }
    if (command == "screenshot") {
        const QString name = arg(1).isEmpty() ? QStringLiteral("screen") : arg(1);
        // Controls animate their changes for up to a third of a second; the picture waits.
        return settle([this, name, reply] {
            QTimer::singleShot(kAnimationsMs, this, [this, name, reply] {
                settle([this, name, reply] {
                    const QString path = screenshot(name);
                    reply(path.isEmpty() ? QStringLiteral("error cannot save the screenshot") : "ok " + path);
                });
            });
        });
    }
    if (command == "pins") return reply("ok " + joined(platform::MapDriver(driver_, name(1)).pins(), " ; "));
    if (command == "wait-pins") {
        const std::string map = name(1);
        const auto wanted = static_cast<size_t>(number(2, 1));
        return waitFor([this, map, wanted] { return platform::MapDriver(driver_, map).pins().size() >= wanted; },
                       number(3, 20), [map] { return QString::fromStdString(map) + " has too few pins"; }, reply);
    }
    if (command == "wait-routes") {
        const std::string map = name(1);
        return waitFor([this, map] { return platform::MapDriver(driver_, map).routeCount() > 0; }, number(2, 20),
                       [map] { return QString::fromStdString(map) + " shows no route"; }, reply);
    }
    if (command == "select-pin") {
        return result(platform::MapDriver(driver_, name(1)).selectPin(rest(line, 2).toStdString()), "no such pin");
    }
    if (command == "tap-callout") {
        return result(platform::MapDriver(driver_, name(1)).tapCalloutDetail(rest(line, 2).toStdString()),
                      "no open callout with a button");
    }
    if (command == "show-place") {
        auto* item = findItem(arg(1));
        QQuickItem* map = nullptr;
        if (item) {
            for (auto* child : item->childItems()) {
                if (QString(child->metaObject()->className()).endsWith("MapItem")) map = child;
            }
        }
        if (!map) return reply("error no map " + arg(1));
        QMetaObject::invokeMethod(map, "showPlace", Q_ARG(double, number(2, 0)), Q_ARG(double, number(3, 0)),
                                  Q_ARG(double, number(4, 14)));
        return settle([reply] { reply("ok"); });
    }
    if (command == "settle") return settle([reply] { reply("ok"); });
    if (command == "quit") {
        reply("ok");
        if (quit_) quit_();
        return;
    }
    reply("error unknown command " + command);
}

QQuickItem* Automation::findItem(const QString& objectName) const {
    if (!quickWindow_) return nullptr;
    QQuickItem* found = nullptr;
    // Depth first in stacking order: the last match is on top.
    std::function<void(QQuickItem*)> visit = [&](QQuickItem* item) {
        if (!item->isVisible()) return;
        if (item->objectName() == objectName && item->isEnabled() && item->width() > 0 && item->height() > 0) {
            found = item;
        }
        auto children = item->childItems();
        std::stable_sort(children.begin(), children.end(), [](QQuickItem* a, QQuickItem* b) { return a->z() < b->z(); });
        for (auto* child : children) visit(child);
    };
    visit(quickWindow_->contentItem());
    return found;
}

bool Automation::click(QQuickItem* item) {
    const QPointF at = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    if (at.x() < 0 || at.y() < 0 || at.x() > quickWindow_->width() || at.y() > quickWindow_->height()) return false;
    const QPointF global = quickWindow_->mapToGlobal(at);
    // Timestamps as a real mouse gives them: Flickables judge taps and drags by them.
    const auto now = static_cast<quint64>(clock_.elapsed()) + 1000;
    QMouseEvent move(QEvent::MouseMove, at, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    move.setTimestamp(now);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    press.setTimestamp(now + 10);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    release.setTimestamp(now + 60);
    QGuiApplication::sendEvent(quickWindow_, &move);
    QGuiApplication::sendEvent(quickWindow_, &press);
    QGuiApplication::sendEvent(quickWindow_, &release);
    return true;
}

void Automation::sendKey(int key, const QString& text) {
    if (!quickWindow_) return;
    const int code = key ? key : (text.isEmpty() ? 0 : static_cast<int>(text.at(0).toUpper().unicode()));
    const auto now = static_cast<quint64>(clock_.elapsed()) + 1000;
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    press.setTimestamp(now);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    release.setTimestamp(now + 5);
    QGuiApplication::sendEvent(quickWindow_, &press);
    QGuiApplication::sendEvent(quickWindow_, &release);
}

QString Automation::screenshot(const QString& name) {
    if (!quickWindow_) return {};
    QDir dir(QString::fromStdString(screenshots_.string()));
    if (!dir.mkpath(".")) return {};
    const QString path = dir.absoluteFilePath(name + ".png");
    const QImage image = quickWindow_->grabWindow();
    return !image.isNull() && image.save(path) ? path : QString();
}

}  // namespace kelpa::gui
