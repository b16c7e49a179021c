#include "testregistry.h"

#include "core/helpers.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <vector>

namespace ZmxTest {

namespace {

std::vector<std::pair<const char *, Factory>> &tests()
{
    static std::vector<std::pair<const char *, Factory>> registered;
    return registered;
}

}

bool registerTest(const char *name, Factory factory)
{
    tests().emplace_back(name, std::move(factory));
    return true;
}

}

// Runs every registered class; ZMX_TEST_CLASS=<name> runs only that one. Settings, the
// Documents folder and the crash message never touch the user's own.
int main(int argc, char *argv[])
{
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    const QByteArray homePath = QDir(home.path()).absolutePath().toLocal8Bit();
    qputenv("HOME", homePath);
    qputenv("XDG_CONFIG_HOME", homePath + "/config");
    qputenv("XDG_DATA_HOME", homePath + "/data");
    qputenv("XDG_DOCUMENTS_DIR", homePath + "/Documents");
    qputenv("ZMXSTUDIO_CRASH_NOTIFY", "stderr");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path() + QStringLiteral("/config"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, home.path() + QStringLiteral("/system"));
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, home.path() + QStringLiteral("/system"));

    QApplication application(argc, argv);
    initResources();
    const QByteArray only = qgetenv("ZMX_TEST_CLASS");
    int failures = 0;
    for (const auto &[name, factory] : ZmxTest::tests()) {
        if (!only.isEmpty() && only != name)
            continue;
        std::unique_ptr<QObject> test = factory();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    if (failures)
        std::fprintf(stderr, "%d test function(s) failed\n", failures);
    return failures == 0 ? 0 : 1;
}
