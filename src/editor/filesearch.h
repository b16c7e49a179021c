#ifndef FILESEARCH_H
#define FILESEARCH_H

#include "editor/searchpattern.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <atomic>

// One pass of a search over files on disk that no editor shows, file by file. run() does
// the work in the calling thread; a BackgroundSearch runs it beside the event loop. Only
// cancel() and filesDone() are for other threads while it runs.
class FileSearch
{
public:
    enum Kind {
        FirstMatch, // stops at the first file that holds a match
        CountAll,   // counts the matches of every file
        ReplaceAll  // replaces every match and writes the changed files back
    };

    struct FileResult
    {
        QString path;
        qsizetype matches = 0;
        // Why the file could not be read or written; empty when all went well.
        QString error;
        bool unreadable = false;
    };

    FileSearch(const SearchPattern &pattern, const QStringList &files, Kind kind,
               const QString &replaceText = QString());

    void run();
    void cancel() { cancelRequested = true; }
    // Whether a cancel stopped the pass before it was through.
    bool wasCancelled() const { return stoppedEarly; }
    int fileCount() const { return int(files.size()); }
    int filesDone() const { return done; }

    // Files with matches or errors, in the order searched.
    const QList<FileResult> &results() const { return results_; }
    qsizetype totalMatches() const;
    // The index in the file list of the first file with a match, -1 when none has one.
    int firstMatchIndex() const { return firstMatch; }

private:
    void searchFile(int index);
    // Matches in the bytes just read: all of them, or 1 for the first.
    qsizetype countMatches(bool firstOnly);
    // Puts the lines that hold the pattern's required bytes into `lines`; false when one of
    // them must be decoded with the whole file.
    bool collectCandidateLines();
    // Replaces in the bytes just read and writes the file back; the replacements made.
    qsizetype replaceInFile(FileResult &result);

    SearchPattern pattern;
    QStringList files;
    Kind kind;
    QString replaceText;
    QList<FileResult> results_;
    int firstMatch = -1;
    std::atomic<bool> cancelRequested{false};
    bool stoppedEarly = false;
    std::atomic<int> done{0};
    // Kept from file to file, so that a pass over many files allocates little.
    QByteArray bytes;
    QString lines;
};

#endif
