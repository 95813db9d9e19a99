#pragma once

#include "gui/adapters/WidgetAdapter.h"
#include "platform/ui/ViewController.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariantList>

#include <memory>
#include <optional>

namespace kelpa::gui {

class WindowAdapter;

// What QML sees of one screen: its class, title and kind, the screens it shows inside itself,
// and its widgets by field name. Held weakly; a screen that has gone reads as empty.
class ScreenAdapter : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString className READ className CONSTANT)
    // "plain", "navigation", "tabs", "alert" or "imagePicker".
    Q_PROPERTY(QString kind READ kind CONSTANT)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(bool coversPresenter READ coversPresenter CONSTANT)
    // The page that lays the screen out: its own file, or the generic page.
    Q_PROPERTY(QUrl pageUrl READ pageUrl CONSTANT)
    Q_PROPERTY(bool hasOwnPage READ hasOwnPage CONSTANT)
    Q_PROPERTY(bool inNavigation READ inNavigation NOTIFY changed)
    // Navigation stack (bottom first) or tabs.
    Q_PROPERTY(QVariantList children READ children NOTIFY childrenChanged)
    Q_PROPERTY(int childCount READ childCount NOTIFY childrenChanged)
    // The navigation stack's top or the selected tab.
    Q_PROPERTY(QObject* current READ current NOTIFY changed)
    Q_PROPERTY(int selectedIndex READ selectedIndex NOTIFY changed)
    Q_PROPERTY(bool barHidden READ isBarHidden NOTIFY changed)
    Q_PROPERTY(bool canGoBack READ canGoBack NOTIFY changed)
    // Alerts: the message and the buttons ({"title", "style": default/cancel/destructive}).
    Q_PROPERTY(QString message READ message NOTIFY changed)
    Q_PROPERTY(QVariantList actions READ actions NOTIFY changed)
    // Image pickers: "photoLibrary", "camera" or "savedPhotosAlbum".
    Q_PROPERTY(QString sourceType READ sourceType NOTIFY changed)
    // Every named widget, in the order of the view tree, for the generic page.
    Q_PROPERTY(QVariantList widgets READ widgets NOTIFY widgetsChanged)

public:
    ScreenAdapter(const std::shared_ptr<platform::ui::ViewController>& controller, WindowAdapter* window);

    QString className() const { return className_; }
    QString kind() const { return kind_; }
    QString title() const;
    bool coversPresenter() const { return coversPresenter_; }
    QUrl pageUrl() const;
    bool hasOwnPage() const;
    bool inNavigation() const;
    QVariantList children() const;
    int childCount() const { return static_cast<int>(children().size()); }
    QObject* current() const;
    int selectedIndex() const;
    bool isBarHidden() const;
    bool canGoBack() const;
    QString message() const;
    QVariantList actions() const;
    QString sourceType() const;
    QVariantList widgets() const;

    std::shared_ptr<platform::ui::ViewController> controller() const { return controller_.lock(); }

    // The widget of this name (a stand-in that shows nothing when there is none); the same
    // object every time for as long as the view lives.
    Q_INVOKABLE QObject* widget(const QString& name);
    WidgetAdapter* widgetAdapter(const QString& name);

    // A person's acts: the back button, a tab, an alert's button, the image picker's outcome,
    // a touch outside any control.
    Q_INVOKABLE bool goBack();
    Q_INVOKABLE bool select(int tab);
    Q_INVOKABLE bool choose(const QString& actionTitle);
    Q_INVOKABLE bool finishPicking(const QString& pathOrUrl);
    Q_INVOKABLE bool cancel();
    Q_INVOKABLE void tapOutside();

    // Where the screen files are; tests point it elsewhere.
    static void setPageDirectory(const QString& directory);

    // Reads the screen again and tells QML; the lists only when they differ, so QML keeps
    // what it made for them.
    void refresh();
    void scheduleChanged();

signals:
    void changed();
    void childrenChanged();
    void widgetsChanged();

private:
    WidgetAdapter* adapterFor(const std::shared_ptr<platform::ui::View>& view);
    QVariantList currentChildren() const;
    QVariantList currentWidgets() const;

    WindowAdapter* window_;
    std::weak_ptr<platform::ui::ViewController> controller_;
    QString className_;
    QString kind_;
    bool coversPresenter_ = true;
    QHash<QString, WidgetAdapter*> byName_;
    QHash<const platform::ui::View*, WidgetAdapter*> byView_;
    mutable std::optional<QVariantList> children_;
    mutable std::optional<QVariantList> widgets_;
    bool pending_ = false;
};

}  // namespace kelpa::gui
