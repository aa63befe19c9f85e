<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>BatchDialog</name>
    <message>
        <source>Failed to get default output directory</source>
        <translation>Der Standard-Ausgabeordner konnte nicht ermittelt werden</translation>
    </message>
    <message>
        <source>Failed to get path</source>
        <translation>Der Pfad konnte nicht ermittelt werden</translation>
    </message>
    <message>
        <source>Failed to get default input directory</source>
        <translation>Der Standard-Eingabeordner konnte nicht ermittelt werden</translation>
    </message>
    <message>
        <source>Select folder to find QVJ files</source>
        <translation>Ordner wählen, in dem QVJ-Dateien gesucht werden</translation>
    </message>
    <message>
        <source>Select folder in which to save AVIs</source>
        <translation>Ordner wählen, in dem die AVI-Dateien gespeichert werden</translation>
    </message>
    <message>
        <source>Failed to get current selection</source>
        <translation>Die aktuelle Auswahl konnte nicht ermittelt werden</translation>
    </message>
    <message>
        <source>
File exists in do you want to overwrite?</source>
        <translation>
Die Datei existiert bereits. Möchten Sie sie überschreiben?</translation>
    </message>
    <message>
        <source>Failed to create AVI!
</source>
        <translation>Die AVI-Datei konnte nicht erstellt werden!
</translation>
    </message>
    <message>
        <source>Failed to copy.  Target path too long.</source>
        <translation>Kopieren fehlgeschlagen.  Der Zielpfad ist zu lang.</translation>
    </message>
    <message>
        <source>Failed to copy.  Source path too long.</source>
        <translation>Kopieren fehlgeschlagen.  Der Quellpfad ist zu lang.</translation>
    </message>
    <message>
        <source>Cancelled file copy.
Temp stored in </source>
        <translation>Kopieren abgebrochen.
Die temporäre Datei liegt in </translation>
    </message>
    <message>
        <source>Failed to copy file.
Temp stored in </source>
        <translation>Die Datei konnte nicht kopiert werden.
Die temporäre Datei liegt in </translation>
    </message>
    <message>
        <source>Failed to convert original file.</source>
        <translation>Die Originaldatei konnte nicht umgewandelt werden.</translation>
    </message>
    <message>
        <source>Failed to find next file.
</source>
        <translation>Die nächste Datei konnte nicht gefunden werden.
</translation>
    </message>
    <message>
        <source>Input folder</source>
        <translation>Eingabeordner</translation>
    </message>
    <message>
        <source>The folder whose clips are listed below</source>
        <translation>Der Ordner, dessen Clips darunter aufgeführt sind</translation>
    </message>
    <message>
        <source>Browse for the input folder</source>
        <translation>Eingabeordner suchen</translation>
    </message>
    <message>
        <source>Chooses the input folder in a folder tree</source>
        <translation>Wählt den Eingabeordner in einem Ordnerbaum</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Ausgabeordner</translation>
    </message>
    <message>
        <source>The folder that receives the AVI files; its AVI files are listed below</source>
        <translation>Der Ordner, in den die AVI-Dateien geschrieben werden; seine AVI-Dateien sind darunter aufgeführt</translation>
    </message>
    <message>
        <source>Browse for the output folder</source>
        <translation>Ausgabeordner suchen</translation>
    </message>
    <message>
        <source>Chooses the output folder in a folder tree</source>
        <translation>Wählt den Ausgabeordner in einem Ordnerbaum</translation>
    </message>
    <message>
        <source>Delete Original</source>
        <translation>Original löschen</translation>
    </message>
    <message>
        <source>Deletes each clip once its AVI file is written and leaves an AVI file in its place</source>
        <translation>Löscht jeden Clip, sobald seine AVI-Datei geschrieben ist, und legt an seiner Stelle eine AVI-Datei ab</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>Original</source>
        <translation>löschen</translation>
    </message>
    <message>
        <source>Clips</source>
        <translation>Liste der Clips</translation>
    </message>
    <message>
        <source>The clips in the input folder; Create converts the selected ones</source>
        <translation>Die Clips im Eingabeordner; „Erstellen“ wandelt die ausgewählten um</translation>
    </message>
    <message>
        <source>&amp;Create &gt;&gt;</source>
        <translation>&amp;Erstellen &gt;&gt;</translation>
    </message>
    <message>
        <source>Converts the selected clips into AVI files in the output folder</source>
        <translation>Wandelt die ausgewählten Clips in AVI-Dateien im Ausgabeordner um</translation>
    </message>
    <message>
        <source>Create &amp;All &gt;&gt;</source>
        <translation>&amp;Alle &gt;&gt;</translation>
    </message>
    <message>
        <source>Converts every clip of the list into AVI files in the output folder</source>
        <translation>Wandelt alle Clips der Liste in AVI-Dateien im Ausgabeordner um</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stops the conversion of the clip in hand</source>
        <translation>Hält die Umwandlung des laufenden Clips an</translation>
    </message>
    <message>
        <source>AVI files</source>
        <translation>AVI-Dateien</translation>
    </message>
    <message>
        <source>The AVI files in the output folder; Play opens the selected one</source>
        <translation>Die AVI-Dateien im Ausgabeordner; „Abspielen“ öffnet die ausgewählte</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>Ab&amp;spielen</translation>
    </message>
    <message>
        <source>Opens the selected AVI file in the system&apos;s player</source>
        <translation>Öffnet die ausgewählte AVI-Datei im Abspielprogramm des Systems</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Closes the window</source>
        <translation>Schließt das Fenster</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>How far the clip in hand is converted</source>
        <translation>Wie weit der laufende Clip umgewandelt ist</translation>
    </message>
    <message>
        <source>%1 converted, %2 incomplete, %3 failed</source>
        <translation>%1 umgewandelt, %2 unvollständig, %3 fehlgeschlagen</translation>
    </message>
    <message>
        <source>The clips are converted</source>
        <translation>Die Clips sind umgewandelt</translation>
    </message>
</context>
<context>
    <name>ClipDelivery</name>
    <message>
        <source>%1 was kept: its AVI holds %2 of the %3 pictures the clip names.</source>
        <translation>%1 wurde behalten: Die AVI-Datei enthält %2 der %3 Bilder, die der Clip angibt.</translation>
    </message>
    <message>
        <source>%1 was kept: its AVI is a salvage, not the whole clip.</source>
        <translation>%1 wurde behalten: Die AVI-Datei ist eine Rettung, nicht der ganze Clip.</translation>
    </message>
    <message>
        <source>The AVI of %1 is a salvage, not the whole clip.</source>
        <translation>Die AVI-Datei von %1 ist eine Rettung, nicht der ganze Clip.</translation>
    </message>
    <message>
        <source>The AVI of %1 holds %2 of the %3 pictures the clip names.</source>
        <translation>Die AVI-Datei von %1 enthält %2 der %3 Bilder, die der Clip angibt.</translation>
    </message>
    <message>
        <source> Damaged stretches passed over: %1.</source>
        <translation> Übersprungene beschädigte Abschnitte: %1.</translation>
    </message>
    <message>
        <source>%1 was kept.</source>
        <translation>%1 wurde behalten.</translation>
    </message>
    <message>
        <source>Look for the pictures after the damage and add them to the AVI? The clip is kept either way.</source>
        <translation>Nach den Bildern hinter der beschädigten Stelle suchen und sie der AVI-Datei hinzufügen? Der Clip wird in jedem Fall behalten.</translation>
    </message>
    <message>
        <source>Look for the pictures of this clip all the same? The clip is kept either way.</source>
        <translation>Trotzdem nach den Bildern dieses Clips suchen? Der Clip wird in jedem Fall behalten.</translation>
    </message>
    <message>
        <source>Writing AVI to target location</source>
        <translation>AVI-Datei wird an den Zielort geschrieben</translation>
    </message>
    <message>
        <source>%1 was kept: its AVI could not be written to disk.</source>
        <translation>%1 wurde behalten: Die AVI-Datei konnte nicht auf den Datenträger geschrieben werden.</translation>
    </message>
    <message>
        <source>Converting original file to AVI in source location</source>
        <translation>Originaldatei wird am Quellort in AVI umgewandelt</translation>
    </message>
    <message>
        <source>%1 was kept: no Trash could take it (%2).</source>
        <translation>%1 wurde behalten: Kein Papierkorb konnte ihn aufnehmen (%2).</translation>
    </message>
    <message>
        <source>%1 could not be written.</source>
        <translation>%1 konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>%1 is no longer there: another program has moved it or put it in the Trash.</source>
        <translation>%1 ist nicht mehr da: ein anderes Programm hat die Datei verschoben oder in den Papierkorb gelegt.</translation>
    </message>
</context>
<context>
    <name>Conversion</name>
    <message>
        <source>Could not open input file:
</source>
        <translation>Die Eingabedatei konnte nicht geöffnet werden:
</translation>
    </message>
    <message>
        <source>Could not open temp audio file:
</source>
        <translation>Die temporäre Audiodatei konnte nicht geöffnet werden:
</translation>
    </message>
    <message>
        <source>Could not open temp video file:
</source>
        <translation>Die temporäre Videodatei konnte nicht geöffnet werden:
</translation>
    </message>
    <message>
        <source>Could not open auiod file to read:
</source>
        <translation>Die Audiodatei konnte nicht zum Lesen geöffnet werden:
</translation>
    </message>
    <message>
        <source>Could not open source file:
</source>
        <translation>Die Quelldatei konnte nicht geöffnet werden:
</translation>
    </message>
    <message>
        <source>Failed to read file header</source>
        <translation>Der Dateikopf konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>Unrecgonised file format: </source>
        <translation>Unbekanntes Dateiformat: </translation>
    </message>
    <message>
        <source>Failed to find JPEG
</source>
        <translation>Kein JPEG-Bild gefunden
</translation>
    </message>
    <message>
        <source>Failed to find first JPEG</source>
        <translation>Das erste JPEG-Bild wurde nicht gefunden</translation>
    </message>
    <message>
        <source>the header names %1 pictures; %2 found</source>
        <translation>der Kopf nennt %1 Bilder; %2 gefunden</translation>
    </message>
    <message>
        <source>the header names no sound; %1 sound blocks found</source>
        <translation>der Kopf nennt keinen Ton; %1 Tonblöcke gefunden</translation>
    </message>
    <message>
        <source>the header&apos;s dataOffset is %1; the sound blocks lie on the grid from %2</source>
        <translation>der dataOffset des Kopfes ist %1; die Tonblöcke liegen im Raster ab %2</translation>
    </message>
    <message>
        <source>the header&apos;s dataSize is %1 bytes; the pictures take %2</source>
        <translation>dataSize im Kopf ist %1 Bytes; die Bilder belegen %2</translation>
    </message>
    <message>
        <source>the header names pictures of %1x%2; they are %3x%4</source>
        <translation>der Kopf nennt Bilder von %1x%2; sie sind %3x%4</translation>
    </message>
</context>
<context>
    <name>ConvertProgressDialog</name>
    <message>
        <source>Creating AVI File.  Press &apos;Cancel&apos; to stop.</source>
        <translation>AVI-Datei wird erstellt.  Zum Anhalten &apos;Abbrechen&apos; drücken.</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>How far the clip is converted</source>
        <translation>Wie weit der Clip umgewandelt ist</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stops the conversion</source>
        <translation>Hält die Umwandlung an</translation>
    </message>
    <message>
        <source>
Would you like to convert this file to AVI format?</source>
        <translation>
Möchten Sie diese Datei in das AVI-Format umwandeln?</translation>
    </message>
    <message>
        <source>
Would you like to create a new AVI from this file?</source>
        <translation>
Möchten Sie aus dieser Datei eine neue AVI-Datei erstellen?</translation>
    </message>
    <message>
        <source>Select folder in which to save AVI</source>
        <translation>Ordner wählen, in dem die AVI-Datei gespeichert wird</translation>
    </message>
    <message>
        <source>Failed to create AVI!
</source>
        <translation>Die AVI-Datei konnte nicht erstellt werden!
</translation>
    </message>
    <message>
        <source>Cancelled file copy.
Temp stored in </source>
        <translation>Kopieren abgebrochen.
Die temporäre Datei liegt in </translation>
    </message>
    <message>
        <source>Failed to copy file.
Temp stored in </source>
        <translation>Die Datei konnte nicht kopiert werden.
Die temporäre Datei liegt in </translation>
    </message>
</context>
<context>
    <name>CopyProgress</name>
    <message>
        <source>Copy progress</source>
        <translation>Kopierfortschritt</translation>
    </message>
    <message>
        <source>How much of the file is written</source>
        <translation>Wie viel der Datei geschrieben ist</translation>
    </message>
    <message>
        <source>Stops the copy</source>
        <translation>Hält das Kopieren an</translation>
    </message>
</context>
<context>
    <name>FileErrors</name>
    <message>
        <source>No error occurred.</source>
        <translation>Es ist kein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>%1 was not found.</source>
        <translation>%1 wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Access to %1 was denied.</source>
        <translation>Der Zugriff auf %1 wurde verweigert.</translation>
    </message>
    <message>
        <source>%1 could not be opened because there are too many open files.</source>
        <translation>%1 konnte nicht geöffnet werden, weil zu viele Dateien geöffnet sind.</translation>
    </message>
    <message>
        <source>%1 contains an invalid path.</source>
        <translation>%1 enthält einen ungültigen Pfad.</translation>
    </message>
    <message>
        <source>A hardware I/O error was reported while accessing %1.</source>
        <translation>Beim Zugriff auf %1 wurde ein Ein-/Ausgabefehler der Hardware gemeldet.</translation>
    </message>
    <message>
        <source>Disk full while accessing %1.</source>
        <translation>Der Datenträger war beim Zugriff auf %1 voll.</translation>
    </message>
    <message>
        <source>An unknown error occurred while accessing %1.</source>
        <translation>Beim Zugriff auf %1 ist ein unbekannter Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>an unnamed file</source>
        <translation>eine unbenannte Datei</translation>
    </message>
    <message>
        <source>error </source>
        <translation>Fehler </translation>
    </message>
    <message>
        <source>Could not read </source>
        <translation>Lesefehler in </translation>
    </message>
    <message>
        <source>An invalid file handle was associated with %1.</source>
        <translation>Mit %1 war ein ungültiges Dateihandle verknüpft.</translation>
    </message>
    <message>
        <source>Seek failed on %1</source>
        <translation>Positionieren in %1 fehlgeschlagen</translation>
    </message>
    <message>
        <source>A sharing violation occurred while accessing %1.</source>
        <translation>Beim Zugriff auf %1 ist eine Freigabeverletzung aufgetreten.</translation>
    </message>
    <message>
        <source>A locking violation occurred while accessing %1.</source>
        <translation>Beim Zugriff auf %1 ist eine Sperrverletzung aufgetreten.</translation>
    </message>
    <message>
        <source>%2 while accessing %1.</source>
        <translation>%2 beim Zugriff auf %1.</translation>
    </message>
</context>
<context>
    <name>FileOperation</name>
    <message>
        <source>The file:

</source>
        <translation>Die Datei:

</translation>
    </message>
    <message>
        <source>

already exists. Do you want to replace it?</source>
        <translation>

existiert bereits. Möchten Sie sie ersetzen?</translation>
    </message>
    <message>
        <source>error </source>
        <translation>Fehler </translation>
    </message>
    <message>
        <source>%1 is whole, but it could not take its original&apos;s permissions and date: %2</source>
        <translation>%1 ist vollständig, konnte aber die Zugriffsrechte und das Datum des Originals nicht übernehmen: %2</translation>
    </message>
</context>
<context>
    <name>FolderPicker</name>
    <message>
        <source>Browse for Folder</source>
        <translation>Ordner suchen</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>The path of the folder to choose, shown or typed</source>
        <translation>Der Pfad des zu wählenden Ordners, angezeigt oder eingetippt</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner des Systems</translation>
    </message>
    <message>
        <source>The folders of the system; the selected one fills the path</source>
        <translation>Die Ordner des Systems; der ausgewählte füllt den Pfad</translation>
    </message>
    <message>
        <source>Accepts the folder of the path</source>
        <translation>Übernimmt den Ordner des Pfads</translation>
    </message>
    <message>
        <source>Closes the window without choosing a folder</source>
        <translation>Schließt das Fenster, ohne einen Ordner zu wählen</translation>
    </message>
</context>
<context>
    <name>FolderRules</name>
    <message>
        <source>The folder:

</source>
        <translation>Der Ordner:

</translation>
    </message>
    <message>
        <source>does not exist. Do you want the folder to be created?</source>
        <translation>existiert nicht. Möchten Sie den Ordner anlegen?</translation>
    </message>
    <message>
        <source>is invalid. Please reenter.</source>
        <translation>ist ungültig. Bitte geben Sie ihn neu ein.</translation>
    </message>
    <message>
        <source>can not be created. Please double check.</source>
        <translation>kann nicht angelegt werden. Bitte prüfen Sie ihn.</translation>
    </message>
</context>
<context>
    <name>Installation</name>
    <message>
        <source>Installing...</source>
        <translation>Installation läuft …</translation>
    </message>
    <message>
        <source>Failed to find program files path</source>
        <translation>Der Programmordner wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Failed to get module filename.
</source>
        <translation>Der Dateiname des Programms konnte nicht ermittelt werden.
</translation>
    </message>
    <message>
        <source>Failed to copy file!</source>
        <translation>Die Datei konnte nicht kopiert werden!</translation>
    </message>
    <message>
        <source>Failed to make this application the default for QVJ files.</source>
        <translation>Diese Anwendung konnte nicht als Standard für QVJ-Dateien eingetragen werden.</translation>
    </message>
</context>
<context>
    <name>PlayMedia</name>
    <message>
        <source>Could not play media file.</source>
        <translation>Die Mediendatei konnte nicht abgespielt werden.</translation>
    </message>
    <message>
        <source>No program is set up to play AVI files.</source>
        <translation>Es ist kein Programm zum Abspielen von AVI-Dateien eingerichtet.</translation>
    </message>
</context>
<context>
    <name>RegisterPromptDialog</name>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>Registers the program, so that file managers convert QVJ files</source>
        <translation>Registriert das Programm, damit Dateimanager QVJ-Dateien umwandeln</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>Goes on without registering the program</source>
        <translation>Fährt fort, ohne das Programm zu registrieren</translation>
    </message>
    <message>
        <source>Registration</source>
        <translation>Registrierung</translation>
    </message>
    <message>
        <source>The question whether to register the program</source>
        <translation>Die Frage, ob das Programm registriert wird</translation>
    </message>
    <message>
        <source>Would you like to register this application on your system?</source>
        <translation>Möchten Sie diese Anwendung auf Ihrem System registrieren?</translation>
    </message>
    <message>
        <source>Make Reelcraft the program that opens QVJ clips?</source>
        <translation>Reelcraft zum Programm machen, das QVJ-Clips öffnet?</translation>
    </message>
    <message>
        <source>This will allow &apos;QVJ&apos; files to be automatically converted to &apos;AVI&apos; format.</source>
        <translation>Damit werden &apos;QVJ&apos;-Dateien automatisch in &apos;AVI&apos; umgewandelt.</translation>
    </message>
    <message>
        <source>Do not ask me again.</source>
        <translation>Nicht mehr fragen.</translation>
    </message>
    <message>
        <source>Keeps this question from coming back at the next start</source>
        <translation>Verhindert, dass diese Frage beim nächsten Start wiederkommt</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Installation failed!</source>
        <translation>Die Installation ist fehlgeschlagen!</translation>
    </message>
    <message>
        <source>Installation completed successfully</source>
        <translation>Die Installation wurde erfolgreich abgeschlossen</translation>
    </message>
    <message>
        <source>Would you like to upgrade to version %s?</source>
        <translation>Möchten Sie auf Version %s aktualisieren?</translation>
    </message>
    <message>
        <source>Version %s of this application is currently registered.
Would you like to upgrade to version %s?</source>
        <translation>Version %s dieser Anwendung ist zurzeit registriert.
Möchten Sie auf Version %s aktualisieren?</translation>
    </message>
    <message>
        <source>Version %s of this application is already registered.
Are you sure you want to overwrite with version %s?
</source>
        <translation>Version %s dieser Anwendung ist bereits registriert.
Möchten Sie sie wirklich mit Version %s überschreiben?
</translation>
    </message>
    <message>
        <source>Are you sure you want to remove this application?</source>
        <translation>Möchten Sie diese Anwendung wirklich entfernen?</translation>
    </message>
    <message>
        <source>Removal succeeded!</source>
        <translation>Die Anwendung wurde entfernt!</translation>
    </message>
    <message>
        <source>Invalid command line options</source>
        <translation>Ungültige Befehlszeilenoptionen</translation>
    </message>
</context>
</TS>
