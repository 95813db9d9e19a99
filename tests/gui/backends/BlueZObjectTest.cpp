#include "gui/backends/BlueZAdvertisement.h"
#include "gui/backends/BlueZGattApplication.h"
#include "tests/platform/bluetooth/BluetoothTestDelegates.h"

#include <QDBusVariant>

#include <gtest/gtest.h>

namespace kelpa::platform {
namespace {

const QString kPath = QStringLiteral("/org/kelpa/test/advertisement1");
const QString kAppPath = QStringLiteral("/org/kelpa/test/application1");

QDBusMessage call(const QString& path, const char* interface, const char* member, const QVariantList& arguments = {}) {
    auto message = QDBusMessage::createMethodCall(QStringLiteral("org.kelpa.test"), path, QString::fromLatin1(interface),
                                                  QString::fromLatin1(member));
    message.setArguments(arguments);
    return message;
}

QString errorOf(const std::optional<QDBusMessage>& reply) {
    return reply && reply->type() == QDBusMessage::ErrorMessage ? reply->errorName() : QString();
}

TEST(BlueZObjectTest, AnAdvertisementWithoutNameCarriesNoLocalName) {
    BlueZAdvertisement advertisement(QDBusObjectPath(kPath), RadioAdvertisement{{}, std::nullopt}, nullptr);
    const auto properties = advertisement.properties();
    EXPECT_FALSE(properties.contains(QStringLiteral("LocalName")));
    EXPECT_EQ(properties.value(QStringLiteral("ServiceUUIDs")).toStringList(), QStringList());

    BlueZAdvertisement emptyName(QDBusObjectPath(kPath), RadioAdvertisement{{}, std::string()}, nullptr);
    EXPECT_FALSE(emptyName.properties().contains(QStringLiteral("LocalName")));
}

TEST(BlueZObjectTest, PropertiesAreReadOneByOneAndNeverWritten) {
    BlueZAdvertisement advertisement(QDBusObjectPath(kPath),
                                     RadioAdvertisement{{testing::kelpaService()}, std::string("group-42")}, nullptr);
    auto one = advertisement.answer(call(kPath, bluez::propertiesInterface, "Get",
                                         {QString::fromLatin1(bluez::advertisementInterface), QStringLiteral("LocalName")}));
    ASSERT_TRUE(one && one->type() == QDBusMessage::ReplyMessage);
    EXPECT_EQ(one->arguments().value(0).value<QDBusVariant>().variant().toString(), QStringLiteral("group-42"));

    struct Case {
        const char* member;
        QVariantList arguments;
        const char* error;
    };
    const auto iface = QString::fromLatin1(bluez::advertisementInterface);
    for (const auto& c : {
             Case{"Get", {iface, QStringLiteral("Appearance")}, "org.freedesktop.DBus.Error.UnknownProperty"},
             Case{"GetAll", {QStringLiteral("org.bluez.Other1")}, "org.freedesktop.DBus.Error.UnknownInterface"},
             Case{"Set", {iface, QStringLiteral("LocalName"), QVariant::fromValue(QDBusVariant(QStringLiteral("x")))},
                  "org.freedesktop.DBus.Error.PropertyReadOnly"},
         }) {
        SCOPED_TRACE(c.member);
        EXPECT_EQ(errorOf(advertisement.answer(call(kPath, bluez::propertiesInterface, c.member, c.arguments))),
                  QString::fromLatin1(c.error));
    }
    EXPECT_EQ(errorOf(advertisement.answer(call(kPath + QStringLiteral("/below"), bluez::propertiesInterface, "GetAll",
                                                {iface}))),
              QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"));
}

TEST(BlueZObjectTest, ReleaseTellsTheRadioAndOtherMethodsAreLeftToQt) {
    int released = 0;
    BlueZAdvertisement advertisement(QDBusObjectPath(kPath), RadioAdvertisement{}, [&] { ++released; });
    auto reply = advertisement.answer(call(kPath, bluez::advertisementInterface, "Release"));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(released, 1);
    EXPECT_FALSE(advertisement.answer(call(kPath, "org.freedesktop.DBus.Introspectable", "Introspect")));
    EXPECT_FALSE(advertisement.answer(call(kPath, bluez::advertisementInterface, "Other")));
}

TEST(BlueZObjectTest, IntrospectionDescribesTheObjects) {
    BlueZAdvertisement advertisement(QDBusObjectPath(kPath), RadioAdvertisement{{testing::kelpaService()}, std::string("g")},
                                     nullptr);
    const auto xml = advertisement.introspect(kPath);
    EXPECT_TRUE(xml.contains(QStringLiteral("<interface name=\"org.bluez.LEAdvertisement1\">")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<method name=\"Release\"/>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<property name=\"ServiceUUIDs\" type=\"as\" access=\"read\"/>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<property name=\"LocalName\" type=\"s\" access=\"read\"/>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<property name=\"Discoverable\" type=\"b\" access=\"read\"/>")));

    BlueZGattApplication application(QDBusObjectPath(kAppPath), *testing::makeKelpaService());
    const auto root = application.introspect(kAppPath);
    EXPECT_TRUE(root.contains(QStringLiteral("<interface name=\"org.freedesktop.DBus.ObjectManager\">")));
    EXPECT_TRUE(root.contains(QStringLiteral("<node name=\"service0\"/>")));
    const auto service = application.introspect(application.servicePath().path());
    EXPECT_TRUE(service.contains(QStringLiteral("<node name=\"char0\"/>")));
    const auto characteristic = application.introspect(application.characteristicPath(0).path());
    EXPECT_TRUE(characteristic.contains(QStringLiteral("<property name=\"Service\" type=\"o\" access=\"read\"/>")));
    EXPECT_TRUE(characteristic.contains(QStringLiteral("<method name=\"ReadValue\">")));
}

TEST(BlueZObjectTest, ACharacteristicWithAValueOffersItAndReadsIt) {
    auto service = MutableService::initWithType(testing::kelpaService(), false);
    service->setCharacteristics({MutableCharacteristic::initWithType(
        BluetoothUUID::UUIDWithString("2A00"), 0x02, std::string("kelpa"), MutableCharacteristic::permissionReadable)});
    BlueZGattApplication application(QDBusObjectPath(kAppPath), *service);
    const auto objects = application.objects();
    const auto characteristic = objects.value(application.characteristicPath(0))
                                    .value(QString::fromLatin1(bluez::gattCharacteristicInterface));
    EXPECT_EQ(characteristic.value(QStringLiteral("Value")).toByteArray(), QByteArray("kelpa"));
    EXPECT_EQ(characteristic.value(QStringLiteral("UUID")).toString(), QStringLiteral("00002a00-0000-1000-8000-00805f9b34fb"));
    EXPECT_EQ(objects.value(application.servicePath())
                  .value(QString::fromLatin1(bluez::gattServiceInterface))
                  .value(QStringLiteral("Primary")),
              QVariant(false));

    auto read = application.answer(call(application.characteristicPath(0).path(), bluez::gattCharacteristicInterface,
                                        "ReadValue", {QVariantMap{}}));
    ASSERT_TRUE(read && read->type() == QDBusMessage::ReplyMessage);
    EXPECT_EQ(read->arguments().value(0).toByteArray(), QByteArray("kelpa"));
    // The service object has no characteristic methods.
    EXPECT_FALSE(application.answer(
        call(application.servicePath().path(), bluez::gattCharacteristicInterface, "ReadValue", {QVariantMap{}})));
}

}  // namespace
}  // namespace kelpa::platform
