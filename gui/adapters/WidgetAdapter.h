#pragma once

#include "platform/ui/View.h"

#include <QObject>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace kelpa::gui {

// What QML sees of one widget of the toolkit: a QObject over the view, holding it weakly.
// It observes the view and the views it sits in, and tells QML with `changed` (once per turn
// of the event loop, so QML never redraws in the middle of a change of the model). Reads go to
// the model every time; acts are the calls platform::ui::Driver makes. Subclasses add what
// their kind of widget has.
class WidgetAdapter : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString name READ name CONSTANT)
    Q_PROPERTY(QString kind READ kind CONSTANT)
    Q_PROPERTY(bool exists READ exists CONSTANT)
    Q_PROPERTY(QString accessibleName READ accessibleName NOTIFY changed)
    Q_PROPERTY(bool visible READ isVisible NOTIFY changed)
    Q_PROPERTY(bool enabled READ isEnabled NOTIFY changed)
    Q_PROPERTY(double opacity READ opacity NOTIFY changed)
    Q_PROPERTY(double cornerRadius READ cornerRadius NOTIFY changed)
    Q_PROPERTY(double scaleX READ scaleX NOTIFY changed)
    Q_PROPERTY(double scaleY READ scaleY NOTIFY changed)

public:
    // A stand-in for a name the screen does not have: QML can still read it, it shows nothing.
    WidgetAdapter(QString missingName, QObject* parent);
    WidgetAdapter(std::shared_ptr<platform::ui::View> view, QObject* parent);
    ~WidgetAdapter() override;

    QString name() const { return name_; }
    QString kind() const { return kind_; }
    bool exists() const { return exists_; }
    QString accessibleName() const;
    // Not hidden, nor any view it sits in.
    bool isVisible() const;
    // Takes touches: a control that is enabled, in views that take touches.
    bool isEnabled() const;
    double opacity() const;
    double cornerRadius() const;
    double scaleX() const;
    double scaleY() const;

    std::shared_ptr<platform::ui::View> view() const { return view_.lock(); }
    // What a person can act on: there, visible and enabled (as the Driver requires).
    bool usable() const { return isVisible() && isEnabled(); }

signals:
    void changed();

protected:
    template <class T>
    std::shared_ptr<T> as() const {
        return std::dynamic_pointer_cast<T>(view_.lock());
    }
    // Called on the turn after the model changed, before QML hears of it.
    virtual void modelChanged() {}
    // Announces a change on the next turn of the event loop; several make one.
    void scheduleChanged();

private:
    void watchAncestors();
    void unwatch();

    QString name_;
    QString kind_;
    bool exists_ = false;
    std::weak_ptr<platform::ui::View> view_;
    std::vector<std::pair<std::weak_ptr<platform::ui::View>, platform::ui::View::ObserverId>> watched_;
    std::vector<const platform::ui::View*> chain_;
    bool pending_ = false;
};

}  // namespace kelpa::gui
