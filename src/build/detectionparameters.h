#ifndef DETECTIONPARAMETERS_H
#define DETECTIONPARAMETERS_H

#include <QList>
#include <QPair>
#include <QString>

class Workbench;

// The parameters of one DETECT (with a CHECK's on top): ordered name/value pairs whose
// values may refer to other parameters, to environment variables, to a file found below a
// folder ("%SUB%") and to the first folder entry starting with a prefix ("%*%").
class DetectionParameters
{
public:
    explicit DetectionParameters(Workbench *workbench = nullptr);

    // Replaces the value of the first pair with that name, or appends a pair. Nothing is
    // set when name or value is empty.
    void set(const QString &name, const QString &value);
    // The value of the pair with exactly that name; empty when there is none.
    QString value(const QString &name) const;
    // The value read as an integer, 0 when absent or not a number.
    int number(const QString &name) const;
    const QList<QPair<QString, QString>> &pairs() const { return list; }

    // Expands the placeholders of value, which belongs to the parameter name, until no
    // "%" is left. Fails on a reference to the parameter itself (always reported), on an
    // unknown name when report is set, and when "%SUB%" finds nothing.
    bool resolve(const QString &name, QString &value, bool report) const;
    // Resolves every value in list order, silently; false at the first failure.
    bool resolveAll();

private:
    bool searchBelow(const QString &name, const QString &left, const QString &right, QString &value) const;
    QString wildcardMatch(const QString &name, const QString &left, const QString &right) const;
    static QString findFile(const QString &directory, QString relativePath, int depth);
    void reportCircular(const QString &name) const;

    Workbench *workbench;
    QList<QPair<QString, QString>> list;
};

#endif
