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
};

#endif
