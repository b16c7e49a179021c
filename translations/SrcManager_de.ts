<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>BackgroundSearch</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
</context>
<context>
    <name>BatchBuild</name>
    <message>
        <source>No project file given.</source>
        <translation>Keine Projektdatei angegeben.</translation>
    </message>
    <message>
        <source>Cannot open project %1: %2</source>
        <translation>Das Projekt %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>The project has no configuration named &quot;%1&quot;.</source>
        <translation>Das Projekt hat keine Konfiguration namens „%1“.</translation>
    </message>
    <message>
        <source>The configuration &quot;%1&quot; could not be loaded; nothing was built.</source>
        <translation>Die Konfiguration „%1“ konnte nicht geladen werden; es wurde nichts erstellt.</translation>
    </message>
    <message>
        <source>--build and --clean cannot be given together.</source>
        <translation>--build und --clean können nicht zusammen angegeben werden.</translation>
    </message>
    <message>
        <source>Give one project file, not %1: %2.</source>
        <translation>Geben Sie eine Projektdatei an, nicht %1: %2.</translation>
    </message>
    <message>
        <source>--configuration needs the name of a configuration.</source>
        <translation>--configuration braucht den Namen einer Konfiguration.</translation>
    </message>
</context>
<context>
    <name>BuildConfig</name>
    <message>
        <source>Error loading %1
</source>
        <translation>Fehler beim Laden von %1
</translation>
    </message>
    <message>
        <source>The compiler configuration %1: the process &quot;%2&quot; cannot be loaded: %3.
</source>
        <translation>Die Compiler-Konfiguration %1: Der Prozess &quot;%2&quot; kann nicht geladen werden: %3.
</translation>
    </message>
    <message>
        <source>The compiler configuration %1: the target &quot;%2&quot; would take more than %3 build steps; its processes nest too deeply to build.
</source>
        <translation>Die Compiler-Konfiguration %1: Das Ziel &quot;%2&quot; bräuchte mehr als %3 Build-Schritte; seine Prozesse sind zu tief verschachtelt, um es zu erstellen.
</translation>
    </message>
</context>
<context>
    <name>BuildConfigList</name>
    <message>
        <source>Duplicated compiler configuration &quot;%1&quot;:
%2,
%3.
</source>
        <translation>Doppelte Compiler-Konfiguration „%1“:
%2,
%3.
</translation>
    </message>
    <message>
        <source>Error loading %1
</source>
        <translation>Fehler beim Laden von %1
</translation>
    </message>
</context>
<context>
    <name>BuildProcess</name>
    <message>
        <source>the message pattern &quot;%1&quot; is not a valid regular expression (%2 at offset %3)</source>
        <translation>das Meldungsmuster &quot;%1&quot; ist kein gültiger regulärer Ausdruck (%2 an Position %3)</translation>
    </message>
    <message>
        <source>the message pattern &quot;%1&quot; has a FIELD whose POSITION &quot;%2&quot; is not a group number</source>
        <translation>das Meldungsmuster &quot;%1&quot; hat ein FIELD, dessen POSITION &quot;%2&quot; keine Gruppennummer ist</translation>
    </message>
    <message>
        <source>it has no TOOL or no CMDLINE</source>
        <translation>ihm fehlt TOOL oder CMDLINE</translation>
    </message>
</context>
<context>
    <name>BuildProject</name>
    <message>
        <source>Cannot select build target.</source>
        <translation>Das Build-Ziel kann nicht ausgewählt werden.</translation>
    </message>
    <message>
        <source>Cannot find compiler %1 required for project.</source>
        <translation>Der vom Projekt benötigte Compiler %1 wurde nicht gefunden.</translation>
    </message>
</context>
<context>
    <name>BuildTool</name>
    <message>
        <source>Unknown option parameter type %1</source>
        <translation>Unbekannter Parametertyp %1 einer Option</translation>
    </message>
</context>
<context>
    <name>CompilerDetector</name>
    <message>
        <source>Detecting compiler %1</source>
        <translation>Compiler %1 wird gesucht</translation>
    </message>
</context>
<context>
    <name>CompilerOptionsDialog</name>
    <message>
        <source>Project Options</source>
        <translation>Projektoptionen</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Konfiguration</translation>
    </message>
    <message>
        <source>Tool chain:</source>
        <translation>Toolchain:</translation>
    </message>
    <message>
        <source>Controller</source>
        <translation>Controller</translation>
    </message>
    <message>
        <source>Family</source>
        <translation>Familie</translation>
    </message>
    <message>
        <source>Clock Frequency</source>
        <translation>Taktfrequenz</translation>
    </message>
    <message>
        <source>Compiler</source>
        <translation>Compiler</translation>
    </message>
    <message>
        <source>Tool</source>
        <translation>Werkzeug</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>Option</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>desc</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Value Type</source>
        <translation>Werttyp</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Defaults</source>
        <translation>Standardwerte</translation>
    </message>
    <message>
        <source>Option Description</source>
        <translation>Beschreibung der Option</translation>
    </message>
    <message>
        <source>Project</source>
        <translation>Projekt</translation>
    </message>
    <message>
        <source>Project Description</source>
        <translation>Projektbeschreibung</translation>
    </message>
    <message>
        <source>Keywords</source>
        <translation>Schlüsselwörter</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>CompilersDialog</name>
    <message>
        <source>Compilers</source>
        <translation>Compiler</translation>
    </message>
    <message>
        <source>Compiler</source>
        <translation>Compiler</translation>
    </message>
    <message>
        <source>Installed</source>
        <translation>Installiert</translation>
    </message>
    <message>
        <source>Config File</source>
        <translation>Konfigurationsdatei</translation>
    </message>
    <message>
        <source>Compiler Directory</source>
        <translation>Compiler-Verzeichnis</translation>
    </message>
    <message>
        <source>Check All</source>
        <translation>Alle prüfen</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Prüfen</translation>
    </message>
    <message>
        <source>Manual...</source>
        <translation>Manuell...</translation>
    </message>
    <message>
        <source>Website</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Double click to visit compiler&apos;s website</source>
        <translation>Doppelklick öffnet die Website des Compilers</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Checking...</source>
        <translation>Wird geprüft...</translation>
    </message>
    <message>
        <source>
	Use the latest version</source>
        <translation>
	Verwenden Sie die neueste Version</translation>
    </message>
    <message>
        <source>
	Version %1 or later required</source>
        <translation>
	Version %1 oder neuer erforderlich</translation>
    </message>
    <message>
        <source>Compiler too old</source>
        <translation>Compiler zu alt</translation>
    </message>
    <message>
        <source>
Compiler detection summary</source>
        <translation>
Zusammenfassung der Compiler-Erkennung</translation>
    </message>
    <message>
        <source>Not Found:</source>
        <translation>Nicht gefunden:</translation>
    </message>
    <message>
        <source>Found:</source>
        <translation>Gefunden:</translation>
    </message>
    <message>
        <source>Unsupported Versions:</source>
        <translation>Nicht unterstützte Versionen:</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>All files (*.*)</source>
        <translation>Alle Dateien (*.*)</translation>
    </message>
</context>
<context>
    <name>ConfigurationOptionsDialog</name>
    <message>
        <source>String</source>
        <translation>Zeichenkette</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keiner</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Zahl</translation>
    </message>
    <message>
        <source>Choice</source>
        <translation>Auswahl</translation>
    </message>
    <message>
        <source>Generic Option</source>
        <translation>Allgemeine Option</translation>
    </message>
    <message>
        <source> (Active)</source>
        <translation> (aktiv)</translation>
    </message>
    <message>
        <source>Supported by the simulator</source>
        <translation>Vom Simulator unterstützt</translation>
    </message>
    <message>
        <source>Generic Option allows arbitrary options to be created</source>
        <translation>Mit „Allgemeine Option“ lassen sich beliebige Optionen anlegen</translation>
    </message>
    <message>
        <source>The option value &quot;%1&quot; holds %2, which the Makefile cannot take as one literal word; the previous value is kept.</source>
        <translation>Der Wert „%1“ der Option enthält %2, was das Makefile nicht als ein einzelnes wörtliches Wort übernehmen kann; der bisherige Wert bleibt erhalten.</translation>
    </message>
    <message>
        <source>The clock frequency &quot;%1&quot; is not a frequency from 1 Hz to %2 Hz; the previous value is kept.</source>
        <translation>Die Taktfrequenz „%1“ ist keine Frequenz von 1 Hz bis %2 Hz; der bisherige Wert bleibt erhalten.</translation>
    </message>
</context>
<context>
    <name>ConfigurationsDialog</name>
    <message>
        <source>Confgiurations</source>
        <translation>Konfigurationen</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Konfiguration</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>A configuration needs a name.</source>
        <translation>Eine Konfiguration braucht einen Namen.</translation>
    </message>
    <message>
        <source>Another configuration is already named &quot;%1&quot; (letter case aside).</source>
        <translation>Eine andere Konfiguration heißt bereits „%1“ (Groß- und Kleinschreibung nicht berücksichtigt).</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot name a configuration: its build folder and files are named after it, so it may hold only letters, digits and underscores.</source>
        <translation>„%1“ kann keine Konfiguration benennen: Ihr Build-Ordner und ihre Dateien tragen ihren Namen, daher darf er nur Buchstaben, Ziffern und Unterstriche enthalten.</translation>
    </message>
    <message>
        <source>_copy</source>
        <translation>_Kopie</translation>
    </message>
    <message>
        <source>The name &quot;%1&quot; is kept.</source>
        <translation>Der Name „%1“ bleibt erhalten.</translation>
    </message>
</context>
<context>
    <name>ControllerDialog</name>
    <message>
        <source>Controller Selection</source>
        <translation>Controller-Auswahl</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Controller Family</source>
        <translation>Controller-Familie</translation>
    </message>
    <message>
        <source>Choose a controller family</source>
        <translation>Wählen Sie eine Controller-Familie</translation>
    </message>
    <message>
        <source>Controller</source>
        <translation>Controller</translation>
    </message>
    <message>
        <source>Choose a controller</source>
        <translation>Wählen Sie einen Controller</translation>
    </message>
    <message>
        <source>Clock Frequency</source>
        <translation>Taktfrequenz</translation>
    </message>
    <message>
        <source>A frequency such as 4MHz, 32768Hz or 4000000</source>
        <translation>Eine Frequenz wie 4MHz, 32768Hz oder 4000000</translation>
    </message>
    <message>
        <source>Supported by Simulator Only</source>
        <translation>Nur vom Simulator unterstützte Controller</translation>
    </message>
    <message>
        <source>Compiler</source>
        <translation>Compiler</translation>
    </message>
    <message>
        <source>Compilers...</source>
        <translation>Compiler...</translation>
    </message>
    <message>
        <source>Add a starter source file</source>
        <translation>Eine Start-Quelldatei hinzufügen</translation>
    </message>
    <message>
        <source>Project Settings</source>
        <translation>Projekteinstellungen</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Keywords</source>
        <translation>Schlüsselwörter</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source> (Not Installed)</source>
        <translation> (nicht installiert)</translation>
    </message>
    <message>
        <source>%1 Project Settings</source>
        <translation>Projekteinstellungen von %1</translation>
    </message>
    <message>
        <source>Add a starter source file %1</source>
        <translation>Die Start-Quelldatei %1 hinzufügen</translation>
    </message>
    <message>
        <source>The selected compiler is not installed.</source>
        <translation>Der gewählte Compiler ist nicht installiert.</translation>
    </message>
    <message>
        <source>Do you want to proceed?</source>
        <translation>Möchten Sie trotzdem fortfahren?</translation>
    </message>
    <message>
        <source>The design file %1 does not exist any more.</source>
        <translation>Die Schaltplandatei %1 existiert nicht mehr.</translation>
    </message>
</context>
<context>
    <name>CopyProjectFilesDialog</name>
    <message>
        <source>Save Project</source>
        <translation>Projekt speichern</translation>
    </message>
    <message>
        <source>Project name</source>
        <translation>Projektname</translation>
    </message>
    <message>
        <source>Directory to store project folder in</source>
        <translation>Verzeichnis, in dem der Projektordner angelegt wird</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Keep subdirectories structure</source>
        <translation>Struktur der Unterverzeichnisse beibehalten</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Directory to store project in</source>
        <translation>Verzeichnis, in dem das Projekt gespeichert wird</translation>
    </message>
    <message>
        <source>Open Directory</source>
        <translation>Verzeichnis öffnen</translation>
    </message>
    <message>
        <source>A project cannot be called &quot;%1&quot;.</source>
        <translation>Ein Projekt kann nicht „%1“ heißen.</translation>
    </message>
    <message>
        <source>A project name needs at least one character other than dots and spaces.</source>
        <translation>Ein Projektname braucht mindestens ein Zeichen, das weder Punkt noch Leerzeichen ist.</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>Der Ordner %1 existiert nicht.</translation>
    </message>
    <message>
        <source>Choose an existing folder, or check that its disk is present.</source>
        <translation>Wählen Sie einen vorhandenen Ordner oder prüfen Sie, ob sein Laufwerk verfügbar ist.</translation>
    </message>
    <message>
        <source>Cannot create the folder %1.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Check that the folder can be written to.</source>
        <translation>Prüfen Sie, ob in den Ordner geschrieben werden darf.</translation>
    </message>
    <message>
        <source>Cannot write to the folder %1.</source>
        <translation>In den Ordner %1 kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>A project with the same name already exists</source>
        <translation>Ein Projekt mit diesem Namen existiert bereits</translation>
    </message>
    <message>
        <source>Do you want to overwrite it?</source>
        <translation>Möchten Sie es überschreiben?</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Überschreiben</translation>
    </message>
</context>
<context>
    <name>DetectionParameters</name>
    <message>
        <source>Cirular dependency of parameter %1
</source>
        <translation>Zirkuläre Abhängigkeit des Parameters %1
</translation>
    </message>
    <message>
        <source>Cannot resolve parameter %1
</source>
        <translation>Der Parameter %1 kann nicht aufgelöst werden
</translation>
    </message>
</context>
<context>
    <name>DevBoardDialog</name>
    <message>
        <source>New Project Wizard</source>
        <translation>Assistent für neue Projekte</translation>
    </message>
    <message>
        <source>Demonstration Project</source>
        <translation>Demonstrationsprojekt</translation>
    </message>
    <message>
        <source>Show only the boards with this keyword</source>
        <translation>Nur die Boards mit diesem Schlüsselwort anzeigen</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Nichts</translation>
    </message>
    <message>
        <source>Design File</source>
        <translation>Schaltplandatei</translation>
    </message>
    <message>
        <source>Path of a .dsn file</source>
        <translation>Pfad einer .dsn-Datei</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>The development board project %1 cannot be loaded; the board is not offered.</source>
        <translation>Das Projekt des Entwicklungsboards %1 kann nicht geladen werden; das Board wird nicht angeboten.</translation>
    </message>
    <message>
        <source>Choose a board to see what its project holds.</source>
        <translation>Wählen Sie ein Board, um zu sehen, was sein Projekt enthält.</translation>
    </message>
    <message>
        <source>An empty project with the configurations Debug and Release. The next page chooses the controller, the compiler and the clock; it can add a starter source that builds at once.</source>
        <translation>Ein leeres Projekt mit den Konfigurationen Debug und Release. Auf der nächsten Seite wählen Sie Controller, Compiler und Takt; dort können Sie auch eine Start-Quelldatei hinzufügen, die sich sofort erstellen lässt.</translation>
    </message>
    <message>
        <source>Import Design File</source>
        <translation>Schaltplandatei importieren</translation>
    </message>
    <message>
        <source> (Project File)</source>
        <translation> (Projektdatei)</translation>
    </message>
    <message>
        <source>The design file %1 does not exist any more.</source>
        <translation>Die Schaltplandatei %1 existiert nicht mehr.</translation>
    </message>
</context>
<context>
    <name>FileSearch</name>
    <message>
        <source>the new text has characters that %1 cannot hold</source>
        <translation>der neue Text enthält Zeichen, die %1 nicht darstellen kann</translation>
    </message>
</context>
<context>
    <name>FindDialog</name>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Find what</source>
        <translation>Suchen nach</translation>
    </message>
    <message>
        <source>Replace with</source>
        <translation>Ersetzen durch</translation>
    </message>
    <message>
        <source>Look in</source>
        <translation>Suchen in</translation>
    </message>
    <message>
        <source>Current Document</source>
        <translation>Aktuelles Dokument</translation>
    </message>
    <message>
        <source>All Open Documents</source>
        <translation>Alle geöffneten Dokumente</translation>
    </message>
    <message>
        <source>Current Project</source>
        <translation>Aktuelles Projekt</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Search Upwards</source>
        <translation>Aufwärts suchen</translation>
    </message>
    <message>
        <source>Match case</source>
        <translation>Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Match whole words only</source>
        <translation>Nur ganze Wörter</translation>
    </message>
    <message>
        <source>Regular expression matching</source>
        <translation>Reguläre Ausdrücke</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Weitersuchen</translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation>Alle ersetzen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>&amp;Nächsten suchen</translation>
    </message>
    <message>
        <source>F3</source>
        <translation>F3</translation>
    </message>
    <message>
        <source>Find next match</source>
        <translation>Nächsten Treffer suchen</translation>
    </message>
    <message>
        <source>Find / Replace</source>
        <translation>Suchen / Ersetzen</translation>
    </message>
    <message>
        <source>Reached start of search</source>
        <translation>Der Ausgangspunkt der Suche wurde erreicht</translation>
    </message>
    <message>
        <source>Searching the files of the project...</source>
        <translation>Die Dateien des Projekts werden durchsucht...</translation>
    </message>
    <message>
        <source>Replacing in the files of the project...</source>
        <translation>In den Dateien des Projekts wird ersetzt...</translation>
    </message>
    <message>
        <source>Cannot read file %1: %2</source>
        <translation>Die Datei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot write file %1: %2</source>
        <translation>Die Datei %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Replace All was cancelled after %1 of %2 files.</source>
        <translation>„Alle ersetzen“ wurde nach %1 von %2 Dateien abgebrochen.</translation>
    </message>
    <message>
        <source>Replaced %1 occurences</source>
        <translation>%1 Vorkommen ersetzt</translation>
    </message>
</context>
<context>
    <name>GotoLineClass</name>
    <message>
        <source>Go To Line</source>
        <translation>Gehe zu Zeile</translation>
    </message>
    <message>
        <source>Line number (1 - %1)</source>
        <translation>Zeilennummer (1 - %1)</translation>
    </message>
</context>
<context>
    <name>GotoLineDialog</name>
    <message>
        <source>Line number (1 - %1)</source>
        <translation>Zeilennummer (1 - %1)</translation>
    </message>
</context>
<context>
    <name>MakeText</name>
    <message>
        <source>a line break</source>
        <translation>einen Zeilenumbruch</translation>
    </message>
    <message>
        <source>a tab</source>
        <translation>einen Tabulator</translation>
    </message>
    <message>
        <source>a control character</source>
        <translation>ein Steuerzeichen</translation>
    </message>
    <message>
        <source>a backslash before &quot;#&quot; or at the end</source>
        <translation>einen umgekehrten Schrägstrich vor „#“ oder am Ende</translation>
    </message>
</context>
<context>
    <name>MakefileWriter</name>
    <message>
        <source>Not all intermediate file names are filled. It should be an error in compiler configuration file.</source>
        <translation>Nicht alle Namen der Zwischendateien sind gesetzt. Vermutlich enthält die Compiler-Konfigurationsdatei einen Fehler.</translation>
    </message>
    <message>
        <source>Cannot open file %1 for writing
</source>
        <translation>Die Datei %1 kann nicht zum Schreiben geöffnet werden
</translation>
    </message>
    <message>
        <source>Project %1, configuration &quot;%2&quot;: the %3 &quot;%4&quot; holds %5, which a Makefile cannot take.</source>
        <translation>Projekt %1, Konfiguration „%2“: %3 „%4“ enthält %5, was ein Makefile nicht aufnehmen kann.</translation>
    </message>
    <message>
        <source>The file name &quot;%1&quot; holds %2, which make cannot take. Rename the file to build it.</source>
        <translation>Der Dateiname „%1“ enthält %2, was make nicht verarbeiten kann. Benennen Sie die Datei um, um sie zu erstellen.</translation>
    </message>
    <message>
        <source>Project %1: the configuration name &quot;%2&quot; names the files the build makes and must not hold &quot;/&quot;, &quot;\&quot; or &quot;..&quot;.</source>
        <translation>Projekt %1: Der Konfigurationsname „%2“ benennt die Dateien, die der Build erzeugt, und darf weder „/“, „\“ noch „..“ enthalten.</translation>
    </message>
    <message>
        <source>Project %1, configuration &quot;%2&quot;: the target &quot;%3&quot; cannot name the output folder.</source>
        <translation>Projekt %1, Konfiguration „%2“: Das Ziel „%3“ kann den Ausgabeordner nicht benennen.</translation>
    </message>
    <message>
        <source>Project %1, configuration &quot;%2&quot;: the CLOCK &quot;%3&quot; is not a frequency from 1 Hz to %4 Hz.</source>
        <translation>Projekt %1, Konfiguration „%2“: CLOCK „%3“ ist keine Frequenz von 1 Hz bis %4 Hz.</translation>
    </message>
    <message>
        <source>The compiler configuration %1 has no tool &quot;%2&quot; for its processes.</source>
        <translation>Die Compiler-Konfiguration %1 hat kein Werkzeug „%2“ für ihre Verarbeitungsschritte.</translation>
    </message>
    <message>
        <source>Two steps of the build would make the same file %1; rename one of the files %2 and %3.</source>
        <translation>Zwei Schritte des Builds würden dieselbe Datei %1 erzeugen; benennen Sie eine der Dateien %2 und %3 um.</translation>
    </message>
    <message>
        <source>The compiler configuration %1 could not load its tool or process &quot;%2&quot;; it cannot build.</source>
        <translation>Die Compiler-Konfiguration %1 konnte ihr Werkzeug oder ihren Prozess &quot;%2&quot; nicht laden; sie kann nicht erstellen.</translation>
    </message>
</context>
<context>
    <name>OutWindow</name>
    <message>
        <source>Output</source>
        <translation>Ausgabe</translation>
    </message>
    <message>
        <source>[Earlier lines dropped: %1; the Output pane keeps the last %2 lines]</source>
        <translation>[Frühere Zeilen verworfen: %1; der Ausgabebereich behält die letzten %2 Zeilen]</translation>
    </message>
</context>
<context>
    <name>OutputParser</name>
    <message>
        <source>Already compiled, target is up to date.</source>
        <translation>Bereits kompiliert, das Ziel ist aktuell.</translation>
    </message>
    <message>
        <source>1 error</source>
        <translation>1 Fehler</translation>
    </message>
    <message>
        <source>%1 errors</source>
        <translation>%1 Fehler</translation>
    </message>
    <message>
        <source>1 warning</source>
        <translation>1 Warnung</translation>
    </message>
    <message>
        <source>%1 warnings</source>
        <translation>%1 Warnungen</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>Print</name>
    <message>
        <source>Print Document</source>
        <translation>Dokument drucken</translation>
    </message>
</context>
<context>
    <name>ProgramSettingsDialog</name>
    <message>
        <source>Editor Settings</source>
        <translation>Editor-Einstellungen</translation>
    </message>
    <message>
        <source>Directories</source>
        <translation>Verzeichnisse</translation>
    </message>
    <message>
        <source>Compilers Configuration Files</source>
        <translation>Compiler-Konfigurationsdateien</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Default Value</source>
        <translation>Standardwert</translation>
    </message>
    <message>
        <source>Simulator Configuration Files</source>
        <translation>Simulator-Konfigurationsdateien</translation>
    </message>
    <message>
        <source>Syntax Highlight Files</source>
        <translation>Dateien für die Syntaxhervorhebung</translation>
    </message>
    <message>
        <source>Tools Files</source>
        <translation>Werkzeugdateien</translation>
    </message>
    <message>
        <source>Development Boards Files</source>
        <translation>Dateien der Entwicklungsboards</translation>
    </message>
    <message>
        <source>Quorvin</source>
        <translation>Quorvin</translation>
    </message>
    <message>
        <source>Projects</source>
        <translation>Projekte</translation>
    </message>
    <message>
        <source>Fonts and Colours</source>
        <translation>Schriften und Farben</translation>
    </message>
    <message>
        <source>Settings for:</source>
        <translation>Einstellungen für:</translation>
    </message>
    <message>
        <source>Load Defaults</source>
        <translation>Standardwerte laden</translation>
    </message>
    <message>
        <source>Font (fixed-width fonts are bold):</source>
        <translation>Schrift (Schriften fester Breite sind fett):</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <source>9</source>
        <translation>9</translation>
    </message>
    <message>
        <source>10</source>
        <translation>10</translation>
    </message>
    <message>
        <source>11</source>
        <translation>11</translation>
    </message>
    <message>
        <source>12</source>
        <translation>12</translation>
    </message>
    <message>
        <source>13</source>
        <translation>13</translation>
    </message>
    <message>
        <source>14</source>
        <translation>14</translation>
    </message>
    <message>
        <source>15</source>
        <translation>15</translation>
    </message>
    <message>
        <source>16</source>
        <translation>16</translation>
    </message>
    <message>
        <source>17</source>
        <translation>17</translation>
    </message>
    <message>
        <source>18</source>
        <translation>18</translation>
    </message>
    <message>
        <source>19</source>
        <translation>19</translation>
    </message>
    <message>
        <source>20</source>
        <translation>20</translation>
    </message>
    <message>
        <source>21</source>
        <translation>21</translation>
    </message>
    <message>
        <source>22</source>
        <translation>22</translation>
    </message>
    <message>
        <source>23</source>
        <translation>23</translation>
    </message>
    <message>
        <source>24</source>
        <translation>24</translation>
    </message>
    <message>
        <source>Item foreground:</source>
        <translation>Vordergrund:</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Item background:</source>
        <translation>Hintergrund:</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Unterstrichen</translation>
    </message>
    <message>
        <source>Sample:</source>
        <translation>Beispiel:</translation>
    </message>
    <message>
        <source>Editor</source>
        <translation>Editor</translation>
    </message>
    <message>
        <source>Highlight current line</source>
        <translation>Aktuelle Zeile hervorheben</translation>
    </message>
    <message>
        <source>Display line numbers</source>
        <translation>Zeilennummern anzeigen</translation>
    </message>
    <message>
        <source>Display indentation guides</source>
        <translation>Einrückungslinien anzeigen</translation>
    </message>
    <message>
        <source>Auto indent</source>
        <translation>Automatisch einrücken</translation>
    </message>
    <message>
        <source>Tab indents</source>
        <translation>Tabulatortaste rückt ein</translation>
    </message>
    <message>
        <source>Backspace unindents</source>
        <translation>Rücktaste rückt aus</translation>
    </message>
    <message>
        <source>Use tabs</source>
        <translation>Tabulatoren verwenden</translation>
    </message>
    <message>
        <source>Use Spaces</source>
        <translation>Leerzeichen verwenden</translation>
    </message>
    <message>
        <source>Brace matching</source>
        <translation>Klammerpaare hervorheben</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Strict</source>
        <translation>Streng</translation>
    </message>
    <message>
        <source>Sloppy</source>
        <translation>Großzügig</translation>
    </message>
    <message>
        <source>Indent width</source>
        <translation>Einrückungsbreite</translation>
    </message>
    <message>
        <source>Tab width</source>
        <translation>Tabulatorbreite</translation>
    </message>
    <message>
        <source>Whitespaces visibility</source>
        <translation>Sichtbarkeit von Leerraum</translation>
    </message>
    <message>
        <source>Invisible</source>
        <translation>Unsichtbar</translation>
    </message>
    <message>
        <source>Visible</source>
        <translation>Sichtbar</translation>
    </message>
    <message>
        <source>Visible after indent</source>
        <translation>Sichtbar nach der Einrückung</translation>
    </message>
    <message>
        <source>Wrap mode</source>
        <translation>Zeilenumbruch</translation>
    </message>
    <message>
        <source>Word</source>
        <translation>Wort</translation>
    </message>
    <message>
        <source>Character</source>
        <translation>Zeichen</translation>
    </message>
    <message>
        <source>Code Folding</source>
        <translation>Code-Faltung</translation>
    </message>
    <message>
        <source>Plain</source>
        <translation>Einfach</translation>
    </message>
    <message>
        <source>Circled</source>
        <translation>Rund</translation>
    </message>
    <message>
        <source>Boxed</source>
        <translation>Eckig</translation>
    </message>
    <message>
        <source>Circled tree</source>
        <translation>Runder Baum</translation>
    </message>
    <message>
        <source>Boxed tree</source>
        <translation>Eckiger Baum</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Maroon</source>
        <translation>Kastanienbraun</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Olive</source>
        <translation>Oliv</translation>
    </message>
    <message>
        <source>Navy</source>
        <translation>Marineblau</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>Violett</translation>
    </message>
    <message>
        <source>Teal</source>
        <translation>Blaugrün</translation>
    </message>
    <message>
        <source>Silver</source>
        <translation>Silber</translation>
    </message>
    <message>
        <source>Gray</source>
        <translation>Grau</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Lime</source>
        <translation>Hellgrün</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Magenta</source>
        <translation>Magenta</translation>
    </message>
    <message>
        <source>Cyan</source>
        <translation>Cyan</translation>
    </message>
    <message>
        <source>Compilers Configuration Files Directory</source>
        <translation>Verzeichnis der Compiler-Konfigurationsdateien</translation>
    </message>
    <message>
        <source>Simulator Configuration Files Directory</source>
        <translation>Verzeichnis der Simulator-Konfigurationsdateien</translation>
    </message>
    <message>
        <source>Syntax Higlighting Files Directory</source>
        <translation>Verzeichnis der Dateien für die Syntaxhervorhebung</translation>
    </message>
    <message>
        <source>Tools Directory</source>
        <translation>Werkzeugverzeichnis</translation>
    </message>
    <message>
        <source>Development Boards Directory</source>
        <translation>Verzeichnis der Entwicklungsboards</translation>
    </message>
    <message>
        <source>Quorvin Directory</source>
        <translation>Quorvin-Verzeichnis</translation>
    </message>
    <message>
        <source>Projects Directory</source>
        <translation>Projektverzeichnis</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Benutzerdefiniert</translation>
    </message>
    <message>
        <source>AaBbCcXxYyZz 0123456789 (){}[] ;:,.</source>
        <translation>AaÄäBbCcÖöÜüß 0123456789 (){}[] ;:,.</translation>
    </message>
    <message>
        <source>The directory &quot;%1&quot; given for %2 does not exist.</source>
        <translation>Das für %2 angegebene Verzeichnis „%1“ existiert nicht.</translation>
    </message>
    <message>
        <source>Parallel build jobs</source>
        <translation>Parallele Build-Jobs</translation>
    </message>
    <message>
        <source>0 (one at a time)</source>
        <translation>0 (nacheinander)</translation>
    </message>
    <message>
        <source>How many build steps make runs at the same time; 0 runs them one after another. Processors of this computer: %1.</source>
        <translation>Wie viele Build-Schritte make gleichzeitig ausführt; bei 0 laufen sie nacheinander. Prozessoren dieses Rechners: %1.</translation>
    </message>
</context>
<context>
    <name>Project</name>
    <message>
        <source>the file does not exist</source>
        <translation>die Datei existiert nicht</translation>
    </message>
    <message>
        <source>it is a folder, not a project file</source>
        <translation>es ist ein Ordner, keine Projektdatei</translation>
    </message>
    <message>
        <source>it has no build configuration</source>
        <translation>es hat keine Build-Konfiguration</translation>
    </message>
    <message>
        <source>configuration &quot;%1&quot; needs the compiler &quot;%2&quot;, which is not available</source>
        <translation>die Konfiguration „%1“ benötigt den Compiler „%2“, der nicht verfügbar ist</translation>
    </message>
    <message>
        <source>configuration &quot;%1&quot; has no controller</source>
        <translation>die Konfiguration „%1“ hat keinen Controller</translation>
    </message>
    <message>
        <source>configuration &quot;%1&quot; cannot be read</source>
        <translation>die Konfiguration „%1“ kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>Open Project</source>
        <translation>Projekt öffnen</translation>
    </message>
    <message>
        <source>Project files (*.%1)</source>
        <translation>Projektdateien (*.%1)</translation>
    </message>
    <message>
        <source>Cannot save project file %1: %2</source>
        <translation>Die Projektdatei %1 kann nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>Project &apos;%1&apos; has been modified.
Do you want to save your changes?</source>
        <translation>Das Projekt „%1“ wurde geändert.
Möchten Sie die Änderungen speichern?</translation>
    </message>
    <message>
        <source>Project%1</source>
        <translation>Projekt%1</translation>
    </message>
    <message>
        <source>	Family: </source>
        <translation>	Familie: </translation>
    </message>
    <message>
        <source>	Controller: </source>
        <translation>	Controller: </translation>
    </message>
    <message>
        <source>	Compiler: </source>
        <translation>	Compiler: </translation>
    </message>
    <message>
        <source>	Files:</source>
        <translation>	Dateien:</translation>
    </message>
    <message>
        <source>source</source>
        <translation>source</translation>
    </message>
    <message>
        <source>linker</source>
        <translation>linker</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Zusatz</translation>
    </message>
    <message>
        <source>Design</source>
        <translation>Schaltplan</translation>
    </message>
    <message>
        <source>%1 Files</source>
        <translation>%1-Dateien</translation>
    </message>
    <message>
        <source>File &apos;%1&apos; not found</source>
        <translation>Die Datei „%1“ wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>All files (*.*)</source>
        <translation>Alle Dateien (*.*)</translation>
    </message>
    <message>
        <source>New File Name</source>
        <translation>Name der neuen Datei</translation>
    </message>
    <message>
        <source>Cannot create file %1: %2</source>
        <translation>Die Datei %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>New Design File Name</source>
        <translation>Name der neuen Schaltplandatei</translation>
    </message>
    <message>
        <source>Design files (*.dsn)</source>
        <translation>Schaltplandateien (*.dsn)</translation>
    </message>
    <message>
        <source>Cannot create the design file %1: %2</source>
        <translation>Die Schaltplandatei %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>Are you sure you want the schematic file to be outside the project&apos;s directory?</source>
        <translation>Soll die Schaltplandatei wirklich außerhalb des Projektverzeichnisses liegen?</translation>
    </message>
    <message>
        <source>This is not recommended as it can cause problems locating the source code when debugging.</source>
        <translation>Das wird nicht empfohlen, weil der Quelltext beim Debuggen dann womöglich nicht gefunden wird.</translation>
    </message>
    <message>
        <source>Save Project</source>
        <translation>Projekt speichern</translation>
    </message>
    <message>
        <source>Error saving project</source>
        <translation>Fehler beim Speichern des Projekts</translation>
    </message>
    <message>
        <source> copy</source>
        <translation> Kopie</translation>
    </message>
    <message>
        <source>The project cannot be saved over its own file; choose another name or folder.</source>
        <translation>Das Projekt kann nicht über seine eigene Datei gespeichert werden; wählen Sie einen anderen Namen oder Ordner.</translation>
    </message>
    <message>
        <source>Cannot save project copy as files in the target directory would be overwritten.</source>
        <translation>Die Projektkopie kann nicht gespeichert werden, da Dateien im Zielverzeichnis überschrieben würden.</translation>
    </message>
    <message>
        <source>Could not save project</source>
        <translation>Das Projekt konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>%1 was there already; it joins the project as it is.</source>
        <translation>%1 war bereits vorhanden und wird unverändert ins Projekt aufgenommen.</translation>
    </message>
    <message>
        <source>The configuration &quot;%1&quot; of project %2 could not be loaded.</source>
        <translation>Die Konfiguration „%1“ des Projekts %2 konnte nicht geladen werden.</translation>
    </message>
    <message>
        <source>The file name &quot;%1&quot; holds %2, which make cannot take; the file was not added.</source>
        <translation>Der Dateiname „%1“ enthält %2, was make nicht verarbeiten kann; die Datei wurde nicht hinzugefügt.</translation>
    </message>
    <message>
        <source>it is not a project file (its first element is &quot;%1&quot;, not PROJECT)</source>
        <translation>es ist keine Projektdatei (ihr erstes Element ist &quot;%1&quot;, nicht PROJECT)</translation>
    </message>
</context>
<context>
    <name>ProjectBuilder</name>
    <message>
        <source>Compilation failed. No project configurations defined, check the Project Settings.</source>
        <translation>Kompilieren fehlgeschlagen. Es sind keine Projektkonfigurationen festgelegt; prüfen Sie die Projekteinstellungen.</translation>
    </message>
    <message>
        <source>Project must be saved before compilation</source>
        <translation>Das Projekt muss vor dem Kompilieren gespeichert werden</translation>
    </message>
    <message>
        <source>No controller family defined.</source>
        <translation>Keine Controller-Familie festgelegt.</translation>
    </message>
    <message>
        <source>No controller defined.</source>
        <translation>Kein Controller festgelegt.</translation>
    </message>
    <message>
        <source>No compiler defined.</source>
        <translation>Kein Compiler festgelegt.</translation>
    </message>
    <message>
        <source>Compilation failed. Check the Project Settings.</source>
        <translation>Kompilieren fehlgeschlagen. Prüfen Sie die Projekteinstellungen.</translation>
    </message>
    <message>
        <source>The selected compiler &apos;%1&apos; is not installed.</source>
        <translation>Der gewählte Compiler „%1“ ist nicht installiert.</translation>
    </message>
    <message>
        <source>Cannot create Makefile.</source>
        <translation>Das Makefile kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Project configuration is not valid</source>
        <translation>Die Projektkonfiguration ist ungültig</translation>
    </message>
    <message>
        <source>No source files to build</source>
        <translation>Keine Quelldateien zum Erstellen vorhanden</translation>
    </message>
    <message>
        <source>%1 does not exist in path &apos;%2&apos;</source>
        <translation>%1 existiert nicht im Pfad „%2“</translation>
    </message>
    <message>
        <source>Compiler is not configured.
</source>
        <translation>Der Compiler ist nicht eingerichtet.
</translation>
    </message>
    <message>
        <source>Cleaning</source>
        <translation>Bereinigen</translation>
    </message>
    <message>
        <source>Building</source>
        <translation>Erstellen</translation>
    </message>
    <message>
        <source>Clean aborted by user
</source>
        <translation>Bereinigen vom Benutzer abgebrochen
</translation>
    </message>
    <message>
        <source>Build aborted by user
</source>
        <translation>Erstellen vom Benutzer abgebrochen
</translation>
    </message>
    <message>
        <source>Cannot start %1: %2
</source>
        <translation>%1 kann nicht gestartet werden: %2
</translation>
    </message>
    <message>
        <source>Process seems to be crashed: %1
</source>
        <translation>Der Prozess ist offenbar abgestürzt: %1
</translation>
    </message>
    <message>
        <source>Error code %1
</source>
        <translation>Fehlercode %1
</translation>
    </message>
    <message>
        <source>Compiled successfully.
</source>
        <translation>Erfolgreich kompiliert.
</translation>
    </message>
    <message>
        <source>Cleaned.
</source>
        <translation>Bereinigt.
</translation>
    </message>
    <message>
        <source>Tidied.
</source>
        <translation>Aufgeräumt.
</translation>
    </message>
    <message>
        <source>make ended without an error, but the build did not make %1.</source>
        <translation>make endete ohne Fehler, aber der Build hat %1 nicht erzeugt.</translation>
    </message>
</context>
<context>
    <name>ProjectCopier</name>
    <message>
        <source>Cannot put %1 and %2 into one folder: they have the same name. Keep the subdirectories structure instead.</source>
        <translation>%1 und %2 können nicht in einen Ordner gelegt werden, da sie gleich heißen. Behalten Sie stattdessen die Struktur der Unterverzeichnisse bei.</translation>
    </message>
    <message>
        <source>Some project files are on a different disk - could not repeat directories structure.</source>
        <translation>Einige Projektdateien liegen auf einem anderen Laufwerk – die Verzeichnisstruktur konnte nicht nachgebildet werden.</translation>
    </message>
    <message>
        <source>Could not copy file %1 to %2: the destination is a file of the project</source>
        <translation>Die Datei %1 konnte nicht nach %2 kopiert werden: Das Ziel ist eine Datei des Projekts</translation>
    </message>
    <message>
        <source>File Exists</source>
        <translation>Datei existiert</translation>
    </message>
    <message>
        <source>Destination file %1 exists
Ddo you want to overwrite it?</source>
        <translation>Die Zieldatei %1 existiert bereits.
Möchten Sie sie überschreiben?</translation>
    </message>
    <message>
        <source>Could not delete file %1</source>
        <translation>Die Datei %1 konnte nicht gelöscht werden</translation>
    </message>
    <message>
        <source>Could not create directory %1</source>
        <translation>Das Verzeichnis %1 konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>Could not copy file %1 to %2</source>
        <translation>Die Datei %1 konnte nicht nach %2 kopiert werden</translation>
    </message>
    <message>
        <source>No file was copied.</source>
        <translation>Es wurde keine Datei kopiert.</translation>
    </message>
    <message>
        <source>These copies were made and left in place:
%1</source>
        <translation>Diese Kopien wurden angelegt und bleiben erhalten:
%1</translation>
    </message>
</context>
<context>
    <name>ProjectsManager</name>
    <message>
        <source>Project</source>
        <translation>Projekt</translation>
    </message>
    <message>
        <source>The project cannot be closed while it is being built.</source>
        <translation>Das Projekt kann nicht geschlossen werden, während es erstellt wird.</translation>
    </message>
    <message>
        <source>Files %1 have been modified.
Do you want to save your changes?</source>
        <translation>Die Dateien %1 wurden geändert.
Möchten Sie die Änderungen speichern?</translation>
    </message>
    <message>
        <source>The compilers directory %1 has no configuration for %2, which the open project uses; it takes effect at the next start.
</source>
        <translation>Das Compiler-Verzeichnis %1 enthält keine Konfiguration für %2, den das geöffnete Projekt verwendet; es wird beim nächsten Start wirksam.
</translation>
    </message>
    <message>
        <source>The project file %1 was deleted outside the program; Save Project writes it again.</source>
        <translation>Die Projektdatei %1 wurde außerhalb des Programms gelöscht; „Projekt speichern“ schreibt sie neu.</translation>
    </message>
    <message>
        <source>The project file %1 has been changed outside the program.
Reload the project?</source>
        <translation>Die Projektdatei %1 wurde außerhalb des Programms geändert.
Projekt neu laden?</translation>
    </message>
    <message>
        <source>Your unsaved changes to the project will be lost.</source>
        <translation>Ihre nicht gespeicherten Änderungen am Projekt gehen verloren.</translation>
    </message>
    <message>
        <source>Project %1 is already opened</source>
        <translation>Das Projekt %1 ist bereits geöffnet</translation>
    </message>
    <message>
        <source>Cannot open project %1: %2
</source>
        <translation>Das Projekt %1 kann nicht geöffnet werden: %2
</translation>
    </message>
    <message>
        <source>No Quorvin Installation Detected.</source>
        <translation>Keine Quorvin-Installation gefunden.</translation>
    </message>
    <message>
        <source>Samples are installed with Quorvin ZMX.
Quorvin ZMX is available from Dravenhol Electronics and its distributors.</source>
        <translation>Die Beispiele werden mit Quorvin ZMX installiert.
Quorvin ZMX erhalten Sie von Dravenhol Electronics und seinen Vertriebspartnern.</translation>
    </message>
    <message>
        <source>Sample %1 was copied to %2; the copy is open.
</source>
        <translation>Das Beispiel %1 wurde nach %2 kopiert; die Kopie ist geöffnet.
</translation>
    </message>
    <message>
        <source>Remove file.</source>
        <translation>Datei entfernen.</translation>
    </message>
    <message>
        <source>Building</source>
        <translation>Erstellen</translation>
    </message>
    <message>
        <source>Cleaning</source>
        <translation>Bereinigen</translation>
    </message>
    <message>
        <source>Tidying</source>
        <translation>Aufräumen</translation>
    </message>
    <message>
        <source>No project selected.</source>
        <translation>Kein Projekt ausgewählt.</translation>
    </message>
    <message>
        <source>Cannot launch the design file as no Quorvin installation has been detected.
If you have a copy of Quorvin installed you can set the path from the Editor Configuration dialogue on the Config menu.
Quorvin ZMX is available from Dravenhol Electronics and its distributors.</source>
        <translation>Die Schaltplandatei kann nicht gestartet werden, da keine Quorvin-Installation gefunden wurde.
Wenn Quorvin installiert ist, können Sie den Pfad im Dialog „Editor-Konfiguration“ im Menü „Einstellungen“ angeben.
Quorvin ZMX erhalten Sie von Dravenhol Electronics und seinen Vertriebspartnern.</translation>
    </message>
    <message>
        <source>No project configurations defined.</source>
        <translation>Keine Projektkonfigurationen festgelegt.</translation>
    </message>
    <message>
        <source>Use the Add Design File command to associate your VASK schematic with the project.</source>
        <translation>Verbinden Sie Ihren VASK-Schaltplan mit dem Befehl „Schaltplandatei hinzufügen“ mit dem Projekt.</translation>
    </message>
    <message>
        <source>Compiled firmware file name is not set.</source>
        <translation>Der Dateiname der kompilierten Firmware ist nicht festgelegt.</translation>
    </message>
    <message>
        <source>Microcontroller is not selected in the project properties.</source>
        <translation>In den Projekteigenschaften ist kein Mikrocontroller ausgewählt.</translation>
    </message>
    <message>
        <source>Clock is not set in project properties.</source>
        <translation>In den Projekteigenschaften ist kein Takt festgelegt.</translation>
    </message>
    <message>
        <source>Sent program firmware to VASK for simulation.</source>
        <translation>Die Firmware wurde zur Simulation an VASK übergeben.</translation>
    </message>
    <message>
        <source>Program firmware has not been compiled in this configuration.</source>
        <translation>Die Firmware wurde in dieser Konfiguration noch nicht kompiliert.</translation>
    </message>
    <message>
        <source>Launched project design file in VASK.</source>
        <translation>Die Schaltplandatei des Projekts wurde in VASK gestartet.</translation>
    </message>
    <message>
        <source>Failed to launch project design file in VASK.</source>
        <translation>Die Schaltplandatei des Projekts konnte nicht in VASK gestartet werden.</translation>
    </message>
    <message>
        <source>Debugging in VASK started.</source>
        <translation>Debuggen in VASK gestartet.</translation>
    </message>
    <message>
        <source>Closed VASK.</source>
        <translation>VASK geschlossen.</translation>
    </message>
    <message>
        <source>Debugging stopped.</source>
        <translation>Debuggen beendet.</translation>
    </message>
    <message>
        <source>Click the VASK icon to launch the design file in VASK for simulation and debugging.
</source>
        <translation>Klicken Sie auf das VASK-Symbol, um die Schaltplandatei zum Simulieren und Debuggen in VASK zu starten.
</translation>
    </message>
</context>
<context>
    <name>QsciLexerQuorvin</name>
    <message>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <source>String</source>
        <translation>Zeichenkette</translation>
    </message>
    <message>
        <source>Constant</source>
        <translation>Konstante</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>Keyword</source>
        <translation>Schlüsselwort</translation>
    </message>
    <message>
        <source>Extensions</source>
        <translation>Erweiterungen</translation>
    </message>
    <message>
        <source>Macro</source>
        <translation>Makro</translation>
    </message>
    <message>
        <source>%1:%2: the %3 pattern &quot;%4&quot; is not a valid regular expression (%5 at offset %6); the line is ignored</source>
        <translation>%1:%2: das %3-Muster &quot;%4&quot; ist kein gültiger regulärer Ausdruck (%5 an Stelle %6); die Zeile wird übergangen</translation>
    </message>
</context>
<context>
    <name>QuorvinInterface</name>
    <message>
        <source>Cannot launch the design file as no Quorvin installation has been detected.
If you have a copy of Quorvin installed you can set the path from the Editor Configuration dialogue on the Config menu.</source>
        <translation>Die Schaltplandatei kann nicht gestartet werden, da keine Quorvin-Installation gefunden wurde.
Wenn Quorvin installiert ist, können Sie den Pfad im Dialog „Editor-Konfiguration“ im Menü „Einstellungen“ angeben.</translation>
    </message>
    <message>
        <source>No design file specified for the project.</source>
        <translation>Für das Projekt ist keine Schaltplandatei angegeben.</translation>
    </message>
    <message>
        <source>Microcontroller is not selected in the project properties.</source>
        <translation>In den Projekteigenschaften ist kein Mikrocontroller ausgewählt.</translation>
    </message>
    <message>
        <source>Compiled firmware file name is not set.</source>
        <translation>Der Dateiname der kompilierten Firmware ist nicht festgelegt.</translation>
    </message>
    <message>
        <source>Design file not found.</source>
        <translation>Schaltplandatei nicht gefunden.</translation>
    </message>
    <message>
        <source>Sent program firmware to VASK for simulation.</source>
        <translation>Die Firmware wurde zur Simulation an VASK übergeben.</translation>
    </message>
    <message>
        <source>Cannot launch VASK as no Quorvin installation has been detected.
If you have a copy of Quorvin installed you can set the path from the Editor Configuration dialogue on the Config menu.</source>
        <translation>VASK kann nicht gestartet werden, da keine Quorvin-Installation gefunden wurde.
Wenn Quorvin installiert ist, können Sie den Pfad im Dialog „Editor-Konfiguration“ im Menü „Einstellungen“ angeben.</translation>
    </message>
    <message>
        <source>VASK crashed.</source>
        <translation>VASK ist abgestürzt.</translation>
    </message>
    <message>
        <source>Cannot write the VASK hand-off file %1: %2</source>
        <translation>Die Übergabedatei für VASK %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message numerus="yes">
        <source>VASK did not answer within %n second(s).</source>
        <translation>
            <numerusform>VASK hat nicht innerhalb von %n Sekunde geantwortet.</numerusform>
            <numerusform>VASK hat nicht innerhalb von %n Sekunden geantwortet.</numerusform>
        </translation>
    </message>
    <message>
        <source>Quorvin ZMX is available from Dravenhol Electronics and its distributors.</source>
        <translation>Quorvin ZMX erhalten Sie von Dravenhol Electronics und seinen Vertriebspartnern.</translation>
    </message>
</context>
<context>
    <name>SampleCopier</name>
    <message>
        <source>Cannot copy %1 to %2.
</source>
        <translation>%1 kann nicht nach %2 kopiert werden.
</translation>
    </message>
    <message>
        <source>Cannot read the sample %1.
</source>
        <translation>Das Beispiel %1 kann nicht gelesen werden.
</translation>
    </message>
    <message>
        <source>Cannot create the folder %1.
</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.
</translation>
    </message>
    <message>
        <source>Cannot write %1.
</source>
        <translation>%1 kann nicht geschrieben werden.
</translation>
    </message>
</context>
<context>
    <name>SampleProject</name>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
</context>
<context>
    <name>SampleProjectDialog</name>
    <message>
        <source>SampleProject</source>
        <translation>Beispielprojekt</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Controller Family</source>
        <translation>Controller-Familie</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>SearchPattern</name>
    <message>
        <source>The search text is empty.</source>
        <translation>Der Suchtext ist leer.</translation>
    </message>
    <message>
        <source>Invalid regular expression &quot;%1&quot;: %2 at position %3.</source>
        <translation>Ungültiger regulärer Ausdruck „%1“: %2 an Position %3.</translation>
    </message>
</context>
<context>
    <name>SourceEditor</name>
    <message>
        <source>File name is empty or file not found.</source>
        <translation>Der Dateiname ist leer oder die Datei wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source> (deleted)</source>
        <translation> (gelöscht)</translation>
    </message>
    <message>
        <source>%1 was deleted outside the editor.
Save it again?</source>
        <translation>%1 wurde außerhalb des Editors gelöscht.
Erneut speichern?</translation>
    </message>
    <message>
        <source>%1 is kept in %2, which cannot hold every character of the text.
Save it as UTF-8 instead?</source>
        <translation>%1 ist in %2 gespeichert, das nicht jedes Zeichen des Textes darstellen kann.
Stattdessen als UTF-8 speichern?</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>Die Datei %1 kann nicht geschrieben werden:
%2.</translation>
    </message>
    <message>
        <source>File saved</source>
        <translation>Datei gespeichert</translation>
    </message>
    <message>
        <source>%1 has been changed outside the editor.
Reload it and lose your changes?</source>
        <translation>%1 wurde außerhalb des Editors geändert.
Neu laden und Ihre Änderungen verwerfen?</translation>
    </message>
    <message>
        <source>%1 has been modified.
Do you want to save your changes?</source>
        <translation>%1 wurde geändert.
Möchten Sie die Änderungen speichern?</translation>
    </message>
</context>
<context>
    <name>SrcManager</name>
    <message>
        <source>&amp;Open File</source>
        <translation>Datei &amp;öffnen</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Open a file</source>
        <translation>Eine Datei öffnen</translation>
    </message>
    <message>
        <source>&amp;Save File</source>
        <translation>Datei spei&amp;chern</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Save the file to disk</source>
        <translation>Die Datei auf dem Datenträger speichern</translation>
    </message>
    <message>
        <source>Save All Files</source>
        <translation>Alle Dateien speichern</translation>
    </message>
    <message>
        <source>Ctrl+Shift+S</source>
        <translation>Ctrl+Shift+S</translation>
    </message>
    <message>
        <source>Save all unsaved files</source>
        <translation>Alle ungespeicherten Dateien speichern</translation>
    </message>
    <message>
        <source>&amp;Close File</source>
        <translation>Datei sch&amp;ließen</translation>
    </message>
    <message>
        <source>Ctrl+F4</source>
        <translation>Ctrl+F4</translation>
    </message>
    <message>
        <source>Close file</source>
        <translation>Datei schließen</translation>
    </message>
    <message>
        <source>&amp;Print File</source>
        <translation>Datei &amp;drucken</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>Print file</source>
        <translation>Datei drucken</translation>
    </message>
    <message>
        <source>Open Sample</source>
        <translation>Beispiel öffnen</translation>
    </message>
    <message>
        <source>Open a sample project</source>
        <translation>Ein Beispielprojekt öffnen</translation>
    </message>
    <message>
        <source>&amp;New Project</source>
        <translation>&amp;Neues Projekt</translation>
    </message>
    <message>
        <source>Ctrl+Shift+N</source>
        <translation>Ctrl+Shift+N</translation>
    </message>
    <message>
        <source>Create a new project</source>
        <translation>Ein neues Projekt anlegen</translation>
    </message>
    <message>
        <source>&amp;Open Project</source>
        <translation>Projekt ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Ctrl+Shift+O</source>
        <translation>Ctrl+Shift+O</translation>
    </message>
    <message>
        <source>Open a project from disk</source>
        <translation>Ein Projekt vom Datenträger öffnen</translation>
    </message>
    <message>
        <source>&amp;Save Project</source>
        <translation>Projekt &amp;speichern</translation>
    </message>
    <message>
        <source>Ctrl+Alt+S</source>
        <translation>Ctrl+Alt+S</translation>
    </message>
    <message>
        <source>Save the project to disk</source>
        <translation>Das Projekt auf dem Datenträger speichern</translation>
    </message>
    <message>
        <source>Save Project &amp;As...</source>
        <translation>Projekt speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Save the project under a new name</source>
        <translation>Das Projekt unter einem neuen Namen speichern</translation>
    </message>
    <message>
        <source>&amp;Close Project</source>
        <translation>Projekt schl&amp;ießen</translation>
    </message>
    <message>
        <source>Close project</source>
        <translation>Projekt schließen</translation>
    </message>
    <message>
        <source>&amp;Add New File</source>
        <translation>&amp;Neue Datei hinzufügen</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>Add a new file to the project</source>
        <translation>Dem Projekt eine neue Datei hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Add Existing File</source>
        <translation>&amp;Vorhandene Datei hinzufügen</translation>
    </message>
    <message>
        <source>Add existing file to the project</source>
        <translation>Dem Projekt eine vorhandene Datei hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Add Design File</source>
        <translation>&amp;Schaltplandatei hinzufügen</translation>
    </message>
    <message>
        <source>Add a design file to the project</source>
        <translation>Dem Projekt eine Schaltplandatei hinzufügen</translation>
    </message>
    <message>
        <source>Create Design File</source>
        <translation>Schaltplandatei anlegen</translation>
    </message>
    <message>
        <source>Create and add a design file to the project</source>
        <translation>Eine Schaltplandatei anlegen und dem Projekt hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remove File</source>
        <translation>Datei &amp;entfernen</translation>
    </message>
    <message>
        <source>Remove file from the project</source>
        <translation>Die Datei aus dem Projekt entfernen</translation>
    </message>
    <message>
        <source>&amp;Project Settings</source>
        <translation>&amp;Projekteinstellungen</translation>
    </message>
    <message>
        <source>Display project settings window</source>
        <translation>Das Fenster der Projekteinstellungen anzeigen</translation>
    </message>
    <message>
        <source>&amp;Build Project</source>
        <translation>Projekt e&amp;rstellen</translation>
    </message>
    <message>
        <source>F7</source>
        <translation>F7</translation>
    </message>
    <message>
        <source>Build current project</source>
        <translation>Das aktuelle Projekt erstellen</translation>
    </message>
    <message>
        <source>&amp;Stop Build</source>
        <translation>Erstellen &amp;abbrechen</translation>
    </message>
    <message>
        <source>Alt+F7</source>
        <translation>Alt+F7</translation>
    </message>
    <message>
        <source>Abort current build</source>
        <translation>Den laufenden Erstellvorgang abbrechen</translation>
    </message>
    <message>
        <source>C&amp;lean Project</source>
        <translation>Projekt &amp;bereinigen</translation>
    </message>
    <message>
        <source>F6</source>
        <translation>F6</translation>
    </message>
    <message>
        <source>Delete all output &amp; intermediate files generated by compiler</source>
        <translation>Alle vom Compiler erzeugten Ausgabe- und Zwischendateien löschen</translation>
    </message>
    <message>
        <source>&amp;Tidy Project</source>
        <translation>Projekt auf&amp;räumen</translation>
    </message>
    <message>
        <source>Delete all intermediate files generated by compiler</source>
        <translation>Alle vom Compiler erzeugten Zwischendateien löschen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>Ctrl+X</source>
        <translation>Ctrl+X</translation>
    </message>
    <message>
        <source>Cut the current selection&apos;s contents to the clipboard</source>
        <translation>Die aktuelle Auswahl ausschneiden und in die Zwischenablage legen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>Copy the current selection&apos;s contents to the clipboard</source>
        <translation>Die aktuelle Auswahl in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Ctrl+V</source>
        <translation>Ctrl+V</translation>
    </message>
    <message>
        <source>Paste the clipboard&apos;s contents into the current selection</source>
        <translation>Den Inhalt der Zwischenablage an der aktuellen Auswahl einfügen</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Ctrl+Z</source>
        <translation>Ctrl+Z</translation>
    </message>
    <message>
        <source>Undo last action</source>
        <translation>Die letzte Aktion rückgängig machen</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Ctrl+Y</source>
        <translation>Ctrl+Y</translation>
    </message>
    <message>
        <source>Redo last action</source>
        <translation>Die letzte Aktion wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>Ctrl+F</source>
        <translation>Ctrl+F</translation>
    </message>
    <message>
        <source>Find text</source>
        <translation>Text suchen</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>&amp;Nächsten suchen</translation>
    </message>
    <message>
        <source>F3</source>
        <translation>F3</translation>
    </message>
    <message>
        <source>Find next match</source>
        <translation>Nächsten Treffer suchen</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>Erse&amp;tzen</translation>
    </message>
    <message>
        <source>Ctrl+H</source>
        <translation>Ctrl+H</translation>
    </message>
    <message>
        <source>Replace text</source>
        <translation>Text ersetzen</translation>
    </message>
    <message>
        <source>&amp;Goto</source>
        <translation>&amp;Gehe zu</translation>
    </message>
    <message>
        <source>Ctrl+G</source>
        <translation>Ctrl+G</translation>
    </message>
    <message>
        <source>Goto line</source>
        <translation>Gehe zu Zeile</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Exit the application</source>
        <translation>Die Anwendung beenden</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Show the application&apos;s Help</source>
        <translation>Die Hilfe der Anwendung anzeigen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Über</translation>
    </message>
    <message>
        <source>Show the application&apos;s About box</source>
        <translation>Informationen über die Anwendung anzeigen</translation>
    </message>
    <message>
        <source>About &amp;Qt</source>
        <translation>Über &amp;Qt</translation>
    </message>
    <message>
        <source>Show the Qt library&apos;s About box</source>
        <translation>Informationen über die Qt-Bibliothek anzeigen</translation>
    </message>
    <message>
        <source>&amp;Compilers Configuration</source>
        <translation>&amp;Compiler-Konfiguration</translation>
    </message>
    <message>
        <source>Displays Compilers configuration dialog</source>
        <translation>Zeigt den Dialog der Compiler-Konfiguration</translation>
    </message>
    <message>
        <source>&amp;Editor Configuration</source>
        <translation>&amp;Editor-Konfiguration</translation>
    </message>
    <message>
        <source>Displays Editor configuration dialog</source>
        <translation>Zeigt den Dialog der Editor-Konfiguration</translation>
    </message>
    <message>
        <source>&amp;Open Debugger</source>
        <translation>Debugger ö&amp;ffnen</translation>
    </message>
    <message>
        <source>F5</source>
        <translation>F5</translation>
    </message>
    <message>
        <source>Opens VASK window</source>
        <translation>Öffnet das VASK-Fenster</translation>
    </message>
    <message>
        <source>&amp;Start Debugging</source>
        <translation>Debuggen &amp;starten</translation>
    </message>
    <message>
        <source>F10</source>
        <translation>F10</translation>
    </message>
    <message>
        <source>Starts simulation in VASK window</source>
        <translation>Startet die Simulation im VASK-Fenster</translation>
    </message>
    <message>
        <source>S&amp;top Debugging</source>
        <translation>Debuggen &amp;beenden</translation>
    </message>
    <message>
        <source>Shift+F5</source>
        <translation>Shift+F5</translation>
    </message>
    <message>
        <source>Stops simulation in VASK window</source>
        <translation>Beendet die Simulation im VASK-Fenster</translation>
    </message>
    <message>
        <source>&amp;Close VASK</source>
        <translation>VASK sch&amp;ließen</translation>
    </message>
    <message>
        <source>Closes VASK window</source>
        <translation>Schließt das VASK-Fenster</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Project</source>
        <translation>Projekt</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Debug</source>
        <translation>Debuggen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Recently Opened...</source>
        <translation>Zuletzt geöffnet...</translation>
    </message>
    <message>
        <source>&amp;Project</source>
        <translation>&amp;Projekt</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Debug</source>
        <translation>Debu&amp;ggen</translation>
    </message>
    <message>
        <source>&amp;Config</source>
        <translation>E&amp;instellungen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Projects</source>
        <translation>&amp;Projekte</translation>
    </message>
    <message>
        <source>&amp;Output</source>
        <translation>&amp;Ausgabe</translation>
    </message>
    <message>
        <source>&amp;File Tool Bar</source>
        <translation>&amp;Werkzeugleiste Datei</translation>
    </message>
    <message>
        <source>P&amp;roject Tool Bar</source>
        <translation>Werkzeugleiste P&amp;rojekt</translation>
    </message>
    <message>
        <source>&amp;Edit Tool Bar</source>
        <translation>Werkzeugleiste &amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Debug Tool Bar</source>
        <translation>Werkzeugleiste &amp;Debuggen</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>All files (*.*)</source>
        <translation>Alle Dateien (*.*)</translation>
    </message>
    <message>
        <source>Configurations...</source>
        <translation>Konfigurationen...</translation>
    </message>
    <message>
        <source>Projects</source>
        <translation>Projekte</translation>
    </message>
    <message>
        <source>Open the project</source>
        <translation>Das Projekt öffnen</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Open the file</source>
        <translation>Die Datei öffnen</translation>
    </message>
    <message>
        <source>About ZMX Studio</source>
        <translation>Über ZMX Studio</translation>
    </message>
    <message>
        <source>&lt;b&gt;ZMX Studio&lt;/b&gt;&lt;p&gt;Release %1&lt;/p&gt;&lt;p&gt;Firmware development for microcontrollers.&lt;/p&gt;</source>
        <translation>&lt;b&gt;ZMX Studio&lt;/b&gt;&lt;p&gt;Version %1&lt;/p&gt;&lt;p&gt;Firmware-Entwicklung für Mikrocontroller.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Quorvin Detected but it is too old. Version 7.8 or later is required.</source>
        <translation>Quorvin wurde gefunden, ist aber zu alt. Version 7.8 oder neuer ist erforderlich.</translation>
    </message>
    <message>
        <source>No Quorvin Installation Detected.</source>
        <translation>Keine Quorvin-Installation gefunden.</translation>
    </message>
    <message>
        <source>Quorvin can be obtained from Dravenhol Electronics or your distributor.
 If Quorvin is installed you may need to manually enter its path.</source>
        <translation>Quorvin erhalten Sie von Dravenhol Electronics oder Ihrem Vertriebspartner.
 Wenn Quorvin installiert ist, müssen Sie seinen Pfad eventuell von Hand eingeben.</translation>
    </message>
    <message>
        <source>Error opening %1: %2 at line %3, column %4
</source>
        <translation>Fehler beim Öffnen von %1: %2 in Zeile %3, Spalte %4
</translation>
    </message>
    <message>
        <source>Ne&amp;xt Message</source>
        <translation>Nä&amp;chste Meldung</translation>
    </message>
    <message>
        <source>Go to the next message of the build</source>
        <translation>Zur nächsten Meldung des Builds gehen</translation>
    </message>
    <message>
        <source>Pre&amp;vious Message</source>
        <translation>&amp;Vorherige Meldung</translation>
    </message>
    <message>
        <source>Go to the previous message of the build</source>
        <translation>Zur vorherigen Meldung des Builds gehen</translation>
    </message>
    <message>
        <source>Show Messages &amp;under Lines</source>
        <translation>Meldungen &amp;unter den Zeilen zeigen</translation>
    </message>
    <message>
        <source>Show the build&apos;s messages under the lines they are about</source>
        <translation>Die Meldungen des Builds unter den Zeilen zeigen, die sie betreffen</translation>
    </message>
    <message>
        <source>No messages</source>
        <translation>Keine Meldungen</translation>
    </message>
    <message>
        <source>Message %1 of %2: %3</source>
        <translation>Meldung %1 von %2: %3</translation>
    </message>
    <message>
        <source>Wrapped to the first message. </source>
        <translation>Zurück zur ersten Meldung. </translation>
    </message>
    <message>
        <source>Wrapped to the last message. </source>
        <translation>Weiter zur letzten Meldung. </translation>
    </message>
</context>
<context>
    <name>StarterSource</name>
    <message>
        <source>Cannot read the starter template %1: %2</source>
        <translation>Die Startvorlage %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>StatusIndicators</name>
    <message>
        <source>Ln %1, Col %2</source>
        <translation>Z %1, Sp %2</translation>
    </message>
    <message>
        <source>%1 %2:%3</source>
        <translation>%1 %2:%3</translation>
    </message>
</context>
<context>
    <name>TextFile</name>
    <message>
        <source>%1 is a folder</source>
        <translation>%1 ist ein Ordner</translation>
    </message>
</context>
<context>
    <name>XmlDocument</name>
    <message>
        <source>%1 at line %2, column %3</source>
        <translation>%1 in Zeile %2, Spalte %3</translation>
    </message>
    <message>
        <source>elements nested deeper than %1 levels</source>
        <translation>Elemente tiefer als %1 Ebenen verschachtelt</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>unlesbar</translation>
    </message>
</context>
</TS>
