#include "gui/FolderModel.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kelpa::gui {

FolderModel::FolderModel(QObject* parent) : QAbstractListModel(parent) { setFolder(startFolder()); }

QString FolderModel::startFolder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QDir(pictures).exists()) return pictures;
    return QDir::homePath();
}

const QStringList& FolderModel::pictureSuffixes() {
    static const QStringList suffixes{"png", "jpg", "jpeg", "bmp", "gif", "webp"};
    return suffixes;
}

void FolderModel::setFolder(const QString& folder) {
    const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (clean == folder_ || !QFileInfo(clean).isDir()) return;
    folder_ = clean;
    reload();
    emit folderChanged();
}

bool FolderModel::canGoUp() const { return !QDir(folder_).isRoot(); }

void FolderModel::up() {
    QDir dir(folder_);
    if (dir.cdUp()) setFolder(dir.absolutePath());
}

bool FolderModel::open(int row) {
    if (row < 0 || row >= count() || !entries_[row].isFolder) return false;
    setFolder(entries_[row].path);
    return true;
}

void FolderModel::reload() {
    beginResetModel();
    entries_.clear();
    QDir dir(folder_);
    const auto sort = QDir::Name | QDir::IgnoreCase | QDir::LocaleAware;
    for (const auto& info : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, sort)) {
        entries_.append({info.fileName(), info.absoluteFilePath(), true});
    }
    for (const auto& info : dir.entryInfoList(QDir::Files, sort)) {
        if (pictureSuffixes().contains(info.suffix().toLower())) {
            entries_.append({info.fileName(), info.absoluteFilePath(), false});
        }
    }
    endResetModel();
}

int FolderModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count(); }

QVariant FolderModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count()) return {};
    const Entry& entry = entries_[index.row()];
    switch (role) {
        case Qt::DisplayRole:
        case NameRole: return entry.name;
        case PathRole: return entry.path;
        case IsFolderRole: return entry.isFolder;
        default: return {};
    }
}

QHash<int, QByteArray> FolderModel::roleNames() const {
    return {{NameRole, "name"}, {PathRole, "path"}, {IsFolderRole, "isFolder"}};
}

}  // namespace kelpa::gui
