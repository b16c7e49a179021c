#include "platform/buildtools.h"
#include "platform/registry.h"
#include "platform/simulatorwindow.h"
#include "testregistry.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>
#include <QTest>
#include <QtEndian>

namespace {

// Serves one presence probe and one message on its own thread, since the sender blocks
// until the reply arrives.
class SimulatorStandIn : public QThread
{
public:
    explicit SimulatorStandIn(const QString &name) : name(name) {}

    QSemaphore ready;
    QByteArray received;

protected:
    void run() override
    {
        QLocalServer server;
        QLocalServer::removeServer(name);
        const bool listening = server.listen(name);
        ready.release();
        if (!listening)
            return;
        for (int connection = 0; connection < 2; ++connection) {
            if (!server.waitForNewConnection(10000))
                return;
            QLocalSocket *client = server.nextPendingConnection();
            while (client->bytesAvailable() < 12 && client->waitForReadyRead(2000)) {
            }
            if (client->bytesAvailable() >= 12) {
                received = client->read(12);
                client->write("1");
                client->waitForBytesWritten(2000);
                client->waitForDisconnected(2000);
            }
            delete client;
        }
    }

private:
    QString name;
};

}

class PlatformTest : public QObject
{
    Q_OBJECT

private slots:
    void makeProgramPrefersTheToolsDirectory()
    {
        QTemporaryDir tools;
        QCOMPARE(Platform::makeProgram(tools.path()), QStandardPaths::findExecutable(QStringLiteral("make")));
        QFile shipped(tools.filePath(QStringLiteral("make")));
        QVERIFY(shipped.open(QIODevice::WriteOnly));
        shipped.close();
        // Not executable: still the one on PATH.
        QCOMPARE(Platform::makeProgram(tools.path()), QStandardPaths::findExecutable(QStringLiteral("make")));
        shipped.setPermissions(shipped.permissions() | QFile::ExeOwner);
        QCOMPARE(Platform::makeProgram(tools.path()), tools.filePath(QStringLiteral("make")));
        QCOMPARE(Platform::pathListSeparator(), QLatin1Char(':'));
        QCOMPARE(Platform::makefileShell(), QStringLiteral("/bin/sh"));
    }

    void memoryRegistryMatchesKeysWithoutLetterCase()
    {
        Platform::MemoryRegistry registry;
        registry.setValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\Tool"), QStringLiteral("Path"), QStringLiteral("/a"));
        registry.setValue(QStringLiteral("HKEY_LOCAL_MACHINE/software/maker/Other"), QStringLiteral("Path"), QStringLiteral("/b"));
        QCOMPARE(registry.childGroups(QStringLiteral("hkey_local_machine\\Software\\MAKER\\")), (QStringList{"Tool", "Other"}));
        QCOMPARE(registry.value(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\tool"), QStringLiteral("path")).toString(),
                 QStringLiteral("/a"));
        QCOMPARE(registry.childKeys(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\Tool")), QStringList{"Path"});
        QVERIFY(registry.childGroups(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Nobody")).isEmpty());
        QVERIFY(!registry.value(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker"), QStringLiteral("Path")).isValid());
    }

    void simulatorMessagesWaitForTheReply()
    {
        const qint64 fakePid = QCoreApplication::applicationPid();
        QVERIFY(!Platform::simulatorWindowExists(fakePid));
        QCOMPARE(Platform::sendSimulatorMessage(fakePid, 0x590, 4, 0), Platform::SimulatorReply::NoWindow);

        SimulatorStandIn standIn(QStringLiteral("VASK-%1").arg(fakePid));
        standIn.start();
        QVERIFY(standIn.ready.tryAcquire(1, 10000));
        QVERIFY(Platform::simulatorWindowExists(fakePid));
        QCOMPARE(Platform::sendSimulatorMessage(fakePid, 0x590, 4, 7), Platform::SimulatorReply::Handled);
        QVERIFY(standIn.wait(10000));
        QCOMPARE(standIn.received.size(), 12);
        QCOMPARE(qFromLittleEndian<quint32>(standIn.received.constData()), 0x590u);
        QCOMPARE(qFromLittleEndian<qint32>(standIn.received.constData() + 4), 4);
        QCOMPARE(qFromLittleEndian<qint32>(standIn.received.constData() + 8), 7);
    }
};

ZMX_TEST(PlatformTest)

#include "tst_platform.moc"
