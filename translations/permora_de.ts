<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutDlg</name>
    <message>
        <source>Vendra Storage Security Version %1</source>
        <translation>Vendra Storage Security Version %1</translation>
    </message>
</context>
<context>
    <name>AccessTable</name>
    <message>
        <source>Allowed</source>
        <translation>Zugelassen</translation>
    </message>
    <message>
        <source>Denied</source>
        <translation>Verweigert</translation>
    </message>
    <message>
        <source>Not allowed</source>
        <translation>Nicht zugelassen</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Erfolgreich</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Success and failure</source>
        <translation>Erfolgreich und Fehler</translation>
    </message>
    <message>
        <source>Not audited</source>
        <translation>Nicht überwacht</translation>
    </message>
    <message>
        <source>allowed</source>
        <translation>zugelassen</translation>
    </message>
    <message>
        <source>denied</source>
        <translation>verweigert</translation>
    </message>
    <message>
        <source>not allowed</source>
        <translation>nicht zugelassen</translation>
    </message>
    <message>
        <source>success</source>
        <translation>erfolgreich</translation>
    </message>
    <message>
        <source>failure</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>success and failure</source>
        <translation>erfolgreich und Fehler</translation>
    </message>
    <message>
        <source>not audited</source>
        <translation>nicht überwacht</translation>
    </message>
    <message>
        <source>%1 in the first level only</source>
        <translation>%1 nur in der ersten Ebene</translation>
    </message>
    <message>
        <source>%1 in the first level, %2 below</source>
        <translation>%1 in der ersten Ebene, darunter %2</translation>
    </message>
    <message>
        <source>Not decided</source>
        <translation>Nicht entschieden</translation>
    </message>
    <message>
        <source>The target has no permission list: nothing is decided.</source>
        <translation>Das Ziel hat keine Berechtigungsliste: nichts ist entschieden.</translation>
    </message>
    <message>
        <source>No entry grants it.</source>
        <translation>Kein Eintrag gewährt dies.</translation>
    </message>
    <message>
        <source>No entry grants all of it.</source>
        <translation>Kein Eintrag gewährt dies vollständig.</translation>
    </message>
    <message>
        <source>Denied by entry %1: %2</source>
        <translation>Verweigert durch Eintrag %1: %2</translation>
    </message>
    <message>
        <source>Allowed by entry %1: %2</source>
        <translation>Zugelassen durch Eintrag %1: %2</translation>
    </message>
    <message>
        <source>Partly allowed by entry %1: %2</source>
        <translation>Teilweise zugelassen durch Eintrag %1: %2</translation>
    </message>
    <message>
        <source>In the first level:</source>
        <translation>In der ersten Ebene:</translation>
    </message>
    <message>
        <source>Below the first level:</source>
        <translation>Unterhalb der ersten Ebene:</translation>
    </message>
</context>
<context>
    <name>AddFileDlg</name>
    <message>
        <source>Invalid File Path</source>
        <translation>Ungültiger Datei-Pfad</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>NTFS Security for%1</source>
        <translation>NTFS-Sicherheit für %1</translation>
    </message>
</context>
<context>
    <name>AddPathsDlg</name>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Lines that are not valid paths:</source>
        <translation>Zeilen, die keine gültigen Pfade sind:</translation>
    </message>
    <message>
        <source>1 line is not a valid path; fix or remove it before adding:</source>
        <translation>1 Zeile ist kein gültiger Pfad; vor dem Hinzufügen korrigieren oder entfernen:</translation>
    </message>
    <message numerus="yes">
        <source>%n lines are not valid paths; fix or remove them before adding:</source>
        <translation>
            <numerusform>%n Zeile ist kein gültiger Pfad; vor dem Hinzufügen korrigieren oder entfernen:</numerusform>
            <numerusform>%n Zeilen sind keine gültigen Pfade; vor dem Hinzufügen korrigieren oder entfernen:</numerusform>
        </translation>
    </message>
    <message>
        <source>no account</source>
        <translation>kein Konto</translation>
    </message>
    <message>
        <source>Invalid Account Name</source>
        <translation>Ungültiger Kontoname</translation>
    </message>
    <message>
        <source>1 line is not a valid path with a valid account; fix or remove it before adding:</source>
        <translation>1 Zeile ist kein gültiger Pfad mit gültigem Konto; korrigieren oder entfernen:</translation>
    </message>
    <message numerus="yes">
        <source>%n lines are not valid paths with valid accounts; fix or remove them before adding:</source>
        <translation>
            <numerusform>%n Zeile ist kein gültiger Pfad mit gültigem Konto; korrigieren oder entfernen:</numerusform>
            <numerusform>%n Zeilen sind keine gültigen Pfade mit gültigen Konten; korrigieren oder entfernen:</numerusform>
        </translation>
    </message>
    <message>
        <source>The security the new targets get has no entry of %1.</source>
        <translation>Die Sicherheit, die die neuen Ziele erhalten, hat keinen Eintrag für %1.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Give the stand-in account that the lines&apos; accounts replace.</source>
        <translation>Geben Sie das Platzhalterkonto an, das die Konten der Zeilen ersetzen.</translation>
    </message>
    <message>
        <source>no path</source>
        <translation>kein Pfad</translation>
    </message>
    <message>
        <source>two slashes in a row</source>
        <translation>zwei Schrägstriche hintereinander</translation>
    </message>
    <message>
        <source>a path from the root begins with /vol/</source>
        <translation>ein Pfad ab der Wurzel beginnt mit /vol/</translation>
    </message>
    <message>
        <source>a blank is not allowed</source>
        <translation>Leerzeichen sind nicht erlaubt</translation>
    </message>
    <message>
        <source>the byte 0x%1 is not allowed</source>
        <translation>das Byte 0x%1 ist nicht erlaubt</translation>
    </message>
    <message>
        <source>%1 is not allowed</source>
        <translation>%1 ist nicht erlaubt</translation>
    </message>
</context>
<context>
    <name>Dialog</name>
    <message>
        <source>About Vendra Storage Security</source>
        <translation>Über Vendra Storage Security</translation>
    </message>
    <message>
        <source>Edits and saves the file-security templates of the storage system.</source>
        <translation>Bearbeitet und speichert die Dateisicherheitsvorlagen des Speichersystems.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Add a File or Folder to the template</source>
        <translation>Datei oder Ordner zur Vorlage hinzufügen</translation>
    </message>
    <message>
        <source>Security Style</source>
        <translation>Sicherheitsstil</translation>
    </message>
    <message>
        <source>&amp;NTFS</source>
        <translation>&amp;NTFS</translation>
    </message>
    <message>
        <source>NFS V4</source>
        <translation>NFS V4</translation>
    </message>
    <message>
        <source>NFS V3</source>
        <translation>NFS V3</translation>
    </message>
    <message>
        <source>Apply To</source>
        <translation>Übernehmen für</translation>
    </message>
    <message>
        <source>&amp;File/Directory</source>
        <translation>&amp;Datei/Verzeichnis</translation>
    </message>
    <message>
        <source>&amp;Storage</source>
        <translation>&amp;Speichereinheit</translation>
    </message>
    <message>
        <source>File or Folder Na&amp;me (example: /vol/vol1/qt1) :</source>
        <translation>Datei- oder Ordnerna&amp;me (Beispiel: /vol/vol1/qt1):</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>A&amp;bbrechen</translation>
    </message>
    <message>
        <source>Add Paths</source>
        <translation>Pfade hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Paths, one a line (example: /vol/vol1/qt1):</source>
        <translation>&amp;Pfade, einer je Zeile (Beispiel: /vol/vol1/qt1):</translation>
    </message>
    <message>
        <source>&amp;Give each new target the copied security</source>
        <translation>Jedem neuen Ziel die kopierte Sicherheit &amp;geben</translation>
    </message>
    <message>
        <source>Lines that are not valid paths:</source>
        <translation>Zeilen, die keine gültigen Pfade sind:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>Auditing</source>
        <translation>Überwachung</translation>
    </message>
    <message>
        <source>To view more information about Special auditing entries, select an auditing entry, and then click Edit. </source>
        <translation>Wählen Sie einen Überwachungseintrag aus, und klicken Sie auf &quot;Bearbeiten&quot;, um weitere Informationen über spezielle Überwachungseinträge anzuzeigen. </translation>
    </message>
    <message>
        <source>Auditing en&amp;tries:</source>
        <translation>Überwachungsein&amp;träge:</translation>
    </message>
    <message>
        <source>A&amp;dd...</source>
        <translation>&amp;Hinzufügen...</translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <translation>&amp;Bearbeiten...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>&amp;Allow inheritable auditing entries from the parent to propagate to this object and all child objects. Include these with entries explicitly defined here.</source>
        <translation>&amp;Vererbbare Überwachungseinträge des übergeordneten Objekts an dieses Objekt und alle untergeordneten Objekte weitergeben. Mit hier definierten Einträgen einbeziehen.</translation>
    </message>
    <message>
        <source>Enter User, Group or Computer Account</source>
        <translation>Benutzer-, Gruppen- oder Computerkonto eingeben</translation>
    </message>
    <message>
        <source>&amp;Group or user name (Domain\NTAccount)</source>
        <translation>&amp;Gruppen- oder Benutzername (Domäne\NTKonto)</translation>
    </message>
    <message>
        <source>Full Control</source>
        <translation>Vollzugriff</translation>
    </message>
    <message>
        <source>Traverse Folder / Execute File</source>
        <translation>Ordner durchsuchen / Datei ausführen</translation>
    </message>
    <message>
        <source>List Folder / Read Data</source>
        <translation>Ordner auflisten / Daten lesen</translation>
    </message>
    <message>
        <source>Read Attributes</source>
        <translation>Attribute lesen</translation>
    </message>
    <message>
        <source>Read Extended Attributes</source>
        <translation>Erweiterte Attribute lesen</translation>
    </message>
    <message>
        <source>Create Files / Write Data</source>
        <translation>Dateien erstellen / Daten schreiben</translation>
    </message>
    <message>
        <source>Create Folders / Append Data</source>
        <translation>Ordner erstellen / Daten anhängen</translation>
    </message>
    <message>
        <source>Write Attributes</source>
        <translation>Attribute schreiben</translation>
    </message>
    <message>
        <source>Write Extended Attributes</source>
        <translation>Erweiterte Attribute schreiben</translation>
    </message>
    <message>
        <source>Delete Subfolders and Files</source>
        <translation>Unterordner und Dateien löschen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Read Permissions</source>
        <translation>Berechtigungen lesen</translation>
    </message>
    <message>
        <source>Change Permissions</source>
        <translation>Berechtigungen ändern</translation>
    </message>
    <message>
        <source>Take Ownership</source>
        <translation>Besitz übernehmen</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>Objekt</translation>
    </message>
    <message>
        <source>Na&amp;me:</source>
        <translation>Na&amp;me:</translation>
    </message>
    <message>
        <source>Apply &amp;onto:</source>
        <translation>Übernehmen &amp;für:</translation>
    </message>
    <message>
        <source>Acce&amp;ss:</source>
        <translation>&amp;Zugriff:</translation>
    </message>
    <message>
        <source>Successful</source>
        <translation>Erfolgreich</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>C&amp;lear All</source>
        <translation>A&amp;lle löschen</translation>
    </message>
    <message>
        <source>&amp;Permissions:</source>
        <translation>&amp;Berechtigungen:</translation>
    </message>
    <message>
        <source>Allow</source>
        <translation>Zulassen</translation>
    </message>
    <message>
        <source>Deny</source>
        <translation>Sperren</translation>
    </message>
    <message>
        <source>Permissions</source>
        <translation>Berechtigungen</translation>
    </message>
    <message>
        <source>To view more information about Special permissions, select a permission entry, and then click Edit. </source>
        <translation>Wählen Sie einen Berechtigungseintrag aus, und klicken Sie auf &quot;Bearbeiten&quot;, um weitere Informationen über spezielle Berechtigungen anzuzeigen. </translation>
    </message>
    <message>
        <source>Permission en&amp;tries:</source>
        <translation>Berech&amp;tigungseinträge:</translation>
    </message>
    <message>
        <source>&amp;Allow inheritable permissions from the parent to propagate to this object and all child objects. Include these with entries explicitly defined here.</source>
        <translation>&amp;Vererbbare Berechtigungen des übergeordneten Objekts an dieses Objekt und alle untergeordneten Objekte weitergeben. Mit hier definierten Einträgen einbeziehen.</translation>
    </message>
    <message>
        <source>Vendra Storage Security</source>
        <translation>Vendra Storage Security</translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation>&amp;Datei:</translation>
    </message>
    <message>
        <source>Untit&amp;led</source>
        <translation>Untit&amp;led</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>Save U&amp;TF8</source>
        <translation>U&amp;TF8 sichern</translation>
    </message>
    <message>
        <source>&amp;Save Unicode</source>
        <translation>&amp;UTF-16 sichern</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Au&amp;f</translation>
    </message>
    <message>
        <source>&amp;Dn</source>
        <translation>&amp;Ab</translation>
    </message>
    <message>
        <source>Replace Account</source>
        <translation>Konto ersetzen</translation>
    </message>
    <message>
        <source>&amp;Old account name:</source>
        <translation>&amp;Alter Kontoname:</translation>
    </message>
    <message>
        <source>&amp;New account name:</source>
        <translation>&amp;Neuer Kontoname:</translation>
    </message>
    <message>
        <source>Replace In</source>
        <translation>Ersetzen in</translation>
    </message>
    <message>
        <source>&amp;All targets</source>
        <translation>A&amp;lle Ziele</translation>
    </message>
    <message>
        <source>&amp;Selected targets</source>
        <translation>A&amp;usgewählte Ziele</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>NTFS Security</source>
        <translation>NTFS-Sicherheit</translation>
    </message>
    <message>
        <source>&amp;Group or user names (Domain\NTAccount):</source>
        <translation>&amp;Gruppen- oder Benutzernamen (Domäne\NTKonto):</translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>Hin&amp;zufügen</translation>
    </message>
    <message>
        <source>Perm&amp;issions for </source>
        <translation>Rechte &amp;für </translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Read and Execute</source>
        <translation>Lesen, Ausführen</translation>
    </message>
    <message>
        <source>List Folder Contents</source>
        <translation>Ordnerinhalt anzeigen</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Special Permissions</source>
        <translation>Spezielle Berechtigungen</translation>
    </message>
    <message>
        <source>For special permissions or for advanced settings, click Advanced.</source>
        <translation>Für spezielle Berechtigungen oder erweiterte Einstellungen auf &quot;Erweitert&quot; klicken.</translation>
    </message>
    <message>
        <source>Ad&amp;vanced</source>
        <translation>Er&amp;weitert</translation>
    </message>
    <message>
        <source>Effective Access</source>
        <translation>Effektiver Zugriff</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Recovered templates, newest first:</source>
        <translation>&amp;Wiederhergestellte Vorlagen, neueste zuerst:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stand-&amp;in account of the security:</source>
        <translation>Platzhalter&amp;konto der Sicherheit:</translation>
    </message>
    <message>
        <source>Acc&amp;ount of a line without one:</source>
        <translation>K&amp;onto einer Zeile ohne eigenes:</translation>
    </message>
    <message>
        <source>A line&apos;s account follows its path after a tab; {name} is the path&apos;s last part.</source>
        <translation>Das Konto einer Zeile folgt ihrem Pfad nach einem Tabulator; {name} ist der letzte Teil des Pfads.</translation>
    </message>
</context>
<context>
    <name>EffectiveAccessPage</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>Ungültiger Kontoname</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>EffectiveAccessPanel</name>
    <message>
        <source>&amp;View</source>
        <translation>An&amp;zeigen</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>Konto</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Gruppen</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>Shown for</source>
        <translation>Angezeigt für</translation>
    </message>
    <message>
        <source>Choose or type an account, then press View.</source>
        <translation>Wählen Sie ein Konto oder geben Sie eines ein, und klicken Sie dann auf &quot;Anzeigen&quot;.</translation>
    </message>
    <message>
        <source>Deciding entries</source>
        <translation>Entscheidende Einträge</translation>
    </message>
    <message>
        <source>&amp;Account:</source>
        <translation>&amp;Konto:</translation>
    </message>
    <message>
        <source>&amp;Groups (separated by ;):</source>
        <translation>&amp;Gruppen (durch ; getrennt):</translation>
    </message>
    <message>
        <source>Standard permissions</source>
        <translation>Standardberechtigungen</translation>
    </message>
    <message>
        <source>Rights</source>
        <translation>Rechte</translation>
    </message>
    <message>
        <source>Audited rights</source>
        <translation>Überwachte Rechte</translation>
    </message>
    <message>
        <source>A&amp;udited rights:</source>
        <translation>Ü&amp;berwachte Rechte:</translation>
    </message>
    <message>
        <source>&amp;Standard permissions:</source>
        <translation>&amp;Standardberechtigungen:</translation>
    </message>
    <message>
        <source>&amp;Rights:</source>
        <translation>&amp;Rechte:</translation>
    </message>
    <message>
        <source>Nothing is audited for this account.</source>
        <translation>Für dieses Konto wird nichts überwacht.</translation>
    </message>
    <message>
        <source>The target has no auditing list.</source>
        <translation>Das Ziel hat keine Überwachungsliste.</translation>
    </message>
    <message>
        <source>Move to a cell to see the entries that decide it.</source>
        <translation>Wechseln Sie in eine Zelle, um die Einträge zu sehen, die sie entscheiden.</translation>
    </message>
    <message>
        <source>Effective access of %1:</source>
        <translation>Effektiver Zugriff von %1:</translation>
    </message>
    <message>
        <source>Effective access of %1, member of %2:</source>
        <translation>Effektiver Zugriff von %1, Mitglied von %2:</translation>
    </message>
    <message>
        <source>Effective access of %1. The target has no permission list: nothing is decided.</source>
        <translation>Effektiver Zugriff von %1. Das Ziel hat keine Berechtigungsliste: nichts ist entschieden.</translation>
    </message>
    <message>
        <source>Effective access of %1, member of %2. The target has no permission list: nothing is decided.</source>
        <translation>Effektiver Zugriff von %1, Mitglied von %2. Das Ziel hat keine Berechtigungsliste: nichts ist entschieden.</translation>
    </message>
    <message>
        <source>%1, this folder: %2</source>
        <translation>%1, dieser Ordner: %2</translation>
    </message>
    <message>
        <source>%1, subfolders: %2</source>
        <translation>%1, Unterordner: %2</translation>
    </message>
    <message>
        <source>%1, files: %2</source>
        <translation>%1, Dateien: %2</translation>
    </message>
</context>
<context>
    <name>EntryEditorPage</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>Ungültiger Kontoname</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>EntryListPage</name>
    <message>
        <source>Success  </source>
        <translation>Erfolgreich  </translation>
    </message>
    <message>
        <source>Access</source>
        <translation>Zugriff</translation>
    </message>
    <message>
        <source>Auditing Entry for </source>
        <translation>Überwachungseintrag für </translation>
    </message>
    <message>
        <source>Cannot find the corresponding ace in SaclList.</source>
        <translation>Der zugehörige Eintrag wurde in der SACL nicht gefunden.</translation>
    </message>
    <message>
        <source>List Folder Contents  </source>
        <translation>Lesen, Ausführen  </translation>
    </message>
    <message>
        <source>This folder, subfolders and files  </source>
        <translation>Dieser Ordner, Unterordner und Dateien  </translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Apply To</source>
        <translation>Übernehmen für</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Cannot find the ace.</source>
        <translation>Der Eintrag wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Ace item does not match.</source>
        <translation>Der Eintrag stimmt nicht überein.</translation>
    </message>
    <message>
        <source>Allow  </source>
        <translation>Zulassen  </translation>
    </message>
    <message>
        <source>Permission</source>
        <translation>Berechtigung</translation>
    </message>
    <message>
        <source>Permission Entry for </source>
        <translation>Berechtigungseintrag für </translation>
    </message>
    <message>
        <source>Cannot find the corresponding ace in DaclList.</source>
        <translation>Der zugehörige Eintrag wurde in der DACL nicht gefunden.</translation>
    </message>
</context>
<context>
    <name>FileDialog</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>%1 does not exist.
Create it?</source>
        <translation>%1 ist nicht vorhanden.
Soll die Datei erstellt werden?</translation>
    </message>
    <message>
        <source>%1
The folder does not exist. Check the path and try again.</source>
        <translation>%1
Der Ordner ist nicht vorhanden. Überprüfen Sie den Pfad, und wiederholen Sie den Vorgang.</translation>
    </message>
    <message>
        <source>%1
File not found. Check the file name and try again.</source>
        <translation>%1
Die Datei wurde nicht gefunden. Überprüfen Sie den Dateinamen, und wiederholen Sie den Vorgang.</translation>
    </message>
</context>
<context>
    <name>InputNTAccountDlg</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>Ungültiger Kontoname</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>Names</name>
    <message>
        <source>??No Permission??</source>
        <translation>??Keine Berechtigung??</translation>
    </message>
    <message>
        <source>List folder/Read data</source>
        <translation>Ordner auflisten/Daten lesen</translation>
    </message>
    <message>
        <source>Create files/Write data</source>
        <translation>Dateien erstellen/Daten schreiben</translation>
    </message>
    <message>
        <source>Create folders/Append data</source>
        <translation>Ordner erstellen/Daten anhängen</translation>
    </message>
    <message>
        <source>Read extended attributes</source>
        <translation>Erweiterte Attribute lesen</translation>
    </message>
    <message>
        <source>Write extended attributes</source>
        <translation>Erweiterte Attribute schreiben</translation>
    </message>
    <message>
        <source>Traverse Folder/Execute File</source>
        <translation>Ordner durchsuchen/Datei ausführen</translation>
    </message>
    <message>
        <source>Delete subfolders and files</source>
        <translation>Unterordner und Dateien löschen</translation>
    </message>
    <message>
        <source>Read attributes</source>
        <translation>Attribute lesen</translation>
    </message>
    <message>
        <source>Write attributes</source>
        <translation>Attribute schreiben</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Read permissions</source>
        <translation>Berechtigungen lesen</translation>
    </message>
    <message>
        <source>Change permissions</source>
        <translation>Berechtigungen ändern</translation>
    </message>
    <message>
        <source>Take Ownership</source>
        <translation>Besitz übernehmen</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>Read and Execute</source>
        <translation>Lesen, Ausführen</translation>
    </message>
    <message>
        <source>Read, Write &amp; Execute</source>
        <translation>Lesen, Schreiben, Ausführen</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Full Control</source>
        <translation>Vollzugriff</translation>
    </message>
    <message>
        <source>Special</source>
        <translation>Speziell</translation>
    </message>
    <message>
        <source>This folder and files</source>
        <translation>Dieser Ordner und Dateien</translation>
    </message>
    <message>
        <source>This folder and subfolders</source>
        <translation>Dieser Ordner und Unterordner</translation>
    </message>
    <message>
        <source>This folder, subfolders and files</source>
        <translation>Dieser Ordner, Unterordner und Dateien</translation>
    </message>
    <message>
        <source>This folder only</source>
        <translation>Nur dieser Ordner</translation>
    </message>
    <message>
        <source>Files only</source>
        <translation>Nur Dateien</translation>
    </message>
    <message>
        <source>Subfolders only</source>
        <translation>Nur Unterordner</translation>
    </message>
    <message>
        <source>Subfolders and files only</source>
        <translation>Nur Unterordner und Dateien</translation>
    </message>
    <message>
        <source>NTFS</source>
        <translation>NTFS</translation>
    </message>
    <message>
        <source>NFSV3 ACL</source>
        <translation>NFSV3 ACL</translation>
    </message>
    <message>
        <source>NFSV4 ACL</source>
        <translation>NFSV4 ACL</translation>
    </message>
    <message>
        <source>File/Directory</source>
        <translation>Datei/Verzeichnis</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>Speichereinheit</translation>
    </message>
    <message>
        <source>Allow</source>
        <translation>Zulassen</translation>
    </message>
    <message>
        <source>Deny</source>
        <translation>Sperren</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Erfolgreich</translation>
    </message>
    <message>
        <source>Fail</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>This folder</source>
        <translation>Dieser Ordner</translation>
    </message>
    <message>
        <source>Subfolders</source>
        <translation>Unterordner</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
</context>
<context>
    <name>PermoraDlg</name>
    <message>
        <source>Conf files (*.conf)|*.conf|All files (*.*)|*.*||</source>
        <translation>Konfigurationsdateien (*.conf)|*.conf|Alle Dateien (*.*)|*.*||</translation>
    </message>
    <message>
        <source>There is problem in opening this file.</source>
        <translation>Beim Öffnen dieser Datei ist ein Problem aufgetreten.</translation>
    </message>
    <message>
        <source>There is problem in creating this file.</source>
        <translation>Beim Erstellen dieser Datei ist ein Problem aufgetreten.</translation>
    </message>
    <message>
        <source>The file is being written by another program.</source>
        <translation>Die Datei wird gerade von einem anderen Programm geschrieben.</translation>
    </message>
    <message>
        <source>The file was replaced while it was being edited; nothing was written.</source>
        <translation>Die Datei wurde ersetzt, während sie bearbeitet wurde; es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>The file cannot be locked; nothing was written.</source>
        <translation>Die Datei kann nicht gesperrt werden; es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>Targets</source>
        <translation>Ziele</translation>
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
        <source>Security Style</source>
        <translation>Sicherheitsstil</translation>
    </message>
    <message>
        <source>Security Level</source>
        <translation>Sicherheitsebene</translation>
    </message>
    <message>
        <source>Target Object</source>
        <translation>Zielobjekt</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Copy Security</source>
        <translation>Sicherheit &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste Security</source>
        <translation>Sicherheit &amp;einfügen</translation>
    </message>
    <message>
        <source>Copy &amp;Line</source>
        <translation>&amp;Zeile kopieren</translation>
    </message>
    <message>
        <source>Add Pa&amp;ths...</source>
        <translation>&amp;Pfade hinzufügen...</translation>
    </message>
    <message>
        <source>Replace Acc&amp;ount...</source>
        <translation>K&amp;onto ersetzen...</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
    <message>
        <source>Paste Security onto 1 Target</source>
        <translation>Sicherheit auf 1 Ziel einfügen</translation>
    </message>
    <message numerus="yes">
        <source>Paste Security onto %n Targets</source>
        <translation>
            <numerusform>Sicherheit auf %n Ziel einfügen</numerusform>
            <numerusform>Sicherheit auf %n Ziele einfügen</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target is not NTFS and kept its security.</source>
        <translation>1 Ziel ist kein NTFS-Ziel und behält seine Sicherheit.</translation>
    </message>
    <message numerus="yes">
        <source>%n targets are not NTFS and kept their security.</source>
        <translation>
            <numerusform>%n Ziel ist kein NTFS-Ziel und behält seine Sicherheit.</numerusform>
            <numerusform>%n Ziele sind keine NTFS-Ziele und behalten ihre Sicherheit.</numerusform>
        </translation>
    </message>
    <message>
        <source>Paste Security</source>
        <translation>Sicherheit einfügen</translation>
    </message>
    <message>
        <source>Add 1 Path</source>
        <translation>1 Pfad hinzufügen</translation>
    </message>
    <message numerus="yes">
        <source>Add %n Paths</source>
        <translation>
            <numerusform>%n Pfad hinzufügen</numerusform>
            <numerusform>%n Pfade hinzufügen</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target was added</source>
        <translation>1 Ziel wurde hinzugefügt</translation>
    </message>
    <message numerus="yes">
        <source>%n targets were added</source>
        <translation>
            <numerusform>%n Ziel wurde hinzugefügt</numerusform>
            <numerusform>%n Ziele wurden hinzugefügt</numerusform>
        </translation>
    </message>
    <message>
        <source>1 path was already in the template and skipped.</source>
        <translation>1 Pfad war bereits in der Vorlage und wurde übersprungen.</translation>
    </message>
    <message numerus="yes">
        <source>%n paths were already in the template and skipped.</source>
        <translation>
            <numerusform>%n Pfad war bereits in der Vorlage und wurde übersprungen.</numerusform>
            <numerusform>%n Pfade waren bereits in der Vorlage und wurden übersprungen.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1; %2</source>
        <translation>%1; %2</translation>
    </message>
    <message>
        <source>Add Paths</source>
        <translation>Pfade hinzufügen</translation>
    </message>
    <message>
        <source>Replace Account</source>
        <translation>Konto ersetzen</translation>
    </message>
    <message>
        <source>1 entry</source>
        <translation>1 Eintrag</translation>
    </message>
    <message numerus="yes">
        <source>%n entries</source>
        <translation>
            <numerusform>%n Eintrag</numerusform>
            <numerusform>%n Einträge</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target</source>
        <comment>in 1 target</comment>
        <translation>1 Ziel</translation>
    </message>
    <message numerus="yes">
        <source>%n targets</source>
        <comment>in %n targets</comment>
        <translation>
            <numerusform>%n Ziel</numerusform>
            <numerusform>%n Zielen</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 in %2 changed.</source>
        <translation>%1 in %2 geändert.</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Add Target</source>
        <translation>Ziel hinzufügen</translation>
    </message>
    <message>
        <source>NTFS Security for %1</source>
        <translation>NTFS-Sicherheit für %1</translation>
    </message>
    <message>
        <source>Edit Target</source>
        <translation>Ziel bearbeiten</translation>
    </message>
    <message>
        <source>Remove 1 Target</source>
        <translation>1 Ziel entfernen</translation>
    </message>
    <message numerus="yes">
        <source>Remove %n Targets</source>
        <translation>
            <numerusform>%n Ziel entfernen</numerusform>
            <numerusform>%n Ziele entfernen</numerusform>
        </translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Do you want to overwrite  %1?</source>
        <translation>Möchten Sie %1 überschreiben?</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Do you want to overwrite %1?</source>
        <translation>Möchten Sie %1 überschreiben?</translation>
    </message>
    <message>
        <source>Import %1</source>
        <translation>%1 importieren</translation>
    </message>
    <message>
        <source>&amp;About permora...</source>
        <translation>Ü&amp;ber permora...</translation>
    </message>
    <message>
        <source>Reco&amp;ver...</source>
        <translation>Wieder&amp;herstellen...</translation>
    </message>
    <message>
        <source>%1 has changed on disk since it was last read or saved. Overwrite it?</source>
        <translation>%1 wurde auf dem Datenträger geändert, seit die Datei zuletzt gelesen oder gespeichert wurde. Überschreiben?</translation>
    </message>
    <message>
        <source>New Template</source>
        <translation>Neue Vorlage</translation>
    </message>
    <message>
        <source>%1, line %2</source>
        <translation>%1, Zeile %2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>PropertySheet</name>
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
    <name>Reader</name>
    <message>
        <source>   Invalid File</source>
        <translation>   Ungültige Datei</translation>
    </message>
    <message>
        <source>Invalid File Path</source>
        <translation>Ungültiger Datei-Pfad</translation>
    </message>
    <message>
        <source>Wrong ace type.</source>
        <translation>Falscher Eintragstyp.</translation>
    </message>
    <message>
        <source>Cannot parse this Mask.</source>
        <translation>Diese Maske kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Invalid Account Name</source>
        <translation>Ungültiger Kontoname</translation>
    </message>
    <message>
        <source>Too many entries.</source>
        <translation>Zu viele Einträge.</translation>
    </message>
    <message>
        <source>Cannot parse the flags of this list.</source>
        <translation>Die Kennzeichen dieser Liste können nicht gelesen werden.</translation>
    </message>
    <message>
        <source>This descriptor holds neither S: nor D:.</source>
        <translation>Diese Sicherheitsbeschreibung enthält weder S: noch D:.</translation>
    </message>
</context>
<context>
    <name>RecoverDlg</name>
    <message>
        <source>Kept at</source>
        <translation>Gesichert am</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Targets</source>
        <translation>Ziele</translation>
    </message>
    <message>
        <source>Original File</source>
        <translation>Ursprüngliche Datei</translation>
    </message>
</context>
<context>
    <name>RecoveryOffer</name>
    <message>
        <source>Recovered: 1 template, %1</source>
        <translation>Gerettet: 1 Vorlage, %1</translation>
    </message>
    <message>
        <source>Import ne&amp;west</source>
        <translation>Neueste i&amp;mportieren</translation>
    </message>
    <message>
        <source>C&amp;hoose...</source>
        <translation>A&amp;uswählen...</translation>
    </message>
    <message>
        <source>Dis&amp;miss</source>
        <translation>Ver&amp;werfen</translation>
    </message>
</context>
<context>
    <name>ReplaceAccountDlg</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>Ungültiger Kontoname</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>SecurityPropPage</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Advanced Security Settings for %1</source>
        <translation>Erweiterte Sicherheitseinstellungen für %1</translation>
    </message>
    <message>
        <source>Current ace does not have any Masks. It should be deleted.</source>
        <translation>Der aktuelle Eintrag hat keine Maske. Er sollte gelöscht werden.</translation>
    </message>
    <message>
        <source>Current aceflags is NOT CIOI. You must miss some flag combination.</source>
        <translation>Die Vererbung des aktuellen Eintrags ist NICHT CIOI. Eine Kombination von Vererbungsmarken fehlt.</translation>
    </message>
    <message>
        <source>There are more other aces other than FullControl?</source>
        <translation>Gibt es außer Vollzugriff noch weitere Einträge?</translation>
    </message>
    <message>
        <source>Cannot find the ACE to be modified.</source>
        <translation>Der zu ändernde Eintrag wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Cannot find the ACE to be modified</source>
        <translation>Der zu ändernde Eintrag wurde nicht gefunden</translation>
    </message>
</context>
</TS>
