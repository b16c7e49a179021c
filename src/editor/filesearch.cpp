#include "editor/filesearch.h"

#include "editor/textfile.h"
#include "platform/bytesearch.h"

#include <QCoreApplication>
#include <algorithm>

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
    if (!required.isEmpty() && Platform::findBytes(bytes, required) < 0)
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
        const QByteArray &plain = pattern.requiredBytes();
        for (qsizetype at = Platform::findBytes(all, plain); at >= 0 && !(firstOnly && matches);
             at = Platform::findBytes(all, plain, at + plain.size()))
            ++matches;
        return matches;
    }
    // When no match reaches over a line end, only the lines holding the required bytes can
    // hold one: the engine runs once over those lines alone.
    if (!pattern.requiredBytes().isEmpty() && pattern.staysWithinLines() && collectCandidateLines()) {
        if (firstOnly)
            return pattern.containsMatch(lines) ? 1 : 0;
        return pattern.count(lines);
    }
    const TextFile::Content content = TextFile::decode(bytes);
    if (firstOnly)
        return pattern.containsMatch(content.text) ? 1 : 0;
    return pattern.count(content.text);
}

// The lines are joined by line feeds, so "^", "$" and word boundaries see what they saw in
// the file. ASCII bytes are the same characters in every encoding a file may be read in;
// a line with other bytes needs the whole file decoded.
bool FileSearch::collectCandidateLines()
{
    const QByteArrayView all(bytes);
    const QByteArray &required = pattern.requiredBytes();
    lines.clear();
    qsizetype from = 0;
    while ((from = Platform::findBytes(all, required, from)) >= 0) {
        qsizetype start = from;
        while (start > 0 && !isLineEnd(all.at(start - 1)))
            --start;
        qsizetype end = from + required.size();
        while (end < all.size() && !isLineEnd(all.at(end)))
            ++end;
        const QByteArrayView line = all.sliced(start, end - start);
        if (std::any_of(line.cbegin(), line.cend(), [](char byte) { return uchar(byte) >= 0x80; }))
            return false;
        if (!lines.isEmpty())
            lines.append(QLatin1Char('\n'));
        lines.append(QLatin1String(line));
        from = end;
    }
    return true;
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
