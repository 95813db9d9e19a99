#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QPointer>

namespace kelpa::gui {

class ScreenAdapter;

// The screens the window draws, bottom first, as a list model that inserts and removes only
// what changed: an alert coming up leaves the page below it as it was (focus, scroll, map).
class LayerListModel : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role { ScreenRole = Qt::UserRole + 1, KindRole };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
    int count() const { return static_cast<int>(layers_.size()); }
    ScreenAdapter* at(int row) const;

    void setLayers(const QList<ScreenAdapter*>& layers);

signals:
    void countChanged();

private:
    QList<QPointer<ScreenAdapter>> layers_;
};

}  // namespace kelpa::gui
