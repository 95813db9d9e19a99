#include "QtTestApplication.h"
#include "TestEnvironment.h"
#include "gui/backends/QtImageSource.h"
#include "platform/Image.h"

#include <QImage>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <fstream>

namespace kelpa::testing {
namespace {

using platform::Image;
using platform::ui::ImagePickerSourceType;
using platform::ui::QtImageSource;

// Two rows of two pixels, one of them half transparent.
Image sample() {
    Image image;
    image.width = 2;
    image.height = 2;
    image.rgba = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 200, 100, 50, 128};
    return image;
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

class QtImageSourceTest : public ::testing::Test {
protected:
    void SetUp() override { ensureQtApplication(); }
    TestEnvironment t;
};

TEST_F(QtImageSourceTest, TheLibraryIsAlwaysThereAndTheCameraWhenQtSeesOne) {
    for (bool camera : {false, true}) {
        SCOPED_TRACE(camera);
        QtImageSource source([camera] { return camera; });
        EXPECT_TRUE(source.isSourceTypeAvailable(ImagePickerSourceType::photoLibrary));
        EXPECT_TRUE(source.isSourceTypeAvailable(ImagePickerSourceType::savedPhotosAlbum));
        EXPECT_EQ(source.isSourceTypeAvailable(ImagePickerSourceType::camera), camera);
    }
    // This build has no Qt Multimedia to list cameras with.
    EXPECT_FALSE(QtImageSource().isSourceTypeAvailable(ImagePickerSourceType::camera));
}

TEST_F(QtImageSourceTest, APngLoadsPixelForPixelWithStraightAlpha) {
    const auto path = t.home() / "picture.png";
    writeFile(path, *platform::ImageCodec::encodePNG(sample()));
    auto image = QtImageSource::loadImageFile(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(*image, sample());
}

TEST_F(QtImageSourceTest, AGreyPictureBecomesOpaqueRGBA) {
    // An odd width too: Qt's grey rows are padded to four bytes, the loaded image is packed.
    QImage grey(3, 2, QImage::Format_Grayscale8);
    grey.fill(0x80);
    const auto path = t.home() / "grey.png";
    ASSERT_TRUE(grey.save(QString::fromStdString(path.string())));
    auto image = QtImageSource::loadImageFile(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    std::vector<std::uint8_t> expected;
    for (int i = 0; i < 6; ++i) expected.insert(expected.end(), {0x80, 0x80, 0x80, 0xFF});
    EXPECT_EQ(image->rgba, expected);
}

TEST_F(QtImageSourceTest, APictureTaggedSidewaysLoadsUpright) {
    QImage wide(4, 2, QImage::Format_RGB32);
    wide.fill(Qt::white);
    const auto path = t.home() / "sideways.jpg";
    QImageWriter writer(QString::fromStdString(path.string()), "jpeg");
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(wide)) << writer.errorString().toStdString();
    auto image = QtImageSource::loadImageFile(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 4);
}

TEST_F(QtImageSourceTest, AFileThatIsNoPictureGivesNothingAndALogLine) {
    const auto garbage = t.home() / "notes.png";
    writeFile(garbage, "these are no pixels");
    for (const auto& path : {garbage, t.home() / "missing.jpg"}) {
        SCOPED_TRACE(path.string());
        EXPECT_EQ(QtImageSource::loadImageFile(path), std::nullopt);
        const auto lines = t.logLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back().rfind("QtImageSource: cannot read " + path.string() + ": ", 0), 0u) << lines.back();
    }
}

}  // namespace
}  // namespace kelpa::testing
