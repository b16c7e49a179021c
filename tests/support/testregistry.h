#ifndef TESTREGISTRY_H
#define TESTREGISTRY_H

#include <QObject>
#include <functional>
#include <memory>

namespace ZmxTest {

using Factory = std::function<std::unique_ptr<QObject>()>;

bool registerTest(const char *name, Factory factory);

}

// Adds a Qt Test class to the executable of its folder.
#define ZMX_TEST(Class)                                                                                  \
    static const bool zmxTestRegistered_##Class =                                                        \
        ZmxTest::registerTest(#Class, [] { return std::unique_ptr<QObject>(new Class); });

#endif
