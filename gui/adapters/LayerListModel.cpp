#include "gui/adapters/LayerListModel.h"

#include "gui/adapters/ScreenAdapter.h"

namespace kelpa::gui {

int LayerListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count(); }

QVariant LayerListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count()) return {};
    ScreenAdapter* screen = layers_[index.row()];
    if (role == ScreenRole) return QVariant::fromValue<QObject*>(screen);
    if (role == KindRole) return screen ? screen->kind() : QString();
    return {};
}

QHash<int, QByteArray> LayerListModel::roleNames() const { return {{ScreenRole, "screen"}, {KindRole, "kind"}}; }

ScreenAdapter* LayerListModel::at(int row) const { return row >= 0 && row < count() ? layers_[row].data() : nullptr; }

void LayerListModel::setLayers(const QList<ScreenAdapter*>& layers) {
    int same = 0;
    while (same < count() && same < layers.size() && layers_[same] == layers[same]) ++same;
    if (same == count() && same == layers.size()) return;
    if (same < count()) {
        beginRemoveRows({}, same, count() - 1);
        layers_.erase(layers_.begin() + same, layers_.end());
        endRemoveRows();
    }
    if (same < layers.size()) {
        beginInsertRows({}, same, static_cast<int>(layers.size()) - 1);
        for (int i = same; i < layers.size(); ++i) layers_.append(layers[i]);
        endInsertRows();
    }
    emit countChanged();
}

}  // namespace kelpa::gui
