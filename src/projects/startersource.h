#ifndef STARTERSOURCE_H
#define STARTERSOURCE_H

#include <QCoreApplication>
#include <QHash>
#include <QString>

class BuildConfig;

// The first source file of a new, empty project, written from the template that a compiler
// configuration may bring: the single file in "starters/<configuration file's base name>/"
// beside it (main.c for a C tool chain, main.asm for an assembler). Placeholders
// %PROJECT%, %FAMILY%, %CONTROLLER% and %CLOCK% take the new project's values.
class StarterSource
{
    Q_DECLARE_TR_FUNCTIONS(StarterSource)

public:
    // The template of the configuration; empty when it brings none.
    static QString templatePath(const BuildConfig *compiler);

    // The template's text with every placeholder replaced.
    static QString fill(const QString &text, const QHash<QString, QString> &values);

    // Writes the filled template into directory under the template's name and answers its
    // path. An existing file of that name is never written: existed tells, and its path is
    // answered as it is. Empty, with the reason in error, when nothing could be written.
    static QString write(const QString &templatePath, const QString &directory,
                         const QHash<QString, QString> &values, bool &existed, QString &error);
};

#endif
