#include "vasktests.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <vector>

namespace VaskTest {

namespace {

std::vector<Factory> &tests()
{
    static std::vector<Factory> registered;
    return registered;
}

}

bool registerTest(Factory factory)
{
    tests().push_back(std::move(factory));
    return true;
}

bool writeFile(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString firmware(const char *name)
{
    return QStringLiteral(VASK_FIRMWARE_DIR "/") + QLatin1String(name);
}

}

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    int failures = 0;
    for (const auto &factory : VaskTest::tests()) {
        std::unique_ptr<QObject> test = factory();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures ? 1 : 0;
}
