#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QStringList>

namespace kelpa::gui {

// One folder of the computer as a list for the picture chooser: its subfolders, then the
// picture files in it, by name. Drawn in the window itself, so it works the same with any
// renderer and with the keyboard.
class FolderModel : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(QString folder READ folder WRITE setFolder NOTIFY folderChanged)
    Q_PROPERTY(bool canGoUp READ canGoUp NOTIFY folderChanged)
    Q_PROPERTY(int count READ count NOTIFY folderChanged)

public:
    enum Role { NameRole = Qt::UserRole + 1, PathRole, IsFolderRole };

    explicit FolderModel(QObject* parent = nullptr);

    // The pictures folder when there is one, else the home folder.
    static QString startFolder();
    static const QStringList& pictureSuffixes();

    QString folder() const { return folder_; }
    void setFolder(const QString& folder);
    bool canGoUp() const;
    int count() const { return static_cast<int>(entries_.size()); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE void up();
    // Opens a subfolder; false for a file.
    Q_INVOKABLE bool open(int row);

signals:
    void folderChanged();

private:
    struct Entry {
        QString name;
        QString path;
        bool isFolder;
    };
    void reload();

    QString folder_;
    QList<Entry> entries_;
};

}  // namespace kelpa::gui
