#include "editor/filesearch.h"

#include "editor/textfile.h"

#include <QCoreApplication>

namespace {

bool isLineEnd(char byte)
{
    return byte == '\n' || byte == '\r';
}

}

FileSearch::FileSearch(const SearchPattern &pattern, const QStringList &files, Kind kind, const QString &replaceText)
    : pattern(pattern), files(files), kind(kind), replaceText(replaceText)
{
}

void FileSearch::run()
{
    for (int index = 0; index < files.size(); ++index) {
        if (cancelRequested) {
            stoppedEarly = true;
            return;
        }
        searchFile(index);
        done = index + 1;
        if (kind == FirstMatch && firstMatch >= 0)
            return;
    }
}

void FileSearch::searchFile(int index)
{
    FileResult result;
    result.path = files.at(index);
    if (!TextFile::readBytes(result.path, bytes, &result.error)) {
        // A file that cannot be read holds no match for a search; a replacement names it.
        if (kind == ReplaceAll) {
            result.unreadable = true;
            results_.append(result);
        }
        return;
    }
    const QByteArray &required = pattern.requiredBytes();
    if (!required.isEmpty() && QByteArrayView(bytes).indexOf(required) < 0)
        return;
    result.matches = kind == ReplaceAll ? replaceInFile(result) : countMatches(kind == FirstMatch);
    if (result.matches > 0 && kind == FirstMatch)
        firstMatch = index;
    if (result.matches > 0 || !result.error.isEmpty())
        results_.append(result);
}

qsizetype FileSearch::countMatches(bool firstOnly)
{
    // A plain ASCII text in its own case is nothing but its bytes: they need no decoding.
    const SearchPattern::Options &options = pattern.options();
    if (!options.regex && options.caseSensitive && !options.wholeWords &&
        pattern.requiredBytes().size() == pattern.text().size()) {
        const QByteArrayView all(bytes);
        qsizetype matches = 0;
        for (qsizetype at = all.indexOf(pattern.requiredBytes()); at >= 0 && !(firstOnly && matches);
             at = all.indexOf(pattern.requiredBytes(), at + pattern.requiredBytes().size()))
            ++matches;
        return matches;
    }
    // Looking for one match, only the lines that may hold it are decoded; counting them all,
    // one pass of the engine over the whole text costs less than a call per line.
    if (firstOnly && !pattern.requiredBytes().isEmpty() && pattern.staysWithinLines()) {
        const int found = matchInLines();
        if (found >= 0)
            return found;
    }
    const TextFile::Content content = TextFile::decode(bytes);
    if (firstOnly)
        return pattern.containsMatch(content.text) ? 1 : 0;
    return pattern.count(content.text);
}

// Only the lines that hold the required bytes can hold a match, and when no match reaches
// over a line end, those lines are all that needs decoding and searching.
int FileSearch::matchInLines()
{
    const QByteArrayView all(bytes);
    const QByteArray &required = pattern.requiredBytes();
    qsizetype from = 0;
    while ((from = all.indexOf(required, from)) >= 0) {
        qsizetype start = from;
        while (start > 0 && !isLineEnd(all.at(start - 1)))
            --start;
        qsizetype end = from + required.size();
        while (end < all.size() && !isLineEnd(all.at(end)))
            ++end;
        // Beyond ASCII the line's characters depend on the encoding of the whole file.
        if (line.size() < end - start)
            line.resize(end - start);
        QChar *out = line.data();
        for (qsizetype at = start; at < end; ++at) {
            const uchar byte = uchar(all.at(at));
            if (byte >= 0x80)
                return -1;
            *out++ = QLatin1Char(char(byte));
        }
        if (pattern.containsMatch(QStringView(line.constData(), end - start)))
            return 1;
        from = end;
    }
    return 0;
}

qsizetype FileSearch::replaceInFile(FileResult &result)
{
    const TextFile::Content content = TextFile::decode(bytes);
    qsizetype replaced = 0;
    const QString text = pattern.replaceAll(content.text, replaceText, &replaced);
    if (replaced == 0)
        return 0;
    // Written back in the encoding it was read in, as an editor would keep it.
    if (!TextFile::canEncode(text, content.encoding)) {
        result.error = QCoreApplication::translate("FileSearch", "the new text has characters that %1 cannot hold")
                           .arg(TextFile::encodingName(content.encoding));
        return 0;
    }
    if (!TextFile::write(result.path, text, content.encoding, &result.error))
        return 0;
    return replaced;
}

qsizetype FileSearch::totalMatches() const
{
    qsizetype total = 0;
    for (const FileResult &result : results_)
        total += result.matches;
    return total;
}
