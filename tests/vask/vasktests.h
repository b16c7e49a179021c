#ifndef VASKTESTS_H
#define VASKTESTS_H

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace VaskTest {

using Factory = std::function<std::unique_ptr<QObject>()>;
bool registerTest(Factory factory);

// Writes text to path (creating folders); false when it cannot.
bool writeFile(const QString &path, const QByteArray &text);
QByteArray readFile(const QString &path);
QString firmware(const char *name);

}

#define VASK_TEST(Class) \
    static const bool Class##Registered = VaskTest::registerTest([] { return std::make_unique<Class>(); });

#endif
