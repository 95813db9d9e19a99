#include "QtTestApplication.h"
#include "TestEnvironment.h"
#include "gui/backends/DesktopUrlOpener.h"

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include <gtest/gtest.h>

namespace kelpa::testing {
namespace {

// Takes the URLs the desktop would open, so that no browser starts.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

class DesktopUrlOpenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureQtApplication();
        for (const auto* scheme : {"http", "https"}) QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
    }
    void TearDown() override {
        for (const auto* scheme : {"http", "https"}) QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

    TestEnvironment t;
    UrlCatcher catcher;
    platform::ui::DesktopUrlOpener opener;
};

TEST_F(DesktopUrlOpenerTest, TheURLReachesTheDesktopUnchanged) {
    const std::string url = "https://maps.example.org/?daddr=48.500000,11.250000";
    EXPECT_TRUE(opener.openURL(url));
    ASSERT_EQ(catcher.opened.size(), 1u);
    EXPECT_EQ(catcher.opened[0].toString(QUrl::FullyEncoded).toStdString(), url);
    EXPECT_TRUE(t.logLines().empty());
}

TEST_F(DesktopUrlOpenerTest, TextThatIsNoURLIsRefusedWithALogLine) {
    for (const std::string text : {"", "not a url", "http://exa mple.org/", "//maps.example.org/?daddr=1,2"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(opener.openURL(text));
        EXPECT_TRUE(t.logged("DesktopUrlOpener: not a URL: " + text));
    }
    EXPECT_TRUE(catcher.opened.empty());
}

TEST_F(DesktopUrlOpenerTest, AURLNobodyOpensIsReported) {
    // The offscreen platform has no desktop to hand an unknown scheme to.
    EXPECT_FALSE(opener.openURL("kelpa-nothing://there"));
    EXPECT_TRUE(t.logged("DesktopUrlOpener: the desktop did not open kelpa-nothing://there"));
}

}  // namespace
}  // namespace kelpa::testing

#include "DesktopUrlOpenerTest.moc"
