#include "editor/finddialog.h"

#include "core/workbench.h"
#include "editor/backgroundsearch.h"
#include "editor/documenttext.h"
#include "editor/filesearch.h"
#include "editor/sourceeditor.h"
#include "editor/srctabsholder.h"
#include "projects/project.h"
#include "projects/projectsmanager.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QLineEdit>
#include <QMessageBox>

FindDialog::FindDialog(Workbench *workbench, SrcTabsHolder *tabs, ProjectsManager *projects, QWidget *parent)
    : QuorvinDialog(parent), workbench(workbench), tabs(tabs), projects(projects)
{
    ui.setupUi(this);
    setModal(false);
    findNextAction_ = new QAction(QIcon(QStringLiteral(":/images/edit_search_next.png")), tr("Find &Next"), this);
    findNextAction_->setShortcut(QKeySequence(tr("F3")));
    findNextAction_->setStatusTip(tr("Find next match"));
    addAction(findNextAction_);

    connect(ui.findNextButton, &QPushButton::clicked, this, &FindDialog::findNextClicked);
    connect(ui.replaceButton, &QPushButton::clicked, this, &FindDialog::replaceClicked);
    connect(ui.replaceAllButton, &QPushButton::clicked, this, &FindDialog::replaceAllClicked);
    connect(ui.cancelButton, &QPushButton::clicked, this, &FindDialog::cancelClicked);
    connect(ui.replaceCheckBox, &QCheckBox::stateChanged, this, &FindDialog::replaceStateChanged);
    for (QCheckBox *option : {ui.matchCaseCheckBox, ui.wholeWordsCheckBox, ui.regexCheckBox})
        connect(option, &QCheckBox::clicked, this, &FindDialog::restartFind);
    connect(ui.lookInComboBox, &QComboBox::currentIndexChanged, this, &FindDialog::restartFind);
    connect(findNextAction_, &QAction::triggered, this, &FindDialog::findNextClicked);
    for (QComboBox *combo : {ui.findTextComboBox, ui.replaceWithTextComboBox})
        combo->installEventFilter(this);
    replaceStateChanged(ui.replaceCheckBox->checkState());
}

bool FindDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut
        && (watched == ui.findTextComboBox || watched == ui.replaceWithTextComboBox))
        updateStrings(static_cast<QComboBox *>(watched));
    return QuorvinDialog::eventFilter(watched, event);
}

void FindDialog::setReplaceMode(bool on)
{
    setWindowTitle(on ? tr("Find / Replace") : tr("Find"));
    ui.replaceCheckBox->setChecked(on);
    replaceStateChanged(ui.replaceCheckBox->checkState());
}

void FindDialog::showFor(bool replace)
{
    setReplaceMode(replace);
    SourceEditor *editor = tabs->currentEditor();
    if (editor && editor->hasSelectedText())
        ui.findTextComboBox->setEditText(editor->selectedText());
    restartFind();
    show();
    raise();
    activateWindow();
    ui.findTextComboBox->setFocus();
    ui.findTextComboBox->lineEdit()->selectAll();
}

void FindDialog::findNextCommand()
{
    setReplaceMode(false);
    if (tabs->currentEditor() && !ui.findTextComboBox->currentText().isEmpty()) {
        restartFind();
        findNextClicked();
    }
}

void FindDialog::restartFind()
{
    restart = true;
    foundInFile = true;
}

void FindDialog::replaceStateChanged(int state)
{
    replaceMode = state == Qt::Checked;
    ui.replaceWithLabel->setEnabled(replaceMode);
    ui.replaceWithTextComboBox->setEnabled(replaceMode);
    ui.replaceButton->setEnabled(replaceMode);
    ui.replaceAllButton->setEnabled(replaceMode);
}

void FindDialog::updateStrings(QComboBox *combo)
{
    const QString text = combo->currentText();
    if (!text.isEmpty() && combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
        combo->addItem(text);
}

void FindDialog::cancelClicked(bool)
{
    hide();
}

void FindDialog::setBusy(bool busy)
{
    ui.findNextButton->setEnabled(!busy);
    ui.cancelButton->setEnabled(!busy);
    ui.replaceButton->setEnabled(!busy && replaceMode);
    ui.replaceAllButton->setEnabled(!busy && replaceMode);
    repaint();
}

void FindDialog::reportPassEnded()
{
    QMessageBox::information(this, tr("Find"), tr("Reached start of search"));
    restartFind();
}

bool FindDialog::takeTexts()
{
    const QString wanted = ui.findTextComboBox->currentText();
    if (wanted != findText) {
        findText = wanted;
        restart = true;
    }
    const QString with = ui.replaceWithTextComboBox->currentText();
    if (with != replaceText) {
        replaceText = with;
        restart = true;
    }
    return !findText.isEmpty();
}

bool FindDialog::compilePattern()
{
    forward = !ui.backwardsCheckBox->isChecked();
    const SearchPattern::Options options{ui.regexCheckBox->isChecked(), ui.matchCaseCheckBox->isChecked(),
                                         ui.wholeWordsCheckBox->isChecked()};
    if (pattern.text() != findText || pattern.options().regex != options.regex
        || pattern.options().caseSensitive != options.caseSensitive
        || pattern.options().wholeWords != options.wholeWords)
        pattern = SearchPattern(findText, options);
    if (pattern.isValid())
        return true;
    QMessageBox::warning(this, tr("Find"), pattern.errorString());
    restartFind();
    return false;
}

void FindDialog::prepareSearch()
{
    filesToSearch.clear();
    openFiles.clear();
    currentFile.clear();
    searchedEditor = nullptr;
    start = Span{0, 0};
    last = Span{};
    firstStart = -1;
    replacedLength = 0;
    foundInFile = true;
    restart = false;

    SourceEditor *editor = tabs->currentEditor();
    if (editor) {
        currentFile = editor->fileName();
        searchedEditor = editor;
        start.start = int(editor->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART));
        start.end = int(editor->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND));
    } else {
        // Nothing to search before the files of the scope.
        foundInFile = false;
    }
    openFiles = tabs->openFileNames();

    switch (ui.lookInComboBox->currentIndex()) {
    case AllOpenDocuments:
        filesToSearch = openFiles;
        break;
    case CurrentProject:
        if (Project *project = projects ? projects->currentProject() : nullptr) {
            QStringList unopened;
            for (const ProjectFile &file : project->files()) {
                if (!tabs->findEditor(file.path))
                    unopened.append(file.path);
            }
            for (const QString &open : std::as_const(openFiles)) {
                if (project->indexOfFile(open) >= 0)
                    filesToSearch.append(open);
            }
            filesToSearch += unopened;
        }
        break;
    default:
        break;
    }
    // Untitled documents have no path to come back to; the current one is searched first.
    filesToSearch.removeIf([editor](const QString &path) { return path.isEmpty() || (editor && editor->isSameFile(path)); });
}

void FindDialog::enterFile(SourceEditor *editor)
{
    searchedEditor = editor;
    currentFile = editor->fileName();
    const int end = int(editor->SendScintilla(QsciScintillaBase::SCI_GETTEXTLENGTH));
    start = forward ? Span{0, 0} : Span{end, end};
    last = Span{};
    firstStart = -1;
    replacedLength = 0;
    foundInFile = true;
}

FindDialog::Outcome FindDialog::openNextFile()
{
    while (!filesToSearch.isEmpty()) {
        if (tabs->findEditor(filesToSearch.first())) {
            const QString path = filesToSearch.takeFirst();
            tabs->activateEditor(path);
            enterFile(tabs->findEditor(path));
            return Matched;
        }
        // The files up to the next open one are searched on disk in one go.
        QStringList unopened;
        for (const QString &path : std::as_const(filesToSearch)) {
            if (tabs->findEditor(path))
                break;
            unopened.append(path);
        }
        FileSearch search(pattern, unopened, FileSearch::FirstMatch);
        if (!BackgroundSearch::run(search, this, tr("Searching the files of the project..."))) {
            restartFind();
            return Stopped;
        }
        const int hit = search.firstMatchIndex();
        filesToSearch.remove(0, hit < 0 ? unopened.size() : hit + 1);
        if (hit < 0)
            continue;
        if (workbench)
            workbench->openFile(unopened.at(hit));
        else
            tabs->openEditor(unopened.at(hit));
        if (SourceEditor *opened = tabs->findEditor(unopened.at(hit))) {
            tabs->activateEditor(unopened.at(hit));
            enterFile(opened);
            return Matched;
        }
    }
    return PassEnded;
}

SearchPattern::Match FindDialog::searchEditor(const DocumentText &document) const
{
    const QString &text = document.text();
    if (forward) {
        const bool continued = last.start >= 0;
        const qsizetype from = document.offsetOf(continued ? last.end : start.end);
        const qsizetype emptyNotAt = continued && last.empty ? from : -1;
        const SearchPattern::Match match = pattern.findForward(text, from, emptyNotAt);
        return match.isValid() ? match : pattern.findForward(text, 0, emptyNotAt);
    }
    const qsizetype before = document.offsetOf(last.start >= 0 ? last.start : start.start);
    const SearchPattern::Match match = pattern.findBackward(text, before);
    return match.isValid() ? match : pattern.findBackward(text, text.size() + 1);
}

FindDialog::Outcome FindDialog::findStep(Mode mode)
{
    if (!takeTexts())
        return Stopped;
    if (!foundInFile && filesToSearch.isEmpty() && !restart) {
        prepareSearch();
        return PassEnded;
    }
    if (!compilePattern())
        return Stopped;
    if (restart)
        prepareSearch();

    for (;;) {
        if (!foundInFile) {
            const Outcome opened = openNextFile();
            if (opened != Matched)
                return opened;
        }
        SourceEditor *editor = tabs->currentEditor();
        if (!editor)
            return PassEnded;
        if (editor != searchedEditor)
            enterFile(editor);

        const DocumentText document(editor);
        const SearchPattern::Match match = searchEditor(document);
        if (!match.isValid()) {
            foundInFile = false;
            continue;
        }
        const int from = document.positionOf(match.start);
        const int to = document.positionOf(match.end(), match.start, from);
        // Back at the first match of the file, or inside what replaced it: the file is done.
        const bool exhausted = from == firstStart
            || (mode == ReplaceMode && firstStart >= 0 && from > firstStart && from < firstStart + replacedLength);
        if (exhausted) {
            foundInFile = false;
            continue;
        }
        if (firstStart < 0)
            firstStart = from;
        last = Span{from, to, from == to};
        editor->ensureLineVisible(int(editor->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, from)));
        if (forward)
            editor->SendScintilla(QsciScintillaBase::SCI_SETSEL, from, to);
        else
            editor->SendScintilla(QsciScintillaBase::SCI_SETSEL, to, from);
        return Matched;
    }
}

void FindDialog::findNextClicked()
{
    setBusy(true);
    if (findStep(FindMode) == PassEnded)
        reportPassEnded();
    setBusy(false);
}

void FindDialog::replaceClicked(bool)
{
    setBusy(true);
    const Outcome outcome = findStep(ReplaceMode);
    SourceEditor *editor = tabs->currentEditor();
    if (outcome == Matched && editor) {
        const DocumentText document(editor);
        const qsizetype matchStart = document.offsetOf(last.start);
        const SearchPattern::Match match{matchStart, document.offsetOf(last.end) - matchStart};
        const QByteArray with = pattern.replacement(document.text(), match, replaceText).toUtf8();
        editor->SendScintilla(QsciScintillaBase::SCI_SETTARGETRANGE, last.start, last.end);
        editor->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, with.size(), with.constData());
        const int newEnd = last.start + int(with.size());
        if (last.start == firstStart)
            replacedLength = int(with.size());
        else if (last.start < firstStart)
            firstStart += newEnd - last.end;
        last.end = newEnd;
        editor->SendScintilla(QsciScintillaBase::SCI_SETSEL, forward ? newEnd : last.start, forward ? newEnd : last.start);
    } else if (outcome == PassEnded) {
        reportPassEnded();
    }
    setBusy(false);
}

int FindDialog::replaceAllInEditor(SourceEditor *editor) const
{
    const DocumentText document(editor);
    const QList<SearchPattern::Replacement> replacements = pattern.replacementsIn(document.text(), replaceText);
    if (replacements.isEmpty())
        return 0;
    QList<Span> spans;
    spans.reserve(replacements.size());
    qsizetype offset = 0;
    int position = 0;
    for (const SearchPattern::Replacement &replacement : replacements) {
        const int from = document.positionOf(replacement.match.start, offset, position);
        const int to = document.positionOf(replacement.match.end(), replacement.match.start, from);
        spans.append(Span{from, to});
        offset = replacement.match.end();
        position = to;
    }
    // From the end backwards, so the positions still to come stay valid; one undo step.
    editor->beginUndoAction();
    for (qsizetype index = replacements.size() - 1; index >= 0; --index) {
        const QByteArray with = replacements.at(index).text.toUtf8();
        editor->SendScintilla(QsciScintillaBase::SCI_SETTARGETRANGE, spans.at(index).start, spans.at(index).end);
        editor->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, with.size(), with.constData());
    }
    editor->endUndoAction();
    return int(replacements.size());
}

qsizetype FindDialog::replaceAllOnDisk(const QStringList &files)
{
    FileSearch search(pattern, files, FileSearch::ReplaceAll, replaceText);
    const bool finished = BackgroundSearch::run(search, this, tr("Replacing in the files of the project..."));
    for (const FileSearch::FileResult &result : search.results()) {
        if (result.error.isEmpty() || !workbench)
            continue;
        const QString path = QDir::toNativeSeparators(result.path);
        workbench->addError(result.unreadable ? tr("Cannot read file %1: %2").arg(path, result.error)
                                              : tr("Cannot write file %1: %2").arg(path, result.error));
    }
    if (!finished && workbench)
        workbench->addMessage(tr("Replace All was cancelled after %1 of %2 files.").arg(search.filesDone()).arg(files.size()));
    return search.totalMatches();
}

void FindDialog::replaceAllClicked(bool)
{
    setBusy(true);
    restartFind();
    if (!takeTexts() || !compilePattern()) {
        setBusy(false);
        return;
    }
    prepareSearch();
    qsizetype count = 0;
    if (SourceEditor *editor = tabs->currentEditor())
        count += replaceAllInEditor(editor);
    QStringList onDisk;
    for (const QString &path : std::as_const(filesToSearch)) {
        if (SourceEditor *open = tabs->findEditor(path))
            count += replaceAllInEditor(open);
        else
            onDisk.append(path);
    }
    if (!onDisk.isEmpty())
        count += replaceAllOnDisk(onDisk);
    restartFind();
    QMessageBox::information(this, tr("Find"), tr("Replaced %1 occurences").arg(count));
    setBusy(false);
}
