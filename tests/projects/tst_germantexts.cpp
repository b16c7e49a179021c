#include "app/srcmanager.h"
#include "dialoganswerer.h"
#include "managerfixture.h"
#include "projects/projectsmanager.h"
#include "testregistry.h"

#include <QAction>
#include <QCoreApplication>
#include <QScopeGuard>
#include <QTest>
#include <QTranslator>

// The project commands under the German translation: translated where a translation
// exists, and the one detail of the remove question that is English in every language.
class GermanProjectTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void removeFileAsksInGermanWithItsEnglishDetail()
    {
        QTranslator german;
        QVERIFY(german.load(QStringLiteral(ZMX_BUILD_DIR "/translations/SrcManager_de.qm")));
        QVERIFY(QCoreApplication::installTranslator(&german));
        const auto restore = qScopeGuard([&german] { QCoreApplication::removeTranslator(&german); });

        ManagerFixture fixture;
        SrcManager *window = fixture.createWindow();
        QVERIFY(fixture.openTypical());
        QCOMPARE(window->action(SrcManager::RemoveFile)->text(), QStringLiteral("Datei &entfernen"));
        QCOMPARE(window->projects()->windowTitle(), QStringLiteral("Projekt"));

        fixture.select(QStringLiteral("led.c"));
        DialogAnswerer::pressButton(QMessageBox::Cancel);
        window->action(SrcManager::RemoveFile)->trigger();
        QCOMPARE(DialogAnswerer::seenTexts().last(),
                 QStringLiteral("Datei entfernen.\nThe file 'led.c' will be removed from the project."));
    }
};

ZMX_TEST(GermanProjectTextsTest)

#include "tst_germantexts.moc"
