#include "projects/project.h"

#include "core/workbench.h"
#include "core/xmldocument.h"
#include "build/buildconfiglist.h"
#include "build/buildproject.h"
#include "build/makefilewriter.h"
#include "build/projectbuilder.h"
#include "projects/configurationoptionsdialog.h"
#include "projects/configurationsdialog.h"
#include "core/filewatcher.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSaveFile>
#include <QSet>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeWidgetItem>
#include <QXmlStreamWriter>

const char *const Project::extension = "zmxp";

int Project::projectCounter = 0;

Project::Project(BuildConfigList *compilers, Workbench *mainWindow, QObject *parent)
    : QObject(parent), mainWindow(mainWindow), compilers(compilers),
      builder(std::make_unique<ProjectBuilder>(*this, compilers, mainWindow))
{
}

Project::~Project()
{
    if (mainWindow) {
        if (clearOutputOnDelete)
            mainWindow->clearOutput();
        for (const ProjectFile &file : std::as_const(files_))
            mainWindow->discardEditor(file.path);
    }
    delete projectItem;
}

bool Project::load(const QString &path)
{
    clearOutputOnDelete = false;
    loadError_.clear();
    const QFileInfo info(path);
    if (!info.exists()) {
        loadError_ = tr("the file does not exist");
        return false;
    }
    if (info.isDir()) {
        loadError_ = tr("it is a folder, not a project file");
        return false;
    }
    const std::optional<QDomDocument> document = XmlDocument::read(path, mainWindow, &loadError_);
    if (!document)
        return false;
    fileName_ = info.absoluteFilePath();
    diskFingerprint = FileWatcher::fingerprint(fileName_);

    const QDomElement project = document->firstChildElement(QStringLiteral("PROJECT"));
    if (!project.isNull()) {
        description_ = project.attribute(QStringLiteral("DESCRIPTION"));
        keywords_.clear();
        const QDomElement keywordList = project.firstChildElement(QStringLiteral("KEYWORDS"));
        for (QDomElement keyword = keywordList.firstChildElement(QStringLiteral("KEYWORD")); !keyword.isNull();
             keyword = keyword.nextSiblingElement(QStringLiteral("KEYWORD")))
            keywords_.append(keyword.attribute(QStringLiteral("NAME")));

        // No configuration is selected yet, so addFile cannot see duplicates; a file listed
        // twice would otherwise get two entries but only one tree item.
        QSet<QString> listed;
        const QDomElement fileList = project.firstChildElement(QStringLiteral("FILES"));
        for (QDomElement file = fileList.firstChildElement(QStringLiteral("FILE")); !file.isNull();
             file = file.nextSiblingElement(QStringLiteral("FILE"))) {
            const QString name = file.attribute(QStringLiteral("NAME"));
            const QString identity = fileIdentity(absolutePath(withInstallationDirectory(name)));
            if (!listed.contains(identity) && addFile(name, file.attribute(QStringLiteral("GROUP"))))
                listed.insert(identity);
        }

        storedConfigurationNames_.clear();
        unloadedConfigurations_.clear();
        QStringList refused;
        for (QDomElement element = project.firstChildElement(QStringLiteral("CONFIGURATION")); !element.isNull();
             element = element.nextSiblingElement(QStringLiteral("CONFIGURATION"))) {
            auto configuration = std::make_unique<BuildProject>(mainWindow, compilers);
            const QString name = element.attribute(QStringLiteral("NAME"));
            storedConfigurationNames_.append(name);
            if (configuration->load(element, fileName_)) {
                configurations.push_back(std::move(configuration));
                continue;
            }
            // Left out, so the user must hear of it: another configuration takes its place.
            refused.append(configurationError(element));
            unloadedConfigurations_.append(name);
            if (mainWindow) {
                mainWindow->addError(tr("The configuration \"%1\" of project %2 could not be loaded.")
                                         .arg(name, QDir::toNativeSeparators(fileName_)));
            }
        }
        if (configurations.empty()) {
            loadError_ = refused.isEmpty() ? tr("it has no build configuration") : refused.join(QStringLiteral("; "));
            return false;
        }
        QStringList paths;
        for (const ProjectFile &file : std::as_const(files_))
            paths.append(file.path);
        for (const auto &configuration : configurations)
            configuration->addFiles(paths, true);
    }
    modified = false;
    updateName();
    makefileCurrent = false;
    clearOutputOnDelete = true;
    return true;
}

QString Project::configurationError(const QDomElement &element) const
{
    const QString name = element.attribute(QStringLiteral("NAME"));
    const QString compiler = element.attribute(QStringLiteral("COMPILER"));
    if (!compiler.isEmpty() && compilers && !compilers->find(compiler))
        return tr("configuration \"%1\" needs the compiler \"%2\", which is not available").arg(name, compiler);
    if (element.firstChildElement(QStringLiteral("CONTROLLER")).isNull())
        return tr("configuration \"%1\" has no controller").arg(name);
    return tr("configuration \"%1\" cannot be read").arg(name);
}

bool Project::noticeDiskChange()
{
    const QByteArray now = FileWatcher::fingerprint(fileName_);
    if (now == diskFingerprint)
        return false;
    diskFingerprint = now;
    return true;
}

bool Project::openWithDialog()
{
    const QString path = QFileDialog::getOpenFileName(mainWindow ? mainWindow->dialogParent() : nullptr,
                                                      tr("Open Project"),
                                                      mainWindow ? mainWindow->projectsDirectory() : QString(),
                                                      tr("Project files (*.%1)").arg(QLatin1String(extension)));
    if (path.isEmpty()) {
        updateItemText();
        return false;
    }
    return load(path);
}

bool Project::writeFile(QXmlStreamWriter &writer) const
{
    // The declaration has to be the very first bytes; auto-formatting would put a line
    // break in front of it.
    writer.writeProcessingInstruction(QStringLiteral("xml"),
                                      QStringLiteral("version='1.0' encoding='UTF-8' standalone='yes' "));
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(1);

    writer.writeStartElement(QStringLiteral("PROJECT"));
    writer.writeAttribute(QStringLiteral("DESCRIPTION"), description_);
    writer.writeStartElement(QStringLiteral("KEYWORDS"));
    for (const QString &keyword : keywords_) {
        writer.writeStartElement(QStringLiteral("KEYWORD"));
        writer.writeAttribute(QStringLiteral("NAME"), keyword);
        writer.writeEndElement();
    }
    writer.writeEndElement();

    const QDir directory = QFileInfo(fileName_).absoluteDir();
    writer.writeStartElement(QStringLiteral("FILES"));
    for (const ProjectFile &file : files_) {
        writer.writeStartElement(QStringLiteral("FILE"));
        writer.writeAttribute(QStringLiteral("NAME"), QDir::fromNativeSeparators(directory.relativeFilePath(file.path)));
        writer.writeAttribute(QStringLiteral("GROUP"), file.group);
        writer.writeEndElement();
    }
    writer.writeEndElement();

    for (const auto &configuration : configurations)
        configuration->save(writer, fileName_);
    writer.writeEndElement();
    writer.writeEndDocument();
    return !writer.hasError();
}

bool Project::save()
{
    if (!modified)
        return true;
    if (fileName_.isEmpty())
        return saveAs(name_, true);

    // Written to a temporary file that replaces the project file only when complete, so a
    // failure half-way leaves the previous file as it was.
    QSaveFile file(fileName_);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Text);
    if (written) {
        QXmlStreamWriter writer(&file);
        written = writeFile(writer) && file.commit();
    }
    if (!written) {
        if (mainWindow)
            mainWindow->addError(tr("Cannot save project file %1: %2").arg(QDir::toNativeSeparators(fileName_),
                                                                            file.errorString()));
        return false;
    }
    diskFingerprint = FileWatcher::fingerprint(fileName_);
    modified = false;
    updateName();
    return true;
}

bool Project::maybeSave()
{
    if (!modified)
        return true;
    const QMessageBox::StandardButton answer =
        QMessageBox::warning(mainWindow ? mainWindow->dialogParent() : nullptr, QGuiApplication::applicationDisplayName(),
                             tr("Project '%1' has been modified.\nDo you want to save your changes?").arg(name_),
                             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Save)
        return save();
    return answer == QMessageBox::Discard;
}

bool Project::saveWithFiles()
{
    if (!save())
        return false;
    if (!mainWindow)
        return true;
    for (const ProjectFile &file : std::as_const(files_)) {
        if (!mainWindow->saveEditor(file.path, false))
            return false;
    }
    return true;
}

void Project::updateName()
{
    if (!fileName_.isEmpty())
        name_ = QFileInfo(fileName_).baseName();
    else if (name_.isEmpty())
        name_ = tr("Project%1").arg(projectCounter++);
    updateItemText();
}

void Project::updateItemText()
{
    if (projectItem)
        projectItem->setText(0, modified ? QLatin1Char('*') + name_ : name_);
}

void Project::markCurrent(bool isCurrent)
{
    if (!projectItem)
        return;
    QFont font = projectItem->font(0);
    font.setWeight(isCurrent ? QFont::Bold : QFont::Normal);
    projectItem->setFont(0, font);
}

void Project::showInfo(QTextEdit *textView) const
{
    textView->clear();
    textView->setTabStopDistance(24);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat normal;
    normal.setFontWeight(QFont::Normal);
    QTextCursor cursor = textView->textCursor();

    cursor.insertText(name_ + QLatin1Char('\n'), bold);
    cursor.insertText(description_ + QLatin1Char('\n'), normal);
    if (const BuildProject *configuration = currentConfiguration()) {
        const auto line = [&](const QString &label, const QString &value) {
            cursor.insertText(label, bold);
            cursor.insertText(value + QLatin1Char('\n'), normal);
        };
        line(tr("\tFamily: "), configuration->family());
        line(tr("\tController: "), configuration->controller());
        if (!configuration->compilerName().isEmpty())
            line(tr("\tCompiler: "), configuration->compilerName());
    }
    cursor.insertText(tr("\tFiles:") + QLatin1Char('\n'), bold);
    for (const ProjectFile &file : files_)
        cursor.insertText(QStringLiteral("\t\t") + QFileInfo(file.path).fileName() + QLatin1Char('\n'), normal);
    cursor.insertText(QStringLiteral("\n"), QTextCharFormat());
    cursor.movePosition(QTextCursor::Start);
    textView->setTextCursor(cursor);
}

void Project::setFileModified(const QString &path, bool isModified)
{
    for (const ProjectFile &file : std::as_const(files_)) {
        if (file.path != path)
            continue;
        if (!file.item)
            return;
        const QString text = file.item->text(0);
        const bool marked = text.startsWith(QLatin1Char('*'));
        if (isModified && !marked)
            file.item->setText(0, QLatin1Char('*') + text);
        else if (!isModified && marked)
            file.item->setText(0, text.mid(1));
        return;
    }
}

BuildProject *Project::configuration(int index) const
{
    if (index < 0 || index >= configurationCount())
        return nullptr;
    return configurations.at(static_cast<size_t>(index)).get();
}

void Project::setConfigurations(std::vector<std::unique_ptr<BuildProject>> replacement)
{
    configurations = std::move(replacement);
    if (currentConfiguration_ >= configurationCount())
        currentConfiguration_ = 0;
    makefileCurrent = false;
}

bool Project::showOptions()
{
    ConfigurationOptionsDialog dialog(this, compilers, mainWindow, mainWindow ? mainWindow->dialogParent() : nullptr);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // New flags reach files that make holds for current: the next build makes them all again.
    if (accepted)
        setRebuildAll(true);
    return accepted;
}

bool Project::showConfigurations()
{
    ConfigurationsDialog dialog(mainWindow ? mainWindow->dialogParent() : nullptr, this);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (accepted)
        modified = true;
    return accepted;
}

void Project::setCurrentConfiguration(int index)
{
    if (index >= 0 && index < configurationCount())
        currentConfiguration_ = index;
}

BuildProject *Project::currentConfiguration() const
{
    return configuration(currentConfiguration_);
}

QString Project::currentFamily() const
{
    const BuildProject *current = currentConfiguration();
    return current ? current->family() : QString();
}

QString Project::currentController() const
{
    const BuildProject *current = currentConfiguration();
    return current ? current->controller() : QString();
}

QString Project::currentCompilerName() const
{
    const BuildProject *current = currentConfiguration();
    return current ? current->compilerName() : QString();
}

QString Project::currentClock() const
{
    const BuildProject *current = currentConfiguration();
    return current ? current->clock() : QString();
}

QString Project::currentFirmwarePath()
{
    BuildProject *current = currentConfiguration();
    return current ? MakefileWriter(*current, projectDirectory(), mainWindow).outputFile() : QString();
}

QStringList Project::currentFiles() const
{
    const BuildProject *current = currentConfiguration();
    return current ? current->allFiles() : QStringList();
}

QString Project::familyForFile(const QString &path) const
{
    const BuildProject *current = currentConfiguration();
    return current && current->containsFile(path) ? current->family() : QString();
}

bool Project::prepareBuild()
{
    return builder->prepareBuild();
}

bool Project::compile()
{
    return builder->compile();
}

bool Project::clean()
{
    return builder->clean();
}

bool Project::tidy()
{
    return builder->tidy();
}

bool Project::isBuilding() const
{
    return builder->isBuilding();
}

void Project::setRebuildAll(bool rebuild)
{
    builder->setRebuildAll(rebuild);
}

void Project::abortBuild()
{
    builder->abortBuild();
}
