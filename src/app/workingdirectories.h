#ifndef WORKINGDIRECTORIES_H
#define WORKINGDIRECTORIES_H

#include <QString>

// Where the working directories are when the settings name none: the installation's
// folders beside bin/, and a projects folder below the user's Documents.
class WorkingDirectories
{
public:
    static QString compilers();
    static QString tools();
    static QString simulator();
    static QString syntax();
    static QString devBoards();
    // The program's own translations, where an installation keeps them.
    static QString translations();
    // Not created here; the window creates it when it first stores it.
    static QString projects();

private:
    static QString besideApplication(const QString &name);
};

#endif
