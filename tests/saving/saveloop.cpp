// Saves one file again and again, alternating between two contents, until it is killed or
// has saved the given number of times. The test kills it at random moments.
//   zmx_saveloop project PROJECT_FILE COMPILERS_FOLDER ROUNDS
//   zmx_saveloop source FILE ROUNDS
#include "build/buildconfiglist.h"
#include "editor/textfile.h"
#include "projects/project.h"

#include <QCoreApplication>

namespace {

// Two contents that differ in length as well as in bytes, so that a cut file matches neither.
QString content(int round)
{
    return round % 2 == 0 ? QStringLiteral("first content\n").repeated(40000)
                          : QStringLiteral("second, longer content\n").repeated(50000);
}

}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() == 5 && arguments.at(1) == QLatin1String("project")) {
        BuildConfigList compilers(nullptr);
        compilers.loadAll(arguments.at(3));
        Project project(&compilers, nullptr);
        if (!project.load(arguments.at(2)))
            return 2;
        for (int round = 0; round < arguments.at(4).toInt(); ++round) {
            project.setDescription(content(round));
            project.setModified(true);
            if (!project.save())
                return 3;
        }
        return 0;
    }
    if (arguments.size() == 4 && arguments.at(1) == QLatin1String("source")) {
        for (int round = 0; round < arguments.at(3).toInt(); ++round) {
            if (!TextFile::write(arguments.at(2), content(round), TextFile::Encoding::Utf8))
                return 3;
        }
        return 0;
    }
    return 1;
}
