#include "editor/sourceeditor.h"

#include "core/filewatcher.h"
#include "core/waitcursor.h"
#include "editor/editorappearance.h"
#include "editor/messagemarkers.h"
#include "platform/paths.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QStringDecoder>

namespace {

// Names the same file: the same path, or for existing files the same file on disk.
bool samePath(const QString &first, const QString &second)
{
    if (first.isEmpty() || second.isEmpty())
        return false;
    const QFileInfo one(first);
    const QFileInfo other(second);
    if (one.exists() && other.exists())
        return one == other;
    const Qt::CaseSensitivity sensitivity = Platform::caseInsensitiveFileNames() ? Qt::CaseInsensitive : Qt::CaseSensitive;
    return one.absoluteFilePath().compare(other.absoluteFilePath(), sensitivity) == 0;
}

}

SourceEditor::SourceEditor(Workbench *owner, const QString &path, QWidget *parent)
    : QsciScintilla(parent ? parent : owner ? owner->dialogParent() : nullptr), owner(owner)
{
    setObjectName(QStringLiteral("SourceFile.") + path);
    EditorAppearance appearance(settingsStore());
    appearance.applyTextItem(this);
    setUtf8(true);
    markers = new MessageMarkers(this);
    loadFile(path);
    connect(this, &QsciScintilla::modificationChanged, this, &SourceEditor::documentWasModified);
    connect(this, &QsciScintilla::copyAvailable, this, &SourceEditor::copyAvailabilityChanged);
    connect(this, &QsciScintilla::modificationChanged, this, &SourceEditor::undoAvailabilityChanged);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &SourceEditor::updateState);
}

QSettings *SourceEditor::settingsStore() const
{
    return owner ? owner->settings() : nullptr;
}

void SourceEditor::loadFile(const QString &path)
{
    if (!path.isEmpty()) {
        if (const std::optional<TextFile::Content> content = TextFile::read(path)) {
            setFileName(path);
            takeContent(*content);
            return;
        }
        if (owner)
            owner->addMessage(tr("File name is empty or file not found."));
    }
    setFileName(QString());
    markModified();
    setWindowModified(false);
}

void SourceEditor::takeContent(const TextFile::Content &content)
{
    encoding_ = content.encoding;
    QBuffer buffer;
    buffer.setData(content.text.toUtf8());
    buffer.open(QIODevice::ReadOnly);
    read(&buffer);
    setModified(false);
    rememberDisk();
    // Scintilla gathers the markers of replaced lines on the first line.
    markers->placeAgain();
}

// Scintilla can only clear the modified state; an edit that leaves the text as it was
// sets it, and as one undo step it never leaves the user an invisible step to undo alone.
void SourceEditor::markModified()
{
    beginUndoAction();
    insertAt(QStringLiteral(" "), 0, 0);
    SendScintilla(SCI_DELETERANGE, 0L, 1L);
    endUndoAction();
}

void SourceEditor::setFileName(const QString &path)
{
    currentFile = path;
    setModified(false);
    setWindowModified(false);
    setWindowTitle(displayName() + QStringLiteral("[*]"));
    setObjectName(QStringLiteral("SourceFile.") + path);
    applySettings();
}

QString SourceEditor::displayName() const
{
    return currentFile.isEmpty() ? tr("Untitled") : QFileInfo(currentFile).fileName();
}

QString SourceEditor::tabTitle() const
{
    return displayName() + (isModified() ? QStringLiteral("*") : QString())
         + (missingOnDisk ? tr(" (deleted)") : QString());
}

bool SourceEditor::save()
{
    if (currentFile.isEmpty())
        return saveAs();
    if (missingOnDisk && isModified()) {
        QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(),
                        tr("%1 was deleted outside the editor.\nSave it again?").arg(displayName()),
                        QMessageBox::Save | QMessageBox::Cancel, this);
        if (box.exec() != QMessageBox::Save)
            return false;
    }
    return saveFile(currentFile);
}

bool SourceEditor::saveAs()
{
    const QString path = QFileDialog::getSaveFileName(this);
    if (path.isEmpty())
        return false;
    return saveFile(path);
}

bool SourceEditor::saveFile(const QString &path)
{
    if (!isModified())
        return true;

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    write(&buffer);
    // A byte-order mark at the start is part of the text, to be written back.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    const QString text = utf8(buffer.data());
    TextFile::Encoding target = encoding_;
    if (!TextFile::canEncode(text, target)) {
        // Saved anyway, those characters would turn into question marks.
        QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                        tr("%1 is kept in %2, which cannot hold every character of the text.\n"
                           "Save it as UTF-8 instead?").arg(displayName(), TextFile::encodingName(target)),
                        QMessageBox::Yes | QMessageBox::Cancel, this);
        box.setDefaultButton(QMessageBox::Cancel);
        if (box.exec() != QMessageBox::Yes)
            return false;
        target = TextFile::Encoding::Utf8;
    }

    QString error;
    bool written = false;
    {
        WaitCursor wait;
        written = TextFile::write(path, text, target, &error);
    }
    if (!written) {
        QMessageBox::warning(this, QGuiApplication::applicationDisplayName(),
                             tr("Cannot write file %1:\n%2.").arg(path, error), QMessageBox::Ok);
        return false;
    }
    encoding_ = target;
    setFileName(path);
    rememberDisk();
    if (owner)
        owner->showStatusMessage(tr("File saved"), 2000);
    return true;
}

void SourceEditor::rememberDisk()
{
    diskFingerprint = FileWatcher::fingerprint(currentFile);
    missingOnDisk = false;
}

void SourceEditor::checkDisk()
{
    if (currentFile.isEmpty())
        return;
    const QByteArray now = FileWatcher::fingerprint(currentFile);
    if (now == diskFingerprint)
        return;
    // Whatever the answer, this change is not asked about again.
    diskFingerprint = now;
    if (now.isEmpty()) {
        // The text stays; only the user's own save writes the file again.
        missingOnDisk = !QFileInfo::exists(currentFile);
        return;
    }
    missingOnDisk = false;
    if (isModified()) {
        QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(),
                        tr("%1 has been changed outside the editor.\nReload it and lose your changes?").arg(displayName()),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setDefaultButton(QMessageBox::No);
        if (box.exec() != QMessageBox::Yes)
            return;
    }
    reload();
}

void SourceEditor::reload()
{
    const std::optional<TextFile::Content> content = TextFile::read(currentFile);
    if (!content)
        return;
    int line = 0;
    int index = 0;
    getCursorPosition(&line, &index);
    const int firstLine = firstVisibleLine();
    takeContent(*content);
    // The user keeps the place in the file, as far as the new text reaches.
    const int last = std::max(0, lines() - 1);
    setCursorPosition(std::min(line, last), std::min(index, lineLength(std::min(line, last))));
    setFirstVisibleLine(firstLine);
}

bool SourceEditor::maybeSave()
{
    if (!isModified())
        return true;
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                    tr("%1 has been modified.\nDo you want to save your changes?").arg(QFileInfo(displayName()).fileName()),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    const int answer = box.exec();
    if (answer == QMessageBox::Save)
        return save();
    return answer != QMessageBox::Cancel;
}

bool SourceEditor::maybeClose()
{
    if (owner && !owner->isProjectFile(currentFile))
        owner->newMRUFile(currentFile);
    if (!maybeSave())
        return false;
    setModified(false);
    return true;
}

bool SourceEditor::isSameFile(const QString &other) const
{
    if (samePath(currentFile, other))
        return true;
    return samePath(Platform::shortPathName(currentFile), Platform::shortPathName(other));
}

void SourceEditor::gotoPosition(int line, int column)
{
    setCursorPosition(line, column);
}

bool SourceEditor::isCurrentEditor() const
{
    return owner && owner->currentEditor() == this;
}

void SourceEditor::updateState()
{
    // Every editor hears the clipboard and its own changes, but only the one the user
    // sees may decide what the shared edit actions do.
    if (!isCurrentEditor())
        return;
    enableAction(Workbench::SaveFile, isModified());
    enableAction(Workbench::SaveAllFiles, true);
    enableAction(Workbench::CloseFile, true);
    enableAction(Workbench::Cut, copyAvailable);
    enableAction(Workbench::Copy, copyAvailable);
    const QMimeData *clipboard = QApplication::clipboard()->mimeData();
    enableAction(Workbench::Paste, clipboard && clipboard->hasText());
    enableAction(Workbench::Undo, isUndoAvailable());
    enableAction(Workbench::Redo, isRedoAvailable());
    enableAction(Workbench::Find, true);
    enableAction(Workbench::Replace, true);
    enableAction(Workbench::PrintFile, true);
}

void SourceEditor::enableAction(Workbench::Action which, bool enabled) const
{
    if (QAction *action = owner->action(which))
        action->setEnabled(enabled);
}

void SourceEditor::documentWasModified(bool modified)
{
    setWindowModified(modified);
    if (owner)
        owner->fileModified(currentFile, modified);
    updateState();
}

void SourceEditor::copyAvailabilityChanged(bool available)
{
    copyAvailable = available;
    if (!isCurrentEditor())
        return;
    enableAction(Workbench::Cut, available);
    enableAction(Workbench::Copy, available);
}

void SourceEditor::undoAvailabilityChanged(bool)
{
    if (!isCurrentEditor())
        return;
    enableAction(Workbench::Undo, isUndoAvailable());
    enableAction(Workbench::Redo, isRedoAvailable());
}

void SourceEditor::closeEvent(QCloseEvent *event)
{
    if (maybeClose())
        event->accept();
    else
        event->ignore();
}

void SourceEditor::contextMenuEvent(QContextMenuEvent *event)
{
    if (!owner) {
        QsciScintilla::contextMenuEvent(event);
        return;
    }
    owner->updateState();
    if (!contextMenu) {
        contextMenu = new QMenu(this);
        const auto add = [this](std::initializer_list<Workbench::Action> ids) {
            for (Workbench::Action id : ids) {
                if (QAction *action = owner->action(id))
                    contextMenu->addAction(action);
            }
        };
        add({Workbench::Cut, Workbench::Copy, Workbench::Paste});
        contextMenu->addSeparator();
        add({Workbench::Undo, Workbench::Redo});
        contextMenu->addSeparator();
        add({Workbench::Goto});
        contextMenu->addSeparator();
        add({Workbench::Find, Workbench::Replace});
    }
    contextMenu->popup(event->globalPos());
}

void SourceEditor::applySettings()
{
    EditorAppearance appearance(settingsStore());
    appearance.applyDisplayItems(this);
    const QString suffix = QFileInfo(currentFile).suffix();
    if (EditorAppearance::isCSuffix(suffix))
        appearance.useCppLexer(this);
    else
        reportSyntaxProblems(appearance.useSyntaxLexer(this, syntaxFile()));
    appearance.applyBehaviour(this);
}

void SourceEditor::reportSyntaxProblems(const QStringList &problems)
{
    if (problems == syntaxProblems)
        return;
    syntaxProblems = problems;
    if (!owner)
        return;
    for (const QString &problem : problems)
        owner->addError(problem);
}

QString SourceEditor::syntaxFile() const
{
    if (!owner)
        return QString();
    const QString family = owner->controllerFamily(currentFile);
    const QString candidate = owner->syntaxDirectory() + QLatin1Char('/') + family + QStringLiteral(".MAP");
    return syntaxFileFor(candidate, QFileInfo(currentFile).suffix());
}

QString SourceEditor::syntaxFileFor(const QString &candidate, const QString &suffix)
{
    const QFileInfo info(candidate);
    const QString kind = info.suffix().toUpper();
    if (kind == QLatin1String("SYN"))
        return candidate;
    if (kind != QLatin1String("MAP"))
        return QString();

    QFile map(candidate);
    if (!map.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    const QString wanted = suffix.toUpper();
    while (!map.atEnd()) {
        const QString line = QString::fromLocal8Bit(map.readLine()).trimmed().toUpper();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        // Blanks around "=" are tolerated: they cannot be part of a suffix or file name.
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && line.left(equals).trimmed() == wanted)
            return info.path() + QLatin1Char('/') + line.mid(equals + 1).trimmed();
    }
    return QString();
}
