#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

struct Result
{
    int exitCode = -1;
    QString output; // standard output and standard error together
};

Result run(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment = {},
           const QString &workingDirectory = {})
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    const bool ended = process.waitForFinished(180000) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, QString::fromLocal8Bit(process.readAll())};
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}

// The Debian package, built from this tree by `cpack -G DEB`: what it declares, what it holds,
// and that the program it installs runs where it is unpacked.
class PackageTest : public QObject
{
    Q_OBJECT

    QTemporaryDir work;
    QString deb;

    QString at(const QString &relative) const { return work.filePath(relative); }
    QString unpacked(const QString &path) const { return at(QStringLiteral("root") + path); }
    QString program() const { return unpacked(QStringLiteral(ZMX_PACKAGE_PREFIX "/bin/zmxstudio")); }

    // The names in a relation field: "a (>= 1), b | c" gives a, b, c.
    QStringList packages(const QString &field) const
    {
        QStringList names;
        const QString relation = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), deb, field}).output;
        for (const QString &name : relation.split(QRegularExpression(QStringLiteral("[,|]")), Qt::SkipEmptyParts))
            names << name.trimmed().section(QLatin1Char(' '), 0, 0);
        return names;
    }

    // Settings of the user and of the machine in folders of their own, in the given language.
    QProcessEnvironment isolated(const QString &name, const QString &locale = QStringLiteral("C.UTF-8")) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "LANGUAGE"})
            environment.remove(QLatin1String(variable));
        environment.insert(QStringLiteral("LC_ALL"), locale);
        for (const char *folder : {"HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"}) {
            QDir().mkpath(at(name + QLatin1Char('/') + QLatin1String(folder)));
            environment.insert(QLatin1String(folder), at(name + QLatin1Char('/') + QLatin1String(folder)));
        }
        return environment;
    }

private slots:
    void initTestCase()
    {
        const Result packed = run(QStringLiteral(ZMX_CPACK), {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"),
                                                              at(QStringLiteral("out")), QStringLiteral("--config"),
                                                              QStringLiteral(ZMX_BUILD_DIR "/CPackConfig.cmake")});
        QVERIFY2(packed.exitCode == 0, qPrintable(packed.output));
        const QStringList debs = QDir(at(QStringLiteral("out"))).entryList({QStringLiteral("*.deb")});
        QCOMPARE(debs.size(), 1);
        deb = at(QStringLiteral("out/") + debs.first());
        QCOMPARE(run(QStringLiteral("dpkg-deb"), {QStringLiteral("--extract"), deb, at(QStringLiteral("root"))}).exitCode, 0);
        QCOMPARE(run(QStringLiteral("dpkg-deb"), {QStringLiteral("--control"), deb, at(QStringLiteral("control"))}).exitCode, 0);
    }

    void controlFields()
    {
        QCOMPARE(packages(QStringLiteral("Package")), QStringList{QStringLiteral("zmxstudio")});
        QCOMPARE(packages(QStringLiteral("Version")), QStringList{QStringLiteral(ZMX_VERSION)});
        QCOMPARE(packages(QStringLiteral("Section")), QStringList{QStringLiteral("devel")});
        QCOMPARE(packages(QStringLiteral("Architecture")).value(0),
                 run(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")}).output.trimmed());

        // The libraries the programs load, as dpkg-shlibdeps finds them, and make; nothing to build with.
        const QStringList depends = packages(QStringLiteral("Depends"));
        for (const char *needed : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6xml6", "libqt6printsupport6",
                                   "libqt6network6", "libqscintilla2-qt6-15", "libsimavr2", "make", "libc6"})
            QVERIFY2(depends.contains(QLatin1String(needed)), needed);
        for (const QString &name : depends)
            QVERIFY2(!name.endsWith(QLatin1String("-dev")) && name != QLatin1String("libqt6test6"), qPrintable(name));

        QCOMPARE(packages(QStringLiteral("Recommends")),
                 (QStringList{QStringLiteral("gcc-avr"), QStringLiteral("avr-libc"), QStringLiteral("binutils-avr"),
                              QStringLiteral("sdcc"), QStringLiteral("gputils"), QStringLiteral("simavr"),
                              QStringLiteral("sdcc-ucsim"), QStringLiteral("gpsim"), QStringLiteral("qt6-translations-l10n")}));
    }

    void fileList()
    {
        QStringList files; // "./opt/...", links as "path -> target"
        const QString listing = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), deb}).output;
        for (const QString &line : listing.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            files << line.section(QRegularExpression(QStringLiteral("\\s+")), 5);
        const QString prefix = QStringLiteral("." ZMX_PACKAGE_PREFIX "/");
        QStringList expected = {QStringLiteral("./usr/bin/zmxstudio -> " ZMX_PACKAGE_PREFIX "/bin/zmxstudio"),
                                QStringLiteral("./usr/bin/tolvane -> " ZMX_PACKAGE_PREFIX "/bin/tolvane"),
                                QStringLiteral("./usr/share/applications/zmxstudio.desktop"),
                                QStringLiteral("./usr/share/mime/packages/zmxstudio.xml"),
                                QStringLiteral("./usr/share/icons/hicolor/scalable/apps/zmxstudio.svg")};
        for (const char *path : {"bin/zmxstudio", "bin/tolvane", "vask/bin/vask", "translations/SrcManager_de.qm",
                                 "compilers/avr_gcc.xml", "syntax/AVR.MAP", "simulator/avr.xml",
                                 "devboards/avr_atmega328p/ATmega328P_Board.zmxp", "vask/SAMPLES/AVR/"})
            expected << prefix + QLatin1String(path);
        for (int size : {16, 32, 48, 64, 128, 256})
            expected << QStringLiteral("./usr/share/icons/hicolor/%1x%1/apps/zmxstudio.png").arg(size);
        for (const QString &path : std::as_const(expected))
            QVERIFY2(files.contains(path), qPrintable(path));

        // Only the installation, the desktop's files and the folders above them; nothing of
        // the tests, the benchmarks or the source tree.
        const QStringList places = {prefix, QStringLiteral("./usr/bin/"), QStringLiteral("./usr/share/applications/"),
                                    QStringLiteral("./usr/share/mime/"), QStringLiteral("./usr/share/icons/")};
        static const QRegularExpression foreign(QStringLiteral("tst_|bench|standin|\\.gitkeep"));
        for (const QString &path : std::as_const(files)) {
            const bool placed = std::any_of(places.cbegin(), places.cend(), [&](const QString &place) {
                return path.startsWith(place) || (path.endsWith(QLatin1Char('/')) && place.startsWith(path));
            });
            QVERIFY2(placed && !foreign.match(path).hasMatch(), qPrintable(path));
        }
    }

    void installationDetectsToolChainsForTheMachine()
    {
        // The package's own script, pointed at the unpacked program: what dpkg runs on install.
        const QString script = readText(at(QStringLiteral("control/postinst")));
        QVERIFY(script.contains(QLatin1String("--scan_compilers_admin --quit")));
        QVERIFY(QFileInfo(at(QStringLiteral("control/postinst"))).isExecutable());
        QFile copy(at(QStringLiteral("postinst")));
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.write(QString(script).replace(QStringLiteral(ZMX_PACKAGE_PREFIX "/"), unpacked(QStringLiteral(ZMX_PACKAGE_PREFIX "/"))).toUtf8());
        copy.close();
        const Result installed = run(QStringLiteral("sh"), {copy.fileName(), QStringLiteral("configure")}, isolated(QStringLiteral("dpkg")));
        QVERIFY2(installed.exitCode == 0 && installed.output.isEmpty(), qPrintable(installed.output));
        const QString machine = readText(at(QStringLiteral("dpkg/XDG_CONFIG_DIRS/Dravenhol Electronics/ZMX Studio.conf")));
        QVERIFY2(machine.contains(QLatin1String("AVR GCC")), qPrintable(machine));
        QVERIFY(QDir(at(QStringLiteral("dpkg/XDG_CONFIG_HOME"))).isEmpty());

        // A tool chain installed or removed later runs the detection again.
        const QString triggers = readText(at(QStringLiteral("control/triggers")));
        for (const char *tool : {"/usr/bin/avr-gcc", "/usr/bin/sdcc", "/usr/bin/gpasm"})
            QVERIFY2(triggers.contains(QStringLiteral("interest-noawait ") + QLatin1String(tool)), tool);
        QVERIFY(readText(at(QStringLiteral("control/postrm"))).contains(QLatin1String("purge")));
    }

    void unpackedProgramBuildsABoard()
    {
        const Result version = run(program(), {QStringLiteral("--version")}, isolated(QStringLiteral("version")));
        QVERIFY2(version.exitCode == 0 && version.output.contains(QLatin1String(ZMX_VERSION)), qPrintable(version.output));

        // Tool chains detected for the machine serve a user who never detected any, and the
        // translation comes from the installation, whatever the working directory.
        const QProcessEnvironment german = isolated(QStringLiteral("board"), QStringLiteral("de_DE.UTF-8"));
        QCOMPARE(run(program(), {QStringLiteral("--scan_compilers_admin"), QStringLiteral("--quit")}, german).exitCode, 0);
        const QString board = at(QStringLiteral("board/avr_atmega328p"));
        QCOMPARE(run(QStringLiteral("cp"), {QStringLiteral("-r"), unpacked(QStringLiteral(ZMX_PACKAGE_PREFIX "/devboards/avr_atmega328p")),
                                           board}).exitCode, 0);
        const Result built = run(program(), {QStringLiteral("--build"), board + QStringLiteral("/ATmega328P_Board.zmxp")},
                                 german, at(QStringLiteral("board")));
        QVERIFY2(built.exitCode == 0 && built.output.contains(QLatin1String("Erfolgreich kompiliert.")), qPrintable(built.output));
        QVERIFY(QFileInfo(board + QStringLiteral("/Debug/Debug.hex")).size() > 0);
    }

    void desktopEntryAndFileType()
    {
        const QString entry = unpacked(QStringLiteral("/usr/share/applications/zmxstudio.desktop"));
        const Result validated = run(QStringLiteral("desktop-file-validate"), {entry});
        QVERIFY2(validated.exitCode == 0 && validated.output.trimmed().isEmpty(), qPrintable(validated.output));
        const QString desktop = readText(entry);
        for (const char *line : {"\nExec=zmxstudio %f\n", "\nIcon=zmxstudio\n", "\nMimeType=application/x-zmxstudio-project;\n"})
            QVERIFY2(desktop.contains(QLatin1String(line)), line);

        // The desktop's own database compiler takes the type and learns its name and root element.
        const QString types = unpacked(QStringLiteral("/usr/share/mime/packages/zmxstudio.xml"));
        const Result wellFormed = run(QStringLiteral("xmllint"), {QStringLiteral("--noout"), types});
        QVERIFY2(wellFormed.exitCode == 0, qPrintable(wellFormed.output));
        QVERIFY(QDir().mkpath(at(QStringLiteral("mime/packages"))));
        QVERIFY(QFile::copy(types, at(QStringLiteral("mime/packages/zmxstudio.xml"))));
        const Result updated = run(QStringLiteral("update-mime-database"), {at(QStringLiteral("mime"))});
        QVERIFY2(updated.exitCode == 0 && !updated.output.contains(QLatin1String("rror")), qPrintable(updated.output));
        QVERIFY(readText(at(QStringLiteral("mime/globs2"))).contains(QLatin1String(":application/x-zmxstudio-project:*.zmxp\n")));
        QVERIFY(readText(at(QStringLiteral("mime/XMLnamespaces"))).contains(QLatin1String(" PROJECT application/x-zmxstudio-project\n")));
    }
};

ZMX_TEST(PackageTest)

#include "tst_package.moc"
