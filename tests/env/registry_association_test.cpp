// File-type associations, written under the classes root and under local
// machine "SOFTWARE\Classes".
#include "env/registry.h"
#include "platform/com/com_error.h"
#include "registry_fixture.h"

using qzvenv::Registry;

namespace {

class RegistryAssociation : public env_test::RegistryTest {
protected:
    // The default value of `section` under both class locations; fails the
    // test when they differ.
    QByteArray classValue(const QString& section) {
        const auto root = env_test::readRaw(reg::HKEY_CLASSES_ROOT, section, QString());
        const auto machine = env_test::readRaw(
            reg::HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Classes\\") + section, QString());
        EXPECT_TRUE(root.found) << section.toStdString();
        EXPECT_TRUE(machine.found) << section.toStdString();
        EXPECT_EQ(root.type, reg::REG_SZ) << section.toStdString();
        EXPECT_EQ(root.data, machine.data) << section.toStdString();
        return root.data.chopped(root.data.isEmpty() ? 0 : 1);
    }
    bool classKeyExists(const QString& section) {
        return env_test::keyExists(reg::HKEY_CLASSES_ROOT, section);
    }
    Registry r;
};

TEST_F(RegistryAssociation, ProgramWithEveryVerb) {
    r.setClassKey(Registry::kCurrentUser);
    r.CreateEXEAssociation(QStringLiteral("  /opt/vorlan/bin/vorlan  "),
                           QStringLiteral("Vorlan.mp3"), QStringLiteral("MP3 Audio"),
                           QStringLiteral("mp3"), QStringLiteral("&Play in Vorlan"), true,
                           QString(), true, QStringLiteral("New &mix"), true, QString(), 2);

    EXPECT_EQ(classValue(QStringLiteral(".mp3")), "Vorlan.mp3");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.mp3")), "MP3 Audio");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.mp3\\shell\\open")), "&Play in Vorlan");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.mp3\\shell\\open\\command")),
              "\"/opt/vorlan/bin/vorlan\" \"%1\"");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.mp3\\shell\\print")), "&Print");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.mp3\\shell\\print\\command")),
              "\"/opt/vorlan/bin/vorlan\" /p \"%1\"");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.mp3\\shell\\add")), "&Install mp3");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.mp3\\shell\\add\\command")),
              "\"/opt/vorlan/bin/vorlan\" /a \"%1\"");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.mp3\\shell\\new")), "New &mix");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.mp3\\shell\\new\\command")),
              "\"/opt/vorlan/bin/vorlan\" /n \"%1\"");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.mp3\\DefaultIcon")),
              "\"/opt/vorlan/bin/vorlan\",2");
    EXPECT_EQ(r.ClassKey(), Registry::kLocalMachine);
}

TEST_F(RegistryAssociation, ProgramWithOnlyTheOpenVerb) {
    r.CreateEXEAssociation(QStringLiteral("/usr/bin/vorlan"), QStringLiteral("Vorlan.wav"),
                           QStringLiteral("Wave Audio"), QStringLiteral("wav"), QString(), false,
                           QStringLiteral("ignored"), false, QString(), false, QString(), 0);
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.wav\\shell\\open")), "&Open");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.wav\\shell\\open\\command")),
              "\"/usr/bin/vorlan\" \"%1\"");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.wav\\DefaultIcon")), "\"/usr/bin/vorlan\",0");
    for (const char* verb : {"print", "add", "new"})
        EXPECT_FALSE(classKeyExists(QStringLiteral("Vorlan.wav\\shell\\") + QLatin1String(verb)))
            << verb;
}

TEST_F(RegistryAssociation, QuotesAreAddedOnlyWhereMissingAndNoIconBelowZero) {
    r.CreateEXEAssociation(QStringLiteral("\"/opt/dj tools/vorlan\""), QStringLiteral("A.wma"),
                           QString(), QStringLiteral("wma"), QString(), false, QString(), false,
                           QString(), false, QString(), -1);
    EXPECT_EQ(classValue(QStringLiteral("A.wma\\shell\\open\\command")),
              "\"/opt/dj tools/vorlan\" \"%1\"");
    EXPECT_FALSE(classKeyExists(QStringLiteral("A.wma\\DefaultIcon")));

    r.CreateEXEAssociation(QStringLiteral("\"/opt/vorlan"), QStringLiteral("B.asf"), QString(),
                           QStringLiteral("asf"), QString(), false, QString(), false, QString(),
                           false, QString(), 1);
    EXPECT_EQ(classValue(QStringLiteral("B.asf\\DefaultIcon")), "\"/opt/vorlan\",1");
}

TEST_F(RegistryAssociation, AdditionalVerbsComeInTriples) {
    r.CreateEXEAssociation(QStringLiteral("/usr/bin/vorlan"), QStringLiteral("Vorlan.m3u"),
                           QStringLiteral("Playlist"), QStringLiteral("m3u"));

    try {
        r.CreateAdditionalEXEAssociations(QStringLiteral("Vorlan.m3u"),
                                          {QStringLiteral("enqueue"), QStringLiteral("&Enqueue"),
                                           QStringLiteral("/usr/bin/vorlan /e \"%1\""),
                                           QStringLiteral("shuffle")});
        ADD_FAILURE() << "four items were accepted";
    } catch (const com::ComError& e) {
        EXPECT_EQ(e.number(), static_cast<std::int32_t>(0x800469ACu));
        EXPECT_EQ(e.source(), QStringLiteral("qzvenv.cRegistry"));
        EXPECT_EQ(e.description(), QStringLiteral("Invalid parameter list passed to "
                                                  "CreateAdditionalEXEAssociations - expected "
                                                  "Name/Text/Command"));
    }
    EXPECT_FALSE(classKeyExists(QStringLiteral("Vorlan.m3u\\shell\\enqueue")));
    EXPECT_FALSE(classKeyExists(QStringLiteral("Vorlan.m3u\\shell\\shuffle")));

    r.CreateAdditionalEXEAssociations(QStringLiteral("Vorlan.m3u"),
                                      {QStringLiteral("enqueue"), QStringLiteral("&Enqueue"),
                                       QStringLiteral("\"/usr/bin/vorlan\" /e \"%1\""),
                                       QStringLiteral("shuffle"), QStringLiteral("&Shuffle"),
                                       QStringLiteral("\"/usr/bin/vorlan\" /s \"%1\"")});
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.m3u\\shell\\enqueue")), "&Enqueue");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.m3u\\shell\\enqueue\\command")),
              "\"/usr/bin/vorlan\" /e \"%1\"");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.m3u\\shell\\shuffle")), "&Shuffle");
    EXPECT_EQ(classValue(QStringLiteral("Vorlan.m3u\\shell\\shuffle\\command")),
              "\"/usr/bin/vorlan\" /s \"%1\"");
    EXPECT_EQ(r.ClassKey(), Registry::kLocalMachine);
}

TEST_F(RegistryAssociation, AdditionalVerbsNeedTheClass) {
    try {
        r.CreateAdditionalEXEAssociations(
            QStringLiteral("Vorlan.none"),
            {QStringLiteral("x"), QStringLiteral("&X"), QStringLiteral("cmd")});
        ADD_FAILURE() << "no error raised";
    } catch (const com::ComError& e) {
        EXPECT_EQ(e.number(), static_cast<std::int32_t>(0x800469ADu));
        EXPECT_EQ(e.source(), QStringLiteral("qzvenv.cRegistry"));
        EXPECT_EQ(e.description(),
                  QStringLiteral("Error - attempt to create additional associations before "
                                 "class defined."));
    }
    EXPECT_FALSE(classKeyExists(QStringLiteral("Vorlan.none")));
}

} // namespace
