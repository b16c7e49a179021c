#include "app/srcmanager.h"
#include "build/buildconfig.h"
#include "build/buildconfiglist.h"
#include "build/compilerdetector.h"
#include "editor/outtextedit.h"
#include "editor/outwindow.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"
#include "projects/projectsmanager.h"
#include "testregistry.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QUrl>

namespace {

bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

bool replaceInFile(const QString &path, const QByteArray &before, const QByteArray &after)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray text = file.readAll();
    if (!text.contains(before))
        return false;
    text.replace(before, after);
    file.resize(0);
    return file.write(text) == text.size();
}

// The targets of the links in the output window, in order.
QStringList linkTargets(const OutWindow *output)
{
    QStringList targets;
    for (QTextBlock block = output->textEdit()->document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QString href = fragment.fragment().charFormat().anchorHref();
            if (!href.isEmpty() && !targets.contains(href))
                targets.append(href);
        }
    }
    return targets;
}

}

// The road of a build through the real window: Build Project, the output window's link
// to the compiler's message, the click that opens the file there, and Stop Build.
class GuiBuildTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *work = nullptr;

    QString at(const QString &relative) const { return work->filePath(relative); }

private slots:
    void init()
    {
        QSettings(QSettings::UserScope, QStringLiteral("Dravenhol Electronics"), QStringLiteral("ZMX Studio")).clear();
        work = new QTemporaryDir;
    }

    void cleanup() { delete work; }

    void buildLinksTheErrorAndTheLinkOpensItsLine()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("make")).isEmpty())
            QSKIP("make is not installed");
        SrcManager window;
        BuildConfig *avr = window.projects()->buildConfigList()->find(QStringLiteral("AVR GCC"));
        QVERIFY(avr);
        const DetectionResult detected = CompilerDetector(&window).detect(*avr);
        if (!detected.detected())
            QSKIP("The AVR GCC tool chain is not installed");
        avr->storeDetection(true, detected.directory);

        QVERIFY(copyTree(QStringLiteral(ZMX_FIXTURES "/e2e/avr"), work->path()));
        QVERIFY(replaceInFile(at(QStringLiteral("src/led.c")), "PORTB ^= _BV(PB5);", "PORTB ^= _BV(PB5)"));
        window.openProject(at(QStringLiteral("blink.zmxp")));
        QCOMPARE(window.projects()->projectCount(), 1);

        window.action(SrcManager::BuildProject)->trigger();
        const QString ledC = at(QStringLiteral("src/led.c"));
        QVERIFY2(linkTargets(window.output()).contains(ledC + QStringLiteral("#12.0")),
                 qPrintable(window.output()->textEdit()->toPlainText()));
        QVERIFY(window.output()->textEdit()->toPlainText().contains(QStringLiteral("Error code 2")));
        QVERIFY(window.action(SrcManager::BuildProject)->isEnabled());

        // The compiler counts lines from 1, the link and the editor from 0: the cursor lands
        // on the line the compiler named.
        QTextBrowser *browser = window.output()->textEdit();
        emit browser->anchorClicked(QUrl(ledC + QStringLiteral("#12.0")));
        SourceEditor *editor = window.tabs()->findEditor(ledC);
        QVERIFY(editor);
        int line = -1;
        int index = -1;
        editor->getCursorPosition(&line, &index);
        QCOMPARE(line, 12);
        QCOMPARE(index, 0);
        QCOMPARE(editor->text(line).trimmed(), QStringLiteral("}"));
    }

    void stopBuildEndsMakeWhileTheWindowStaysAlive()
    {
        SrcManager window;
        const QString tools = at(QStringLiteral("tools"));
        QDir().mkpath(tools);
        QFile make(tools + QStringLiteral("/make"));
        QVERIFY(make.open(QIODevice::WriteOnly));
        make.write("#!/bin/sh\necho started\nexec sleep 600\n");
        make.close();
        make.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        window.setToolsDirectory(tools);
        window.projects()->buildConfigList()->find(QStringLiteral("AVR GCC"))->storeDetection(true, QStringLiteral("/usr/bin"));
        QVERIFY(copyTree(QStringLiteral(ZMX_FIXTURES "/e2e/avr"), work->path()));
        window.openProject(at(QStringLiteral("blink.zmxp")));

        // What the user does once make has said something: press Stop Build.
        bool stopEnabled = false;
        QTextDocument *text = window.output()->textEdit()->document();
        connect(text, &QTextDocument::contentsChanged, this, [&] {
            if (!stopEnabled && text->toPlainText().contains(QStringLiteral("started"))) {
                stopEnabled = window.action(SrcManager::StopBuild)->isEnabled();
                window.action(SrcManager::StopBuild)->trigger();
            }
        });
        window.action(SrcManager::BuildProject)->trigger();
        QVERIFY(stopEnabled);
        QVERIFY(text->toPlainText().contains(QStringLiteral("Build aborted by user")));
        QVERIFY(!window.action(SrcManager::StopBuild)->isEnabled());
    }
};

ZMX_TEST(GuiBuildTest)

#include "tst_guibuild.moc"
