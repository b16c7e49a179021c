#ifndef TESTFILES_H
#define TESTFILES_H

#include <QByteArray>
#include <QString>

// File chores the tests share: copying fixtures, reading results back.
class TestFiles
{
public:
    // Copies every file below from to the same place below to; false when one fails.
    static bool copyTree(const QString &from, const QString &to);
    // The whole file, or empty when it cannot be read.
    static QByteArray contents(const QString &path);
    // Intel HEX records only (":" and hexadecimal digits), ending with the end-of-file record.
    static bool isIntelHex(const QString &path);
    // Takes the design file (.dsn) out of a copied project file and deletes it, for tests of
    // a project that has none yet; false when the project file cannot be rewritten.
    static bool dropDesign(const QString &projectFile);
};

#endif
