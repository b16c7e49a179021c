#include "editor/filesearch.h"

#include "editor/sourcefile.h"

#include <QCoreApplication>

FileSearch::FileSearch(const SearchPattern &pattern, const QStringList &files, Kind kind, const QString &replaceText)
    : pattern(pattern), files(files), kind(kind), replaceText(replaceText)
{
}

void FileSearch::run()
{
    SourceFile file;
    for (int index = 0; index < files.size(); ++index) {
        if (cancelRequested) {
            stoppedEarly = true;
            return;
        }
        searchFile(index, file);
        done = index + 1;
        if (kind == FirstMatch && firstMatch >= 0)
            return;
    }
}

void FileSearch::searchFile(int index, SourceFile &file)
{
    FileResult result;
    result.path = files.at(index);
    if (!file.load(result.path)) {
        // A file that cannot be read holds no match for a search; a replacement names it.
        if (kind == ReplaceAll) {
            result.error = file.errorString();
            result.unreadable = true;
            results_.append(result);
        }
        return;
    }
    switch (kind) {
    case FirstMatch:
        if (pattern.containsMatch(file.text())) {
            firstMatch = index;
            result.matches = 1;
            results_.append(result);
        }
        return;
    case CountAll:
        result.matches = pattern.count(file.text());
        break;
    case ReplaceAll: {
        const QString replaced = pattern.replaceAll(file.text(), replaceText, &result.matches);
        if (result.matches == 0)
            return;
        if (!file.roundTrips()) {
            result.error = QCoreApplication::translate(
                "FileSearch", "its characters cannot be written back unchanged in the encoding it was read in");
            result.matches = 0;
        } else if (!file.save(replaced)) {
            result.error = file.errorString();
            result.matches = 0;
        }
        break;
    }
    }
    if (result.matches > 0 || !result.error.isEmpty())
        results_.append(result);
}

qsizetype FileSearch::totalMatches() const
{
    qsizetype total = 0;
    for (const FileResult &result : results_)
        total += result.matches;
    return total;
}
