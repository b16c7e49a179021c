#include "testregistry.h"

#include <QDir>
#include <QDirIterator>
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
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    if (!process.waitForFinished(180000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, QString::fromLocal8Bit(process.readAll())};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// "a (>= 1), b | c" -> a, b, c
QStringList packageNames(const QString &relation)
{
    QStringList names;
    const QStringList alternatives = relation.split(QRegularExpression(QStringLiteral("[,|]")), Qt::SkipEmptyParts);
    for (const QString &alternative : alternatives)
        names << alternative.trimmed().section(QLatin1Char(' '), 0, 0);
    return names;
}

}

// The Debian package, built from this tree by `cpack -G DEB`: what it declares, what it holds,
// and that the program it installs runs where it is unpacked.
class PackageTest : public QObject
{
    Q_OBJECT

    QTemporaryDir work;
    QString deb;
    QHash<QString, QString> control;
    QStringList files; // "./opt/..." paths, links as "path -> target"

    QString unpacked(const QString &path) const { return work.filePath(QStringLiteral("root") + path); }
    QString program() const { return unpacked(QStringLiteral(ZMX_PACKAGE_PREFIX "/bin/zmxstudio")); }

    // Settings of the user and of the machine in folders of their own; German or English.
    QProcessEnvironment isolated(const QString &name, const QString &locale = QStringLiteral("C.UTF-8")) const
    {
        for (const char *folder : {"/home", "/user", "/machine"})
            QDir().mkpath(work.filePath(name + QLatin1String(folder)));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("LANGUAGE"));
        environment.insert(QStringLiteral("LC_ALL"), locale);
        environment.insert(QStringLiteral("HOME"), work.filePath(name + QStringLiteral("/home")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(name + QStringLiteral("/user")));
        environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), work.filePath(name + QStringLiteral("/machine")));
        return environment;
    }

    QString copyBoard(const QString &board, const QString &target) const
    {
        const QString from = unpacked(QStringLiteral(ZMX_PACKAGE_PREFIX "/devboards/") + board);
        QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString copy = target + QLatin1Char('/') + QDir(from).relativeFilePath(file);
            QDir().mkpath(QFileInfo(copy).absolutePath());
            if (!QFile::copy(file, copy))
                return QString();
        }
        return target;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        const Result packed = run(QStringLiteral(ZMX_CPACK), {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"),
                                                              work.filePath(QStringLiteral("out")), QStringLiteral("--config"),
                                                              QStringLiteral(ZMX_BUILD_DIR "/CPackConfig.cmake")});
        QVERIFY2(packed.exitCode == 0, qPrintable(packed.output));
        const QStringList debs = QDir(work.filePath(QStringLiteral("out"))).entryList({QStringLiteral("*.deb")});
        QCOMPARE(debs.size(), 1);
        deb = work.filePath(QStringLiteral("out/") + debs.first());

        const Result fields = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), deb});
        QCOMPARE(fields.exitCode, 0);
        QString key;
        for (const QString &line : fields.output.split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1Char(' ')) && !key.isEmpty()) {
                control[key] += QLatin1Char('\n') + line;
            } else if (line.contains(QLatin1Char(':'))) {
                key = line.section(QLatin1Char(':'), 0, 0);
                control.insert(key, line.section(QLatin1Char(':'), 1).trimmed());
            }
        }
        const Result listing = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), deb});
        QCOMPARE(listing.exitCode, 0);
        for (const QString &line : listing.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            files << line.section(QRegularExpression(QStringLiteral("\\s+")), 5);

        QCOMPARE(run(QStringLiteral("dpkg-deb"), {QStringLiteral("--extract"), deb, work.filePath(QStringLiteral("root"))}).exitCode, 0);
        QCOMPARE(run(QStringLiteral("dpkg-deb"), {QStringLiteral("--control"), deb, work.filePath(QStringLiteral("control"))}).exitCode, 0);
    }

    void controlFields()
    {
        QCOMPARE(control.value(QStringLiteral("Package")), QStringLiteral("zmxstudio"));
        QCOMPARE(control.value(QStringLiteral("Version")), QStringLiteral(ZMX_VERSION));
        QCOMPARE(control.value(QStringLiteral("Architecture")),
                 run(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")}).output.trimmed());
        QCOMPARE(control.value(QStringLiteral("Section")), QStringLiteral("devel"));
        QVERIFY(control.value(QStringLiteral("Maintainer")).contains(QLatin1Char('<')));
        QVERIFY(control.value(QStringLiteral("Description")).contains(QLatin1Char('\n')));

        // The libraries the programs load, found by dpkg-shlibdeps, and make; nothing to build with.
        const QStringList depends = packageNames(control.value(QStringLiteral("Depends")));
        for (const char *needed : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6xml6", "libqt6printsupport6",
                                   "libqt6network6", "libqscintilla2-qt6-15", "libsimavr2", "make", "libc6", "libstdc++6"})
            QVERIFY2(depends.contains(QLatin1String(needed)), needed);
        for (const QString &name : depends)
            QVERIFY2(!name.endsWith(QLatin1String("-dev")) && name != QLatin1String("libqt6test6"), qPrintable(name));
        QVERIFY2(control.value(QStringLiteral("Depends")).contains(QRegularExpression(QStringLiteral("libqt6core6 \\(>= 6"))),
                 qPrintable(control.value(QStringLiteral("Depends"))));

        QCOMPARE(packageNames(control.value(QStringLiteral("Recommends"))),
                 (QStringList{QStringLiteral("gcc-avr"), QStringLiteral("avr-libc"), QStringLiteral("binutils-avr"),
                              QStringLiteral("sdcc"), QStringLiteral("gputils"), QStringLiteral("simavr"),
                              QStringLiteral("sdcc-ucsim"), QStringLiteral("gpsim"), QStringLiteral("qt6-translations-l10n")}));
    }

    void fileList()
    {
        const QString prefix = QStringLiteral("." ZMX_PACKAGE_PREFIX "/");
        const QStringList expected = {
            prefix + QStringLiteral("bin/zmxstudio"), prefix + QStringLiteral("bin/tolvane"),
            prefix + QStringLiteral("vask/bin/vask"), prefix + QStringLiteral("translations/SrcManager_de.qm"),
            prefix + QStringLiteral("compilers/avr_gcc.xml"), prefix + QStringLiteral("syntax/"),
            prefix + QStringLiteral("simulator/"), prefix + QStringLiteral("devboards/avr_atmega328p/ATmega328P_Board.zmxp"),
            prefix + QStringLiteral("vask/SAMPLES/"),
            QStringLiteral("./usr/bin/zmxstudio -> " ZMX_PACKAGE_PREFIX "/bin/zmxstudio"),
            QStringLiteral("./usr/bin/tolvane -> " ZMX_PACKAGE_PREFIX "/bin/tolvane"),
            QStringLiteral("./usr/share/applications/zmxstudio.desktop"),
            QStringLiteral("./usr/share/mime/packages/zmxstudio.xml"),
            QStringLiteral("./usr/share/icons/hicolor/scalable/apps/zmxstudio.svg"),
        };
        for (const QString &path : expected)
            QVERIFY2(files.contains(path), qPrintable(path));
        for (int size : {16, 32, 48, 64, 128, 256}) {
            const QString icon = QStringLiteral("./usr/share/icons/hicolor/%1x%1/apps/zmxstudio.png").arg(size);
            QVERIFY2(files.contains(icon), qPrintable(icon));
        }
        // Only the installation and the desktop's files, and the folders above them; nothing of
        // the tests or the benchmarks.
        const QStringList places = {prefix, QStringLiteral("./usr/bin/"), QStringLiteral("./usr/share/applications/"),
                                    QStringLiteral("./usr/share/mime/"), QStringLiteral("./usr/share/icons/")};
        for (const QString &path : std::as_const(files)) {
            const bool inPlace = std::any_of(places.cbegin(), places.cend(), [&](const QString &place) {
                return path.startsWith(place) || (path.endsWith(QLatin1Char('/')) && place.startsWith(path));
            });
            QVERIFY2(inPlace, qPrintable(path));
            QVERIFY2(!path.contains(QLatin1String("tst_")) && !path.contains(QLatin1String("bench"))
                         && !path.contains(QLatin1String("standin")),
                     qPrintable(path));
        }
    }

    void installerDetectsToolChainsForTheMachine()
    {
        // The package's own script, pointed at the unpacked program: what dpkg runs on install.
        const QString postinst = work.filePath(QStringLiteral("control/postinst"));
        const QString script = readText(postinst);
        QVERIFY(script.contains(QLatin1String("--scan_compilers_admin --quit")));
        QVERIFY(QFileInfo(postinst).isExecutable());
        const QString local = work.filePath(QStringLiteral("postinst"));
        QFile copy(local);
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.write(QString(script).replace(QStringLiteral(ZMX_PACKAGE_PREFIX "/"),
                                           unpacked(QStringLiteral(ZMX_PACKAGE_PREFIX "/"))).toUtf8());
        copy.close();
        const Result installed = run(QStringLiteral("sh"), {local, QStringLiteral("configure")}, isolated(QStringLiteral("dpkg")));
        QVERIFY2(installed.exitCode == 0 && installed.output.isEmpty(), qPrintable(installed.output));
        const QString machine = readText(work.filePath(QStringLiteral("dpkg/machine/Dravenhol Electronics/ZMX Studio.conf")));
        QVERIFY2(machine.contains(QLatin1String("AVR GCC")), qPrintable(machine));
        QVERIFY(!QFile::exists(work.filePath(QStringLiteral("dpkg/user/Dravenhol Electronics/ZMX Studio.conf"))));

        // Later tool chains trigger the detection again.
        const QString triggers = readText(work.filePath(QStringLiteral("control/triggers")));
        for (const char *tool : {"/usr/bin/avr-gcc", "/usr/bin/sdcc", "/usr/bin/gpasm"})
            QVERIFY2(triggers.contains(QStringLiteral("interest-noawait ") + QLatin1String(tool)), tool);
        QVERIFY(readText(work.filePath(QStringLiteral("control/postrm"))).contains(QLatin1String("purge")));
    }

    void unpackedProgramBuildsABoard()
    {
        const Result version = run(program(), {QStringLiteral("--version")}, isolated(QStringLiteral("version")));
        QCOMPARE(version.exitCode, 0);
        QVERIFY2(version.output.contains(QLatin1String(ZMX_VERSION)), qPrintable(version.output));

        // Tool chains detected for the machine serve a user who never detected any; the
        // translation comes from the installation, whatever the working directory.
        const QProcessEnvironment german = isolated(QStringLiteral("board"), QStringLiteral("de_DE.UTF-8"));
        const Result scanned = run(program(), {QStringLiteral("--scan_compilers_admin"), QStringLiteral("--quit")}, german);
        QCOMPARE(scanned.exitCode, 0);
        const QString board = copyBoard(QStringLiteral("avr_atmega328p"), work.filePath(QStringLiteral("board/project")));
        QVERIFY(!board.isEmpty());
        const Result built = run(program(), {QStringLiteral("--build"), board + QStringLiteral("/ATmega328P_Board.zmxp")},
                                 german, work.filePath(QStringLiteral("board")));
        QVERIFY2(built.exitCode == 0, qPrintable(built.output));
        QVERIFY2(built.output.contains(QLatin1String("Erfolgreich kompiliert.")), qPrintable(built.output));
        QVERIFY(QFileInfo(board + QStringLiteral("/Debug/Debug.hex")).size() > 0);
    }

    void desktopEntryAndFileType()
    {
        const QString entry = unpacked(QStringLiteral("/usr/share/applications/zmxstudio.desktop"));
        const Result validated = run(QStringLiteral("desktop-file-validate"), {entry});
        QVERIFY2(validated.exitCode == 0 && validated.output.trimmed().isEmpty(), qPrintable(validated.output));
        const QString desktop = readText(entry);
        QVERIFY(desktop.contains(QLatin1String("\nExec=zmxstudio %f\n")));
        QVERIFY(desktop.contains(QLatin1String("\nIcon=zmxstudio\n")));
        QVERIFY(desktop.contains(QLatin1String("\nMimeType=application/x-zmxstudio-project;\n")));

        const QString types = unpacked(QStringLiteral("/usr/share/mime/packages/zmxstudio.xml"));
        const Result wellFormed = run(QStringLiteral("xmllint"), {QStringLiteral("--noout"), types});
        QVERIFY2(wellFormed.exitCode == 0, qPrintable(wellFormed.output));
        // The desktop's own database compiler accepts it and learns the name and the root element.
        const QString database = work.filePath(QStringLiteral("mime"));
        QVERIFY(QDir().mkpath(database + QStringLiteral("/packages")));
        QVERIFY(QFile::copy(types, database + QStringLiteral("/packages/zmxstudio.xml")));
        const Result updated = run(QStringLiteral("update-mime-database"), {database});
        QVERIFY2(updated.exitCode == 0 && !updated.output.contains(QLatin1String("rror")), qPrintable(updated.output));
        QVERIFY(readText(database + QStringLiteral("/globs2")).contains(QLatin1String(":application/x-zmxstudio-project:*.zmxp\n")));
        QVERIFY(readText(database + QStringLiteral("/XMLnamespaces")).contains(QLatin1String(" PROJECT application/x-zmxstudio-project\n")));
    }
};

ZMX_TEST(PackageTest)

#include "tst_package.moc"
