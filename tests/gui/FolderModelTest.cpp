#include "QtApp.h"
#include "gui/FolderModel.h"
#include "gui/adapters/ImageConversion.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kelpa::testing {
namespace {

using gui::FolderModel;

QStringList names(const FolderModel& model) {
    QStringList list;
    for (int row = 0; row < model.count(); ++row) {
        list << model.data(model.index(row), FolderModel::NameRole).toString();
    }
    return list;
}

TEST(FolderModelTest, ListsFoldersFirstThenOnlyPictures) {
    qtApp();
    QTemporaryDir root;
    QDir dir(root.path());
    ASSERT_TRUE(dir.mkpath("b-holidays"));
    ASSERT_TRUE(dir.mkpath("A-work"));
    for (const char* file : {"zebra.PNG", "me.jpg", "notes.txt", "scan.jpeg", ".hidden.png"}) {
        QFile f(dir.filePath(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    FolderModel model;
    model.setFolder(root.path());
    EXPECT_EQ(names(model), (QStringList{"A-work", "b-holidays", "me.jpg", "scan.jpeg", "zebra.PNG"}));
    EXPECT_TRUE(model.data(model.index(0), FolderModel::IsFolderRole).toBool());
    EXPECT_EQ(model.data(model.index(2), FolderModel::PathRole).toString(), dir.filePath("me.jpg"));

    EXPECT_FALSE(model.open(2));  // a picture is chosen, not opened
    EXPECT_TRUE(model.open(1));
    EXPECT_EQ(model.folder(), dir.filePath("b-holidays"));
    EXPECT_EQ(model.count(), 0);
    model.up();
    EXPECT_EQ(model.folder(), QDir::cleanPath(root.path()));
    model.setFolder(dir.filePath("no-such-folder"));
    EXPECT_EQ(model.folder(), QDir::cleanPath(root.path()));
}

TEST(FolderModelTest, TheTopOfTheTreeHasNoUp) {
    qtApp();
    FolderModel model;
    model.setFolder("/");
    EXPECT_FALSE(model.canGoUp());
    model.up();
    EXPECT_EQ(model.folder(), "/");
}

TEST(ImageConversionTest, PicturesSurviveTheWayToQtAndBack) {
    const platform::Image image{2, 2, {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 255, 9, 8, 7, 0}};
    const QImage qt = gui::ImageConversion::toQImage(image);
    ASSERT_EQ(qt.size(), QSize(2, 2));
    EXPECT_EQ(qt.pixelColor(1, 0), QColor(0, 255, 0, 128));
    EXPECT_EQ(gui::ImageConversion::fromQImage(qt), image);
    // A picture in another format comes out as RGBA.
    QImage grey(1, 1, QImage::Format_Grayscale8);
    grey.fill(QColor(100, 100, 100));
    auto converted = gui::ImageConversion::fromQImage(grey);
    ASSERT_TRUE(converted);
    EXPECT_EQ(converted->rgba, (std::vector<std::uint8_t>{100, 100, 100, 255}));
}

TEST(ImageConversionTest, MalformedPicturesBecomeNone) {
    EXPECT_TRUE(gui::ImageConversion::toQImage(platform::Image{2, 2, {1, 2, 3}}).isNull());
    EXPECT_TRUE(gui::ImageConversion::toQImage(std::shared_ptr<const platform::Image>()).isNull());
    EXPECT_FALSE(gui::ImageConversion::fromQImage(QImage()));
}

}  // namespace
}  // namespace kelpa::testing
