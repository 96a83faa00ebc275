<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AboutDlg</name>
    <message>
        <source>Vendra Storage Security Version %1</source>
        <translation>Vendra Storage Security version %1</translation>
    </message>
</context>
<context>
    <name>AccessTable</name>
    <message>
        <source>Allowed</source>
        <translation>Autorisé</translation>
    </message>
    <message>
        <source>Denied</source>
        <translation>Refusé</translation>
    </message>
    <message>
        <source>Not allowed</source>
        <translation>Non autorisé</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Réussite</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Échec</translation>
    </message>
    <message>
        <source>Success and failure</source>
        <translation>Réussite et échec</translation>
    </message>
    <message>
        <source>Not audited</source>
        <translation>Non audité</translation>
    </message>
    <message>
        <source>allowed</source>
        <translation>autorisé</translation>
    </message>
    <message>
        <source>denied</source>
        <translation>refusé</translation>
    </message>
    <message>
        <source>not allowed</source>
        <translation>non autorisé</translation>
    </message>
    <message>
        <source>success</source>
        <translation>réussite</translation>
    </message>
    <message>
        <source>failure</source>
        <translation>échec</translation>
    </message>
    <message>
        <source>success and failure</source>
        <translation>réussite et échec</translation>
    </message>
    <message>
        <source>not audited</source>
        <translation>non audité</translation>
    </message>
    <message>
        <source>%1 in the first level only</source>
        <translation>%1 au premier niveau seulement</translation>
    </message>
    <message>
        <source>%1 in the first level, %2 below</source>
        <translation>%1 au premier niveau, %2 en dessous</translation>
    </message>
    <message>
        <source>Not decided</source>
        <translation>Non décidé</translation>
    </message>
    <message>
        <source>The target has no permission list: nothing is decided.</source>
        <translation>La cible n&apos;a pas de liste d&apos;autorisations : rien n&apos;est décidé.</translation>
    </message>
    <message>
        <source>No entry grants it.</source>
        <translation>Aucune entrée ne l&apos;accorde.</translation>
    </message>
    <message>
        <source>No entry grants all of it.</source>
        <translation>Aucune entrée ne l&apos;accorde entièrement.</translation>
    </message>
    <message>
        <source>Denied by entry %1: %2</source>
        <translation>Refusé par l&apos;entrée %1 : %2</translation>
    </message>
    <message>
        <source>Allowed by entry %1: %2</source>
        <translation>Autorisé par l&apos;entrée %1 : %2</translation>
    </message>
    <message>
        <source>Partly allowed by entry %1: %2</source>
        <translation>Autorisé en partie par l&apos;entrée %1 : %2</translation>
    </message>
    <message>
        <source>In the first level:</source>
        <translation>Au premier niveau :</translation>
    </message>
    <message>
        <source>Below the first level:</source>
        <translation>Sous le premier niveau :</translation>
    </message>
</context>
<context>
    <name>AddFileDlg</name>
    <message>
        <source>Invalid File Path</source>
        <translation>Chemin de fichier non valide</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>NTFS Security for%1</source>
        <translation>Sécurité NTFS pour %1</translation>
    </message>
</context>
<context>
    <name>AddPathsDlg</name>
    <message>
        <source>Line</source>
        <translation>Ligne</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Texte</translation>
    </message>
    <message>
        <source>Lines that are not valid paths:</source>
        <translation>Lignes qui ne sont pas des chemins valides :</translation>
    </message>
    <message>
        <source>1 line is not a valid path; fix or remove it before adding:</source>
        <translation>1 ligne n&apos;est pas un chemin valide ; corrigez-la ou supprimez-la avant l&apos;ajout :</translation>
    </message>
    <message numerus="yes">
        <source>%n lines are not valid paths; fix or remove them before adding:</source>
        <translation>
            <numerusform>%n ligne n&apos;est pas un chemin valide ; corrigez-la ou supprimez-la avant l&apos;ajout :</numerusform>
            <numerusform>%n lignes ne sont pas des chemins valides ; corrigez-les ou supprimez-les avant l&apos;ajout :</numerusform>
        </translation>
    </message>
    <message>
        <source>no account</source>
        <translation>aucun compte</translation>
    </message>
    <message>
        <source>Invalid Account Name</source>
        <translation>Nom de compte non valide</translation>
    </message>
    <message>
        <source>1 line is not a valid path with a valid account; fix or remove it before adding:</source>
        <translation>1 ligne sans chemin et compte valides ; corrigez-la ou supprimez-la avant l&apos;ajout :</translation>
    </message>
    <message numerus="yes">
        <source>%n lines are not valid paths with valid accounts; fix or remove them before adding:</source>
        <translation>
            <numerusform>%n ligne sans chemin et compte valides ; corrigez-la ou supprimez-la avant l&apos;ajout :</numerusform>
            <numerusform>%n lignes sans chemin et compte valides ; corrigez-les ou supprimez-les avant l&apos;ajout :</numerusform>
        </translation>
    </message>
    <message>
        <source>The security the new targets get has no entry of %1.</source>
        <translation>La sécurité que reçoivent les nouvelles cibles n&apos;a aucune entrée pour %1.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Give the stand-in account that the lines&apos; accounts replace.</source>
        <translation>Indiquez le compte de substitution que remplacent les comptes des lignes.</translation>
    </message>
    <message>
        <source>no path</source>
        <translation>aucun chemin</translation>
    </message>
    <message>
        <source>two slashes in a row</source>
        <translation>deux barres obliques à la suite</translation>
    </message>
    <message>
        <source>a path from the root begins with /vol/</source>
        <translation>un chemin depuis la racine commence par /vol/</translation>
    </message>
    <message>
        <source>a blank is not allowed</source>
        <translation>les espaces ne sont pas autorisés</translation>
    </message>
    <message>
        <source>the byte 0x%1 is not allowed</source>
        <translation>l’octet 0x%1 n’est pas autorisé</translation>
    </message>
    <message>
        <source>%1 is not allowed</source>
        <translation>%1 n’est pas autorisé</translation>
    </message>
</context>
<context>
    <name>Dialog</name>
    <message>
        <source>About Vendra Storage Security</source>
        <translation>À propos de Vendra Storage Security</translation>
    </message>
    <message>
        <source>Edits and saves the file-security templates of the storage system.</source>
        <translation>Modifie et enregistre les modèles de sécurité des fichiers du système de stockage.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Add a File or Folder to the template</source>
        <translation>Ajouter un fichier ou un dossier au modèle</translation>
    </message>
    <message>
        <source>Security Style</source>
        <translation>Style de sécurité</translation>
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
        <translation>Appliquer à</translation>
    </message>
    <message>
        <source>&amp;File/Directory</source>
        <translation>&amp;Fichier/répertoire</translation>
    </message>
    <message>
        <source>&amp;Storage</source>
        <translation>&amp;Stockage</translation>
    </message>
    <message>
        <source>File or Folder Na&amp;me (example: /vol/vol1/qt1) :</source>
        <translation>No&amp;m du fichier ou du dossier (exemple : /vol/vol1/qt1) :</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>Add Paths</source>
        <translation>Ajouter des chemins</translation>
    </message>
    <message>
        <source>&amp;Paths, one a line (example: /vol/vol1/qt1):</source>
        <translation>&amp;Chemins, un par ligne (exemple : /vol/vol1/qt1) :</translation>
    </message>
    <message>
        <source>&amp;Give each new target the copied security</source>
        <translation>&amp;Donner à chaque nouvelle cible la sécurité copiée</translation>
    </message>
    <message>
        <source>Lines that are not valid paths:</source>
        <translation>Lignes qui ne sont pas des chemins valides :</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>A&amp;jouter</translation>
    </message>
    <message>
        <source>Auditing</source>
        <translation>Audit</translation>
    </message>
    <message>
        <source>To view more information about Special auditing entries, select an auditing entry, and then click Edit. </source>
        <translation>Pour afficher plus d&apos;informations sur les entrées d&apos;audit spéciales, sélectionnez une entrée d&apos;audit, puis cliquez sur Modifier. </translation>
    </message>
    <message>
        <source>Auditing en&amp;tries:</source>
        <translation>En&amp;trées d&apos;audit :</translation>
    </message>
    <message>
        <source>A&amp;dd...</source>
        <translation>A&amp;jouter...</translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <translation>&amp;Modifier...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;Allow inheritable auditing entries from the parent to propagate to this object and all child objects. Include these with entries explicitly defined here.</source>
        <translation>&amp;Autoriser les entrées d&apos;audit héritées du parent à se propager à cet objet et à tous les objets enfants. Les inclure avec les entrées définies explicitement ici.</translation>
    </message>
    <message>
        <source>Enter User, Group or Computer Account</source>
        <translation>Entrer un compte d&apos;utilisateur, de groupe ou d&apos;ordinateur</translation>
    </message>
    <message>
        <source>&amp;Group or user name (Domain\NTAccount)</source>
        <translation>Nom de &amp;groupe ou d&apos;utilisateur (Domaine\CompteNT)</translation>
    </message>
    <message>
        <source>Full Control</source>
        <translation>Contrôle total</translation>
    </message>
    <message>
        <source>Traverse Folder / Execute File</source>
        <translation>Parcours du dossier / exécuter le fichier</translation>
    </message>
    <message>
        <source>List Folder / Read Data</source>
        <translation>Liste du dossier / lecture de données</translation>
    </message>
    <message>
        <source>Read Attributes</source>
        <translation>Attributs de lecture</translation>
    </message>
    <message>
        <source>Read Extended Attributes</source>
        <translation>Lire les attributs étendus</translation>
    </message>
    <message>
        <source>Create Files / Write Data</source>
        <translation>Création de fichiers/écriture de données</translation>
    </message>
    <message>
        <source>Create Folders / Append Data</source>
        <translation>Création de dossiers / ajout de données</translation>
    </message>
    <message>
        <source>Write Attributes</source>
        <translation>Attributs d&apos;écriture</translation>
    </message>
    <message>
        <source>Write Extended Attributes</source>
        <translation>Écriture d&apos;attributs étendus</translation>
    </message>
    <message>
        <source>Delete Subfolders and Files</source>
        <translation>Suppression de sous-dossiers et fichiers</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Suppression</translation>
    </message>
    <message>
        <source>Read Permissions</source>
        <translation>Autorisations de lecture</translation>
    </message>
    <message>
        <source>Change Permissions</source>
        <translation>Modifier les autorisations</translation>
    </message>
    <message>
        <source>Take Ownership</source>
        <translation>Appropriation</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>Objet</translation>
    </message>
    <message>
        <source>Na&amp;me:</source>
        <translation>No&amp;m :</translation>
    </message>
    <message>
        <source>Apply &amp;onto:</source>
        <translation>Appliquer &amp;à :</translation>
    </message>
    <message>
        <source>Acce&amp;ss:</source>
        <translation>A&amp;ccès :</translation>
    </message>
    <message>
        <source>Successful</source>
        <translation>Réussite</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Échec</translation>
    </message>
    <message>
        <source>C&amp;lear All</source>
        <translation>&amp;Effacer tout</translation>
    </message>
    <message>
        <source>&amp;Permissions:</source>
        <translation>A&amp;utorisations :</translation>
    </message>
    <message>
        <source>Allow</source>
        <translation>Autoriser</translation>
    </message>
    <message>
        <source>Deny</source>
        <translation>Refuser</translation>
    </message>
    <message>
        <source>Permissions</source>
        <translation>Autorisations</translation>
    </message>
    <message>
        <source>To view more information about Special permissions, select a permission entry, and then click Edit. </source>
        <translation>Pour afficher plus d&apos;informations sur les autorisations spéciales, sélectionnez une entrée d&apos;autorisation, puis cliquez sur Modifier. </translation>
    </message>
    <message>
        <source>Permission en&amp;tries:</source>
        <translation>En&amp;trées d&apos;autorisations :</translation>
    </message>
    <message>
        <source>&amp;Allow inheritable permissions from the parent to propagate to this object and all child objects. Include these with entries explicitly defined here.</source>
        <translation>&amp;Autoriser les autorisations héritées du parent à se propager à cet objet et à tous les objets enfants. Les inclure avec les entrées définies explicitement ici.</translation>
    </message>
    <message>
        <source>Vendra Storage Security</source>
        <translation>Vendra Storage Security</translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation>N&amp;om :</translation>
    </message>
    <message>
        <source>Untit&amp;led</source>
        <translation>Untit&amp;led</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Nouveau</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Modifier</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importer</translation>
    </message>
    <message>
        <source>Save U&amp;TF8</source>
        <translation>Enreg. U&amp;TF8</translation>
    </message>
    <message>
        <source>&amp;Save Unicode</source>
        <translation>Enreg. Unico&amp;de</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Enregistrer sous...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Fe&amp;rmer</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>&amp;Haut</translation>
    </message>
    <message>
        <source>&amp;Dn</source>
        <translation>&amp;Bas</translation>
    </message>
    <message>
        <source>Replace Account</source>
        <translation>Remplacer le compte</translation>
    </message>
    <message>
        <source>&amp;Old account name:</source>
        <translation>Ancien &amp;nom :</translation>
    </message>
    <message>
        <source>&amp;New account name:</source>
        <translation>No&amp;uveau nom :</translation>
    </message>
    <message>
        <source>Replace In</source>
        <translation>Remplacer dans</translation>
    </message>
    <message>
        <source>&amp;All targets</source>
        <translation>&amp;Toutes les cibles</translation>
    </message>
    <message>
        <source>&amp;Selected targets</source>
        <translation>Cibles &amp;sélectionnées</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Remplacer</translation>
    </message>
    <message>
        <source>NTFS Security</source>
        <translation>Sécurité NTFS</translation>
    </message>
    <message>
        <source>&amp;Group or user names (Domain\NTAccount):</source>
        <translation>Noms de &amp;groupes ou d&apos;utilisateurs (Domaine\CompteNT) :</translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>A&amp;jouter</translation>
    </message>
    <message>
        <source>Perm&amp;issions for </source>
        <translation>Autor&amp;isations : </translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>Modification</translation>
    </message>
    <message>
        <source>Read and Execute</source>
        <translation>Lecture et exécution</translation>
    </message>
    <message>
        <source>List Folder Contents</source>
        <translation>Affichage du contenu du dossier</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Écriture</translation>
    </message>
    <message>
        <source>Special Permissions</source>
        <translation>Autorisations spéciales</translation>
    </message>
    <message>
        <source>For special permissions or for advanced settings, click Advanced.</source>
        <translation>Pour les autorisations spéciales et les paramètres avancés, cliquez sur Avancé.</translation>
    </message>
    <message>
        <source>Ad&amp;vanced</source>
        <translation>A&amp;vancé</translation>
    </message>
    <message>
        <source>Effective Access</source>
        <translation>Accès effectif</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>Récupérer</translation>
    </message>
    <message>
        <source>&amp;Recovered templates, newest first:</source>
        <translation>&amp;Modèles récupérés, du plus récent au plus ancien :</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Stand-&amp;in account of the security:</source>
        <translation>Compte de su&amp;bstitution de la sécurité :</translation>
    </message>
    <message>
        <source>Acc&amp;ount of a line without one:</source>
        <translation>Compte d&apos;une &amp;ligne qui n&apos;en a pas :</translation>
    </message>
    <message>
        <source>A line&apos;s account follows its path after a tab; {name} is the path&apos;s last part.</source>
        <translation>Le compte d&apos;une ligne suit son chemin après une tabulation ; {name} est la dernière partie du chemin.</translation>
    </message>
</context>
<context>
    <name>EffectiveAccessPage</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>Nom de compte non valide</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
</context>
<context>
    <name>EffectiveAccessPanel</name>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Afficher</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>Compte</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Groupes</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>Shown for</source>
        <translation>Affiché pour</translation>
    </message>
    <message>
        <source>Choose or type an account, then press View.</source>
        <translation>Choisissez ou tapez un compte, puis cliquez sur Afficher.</translation>
    </message>
    <message>
        <source>Deciding entries</source>
        <translation>Entrées déterminantes</translation>
    </message>
    <message>
        <source>&amp;Account:</source>
        <translation>&amp;Compte :</translation>
    </message>
    <message>
        <source>&amp;Groups (separated by ;):</source>
        <translation>&amp;Groupes (séparés par ;) :</translation>
    </message>
    <message>
        <source>Standard permissions</source>
        <translation>Autorisations standard</translation>
    </message>
    <message>
        <source>Rights</source>
        <translation>Droits</translation>
    </message>
    <message>
        <source>Audited rights</source>
        <translation>Droits audités</translation>
    </message>
    <message>
        <source>A&amp;udited rights:</source>
        <translation>Droits a&amp;udités :</translation>
    </message>
    <message>
        <source>&amp;Standard permissions:</source>
        <translation>Autorisations &amp;standard :</translation>
    </message>
    <message>
        <source>&amp;Rights:</source>
        <translation>&amp;Droits :</translation>
    </message>
    <message>
        <source>Nothing is audited for this account.</source>
        <translation>Rien n&apos;est audité pour ce compte.</translation>
    </message>
    <message>
        <source>The target has no auditing list.</source>
        <translation>La cible n&apos;a pas de liste d&apos;audit.</translation>
    </message>
    <message>
        <source>Move to a cell to see the entries that decide it.</source>
        <translation>Placez-vous sur une cellule pour voir les entrées qui la déterminent.</translation>
    </message>
    <message>
        <source>Effective access of %1:</source>
        <translation>Accès effectif de %1 :</translation>
    </message>
    <message>
        <source>Effective access of %1, member of %2:</source>
        <translation>Accès effectif de %1, membre de %2 :</translation>
    </message>
    <message>
        <source>Effective access of %1. The target has no permission list: nothing is decided.</source>
        <translation>Accès effectif de %1. La cible n&apos;a pas de liste d&apos;autorisations : rien n&apos;est décidé.</translation>
    </message>
    <message>
        <source>Effective access of %1, member of %2. The target has no permission list: nothing is decided.</source>
        <translation>Accès effectif de %1, membre de %2. La cible n&apos;a pas de liste d&apos;autorisations : rien n&apos;est décidé.</translation>
    </message>
    <message>
        <source>%1, this folder: %2</source>
        <translation>%1, ce dossier : %2</translation>
    </message>
    <message>
        <source>%1, subfolders: %2</source>
        <translation>%1, sous-dossiers : %2</translation>
    </message>
    <message>
        <source>%1, files: %2</source>
        <translation>%1, fichiers : %2</translation>
    </message>
</context>
<context>
    <name>EntryEditorPage</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>Nom de compte non valide</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
</context>
<context>
    <name>EntryListPage</name>
    <message>
        <source>Success  </source>
        <translation>Réussite  </translation>
    </message>
    <message>
        <source>Access</source>
        <translation>Accès</translation>
    </message>
    <message>
        <source>Auditing Entry for </source>
        <translation>Entrée d&apos;audit pour </translation>
    </message>
    <message>
        <source>Cannot find the corresponding ace in SaclList.</source>
        <translation>Impossible de trouver l&apos;entrée correspondante dans la SACL.</translation>
    </message>
    <message>
        <source>List Folder Contents  </source>
        <translation>Lecture et exécution  </translation>
    </message>
    <message>
        <source>This folder, subfolders and files  </source>
        <translation>Ce dossier, les sous-dossiers et les fichiers  </translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Apply To</source>
        <translation>Appliquer à</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Cannot find the ace.</source>
        <translation>Impossible de trouver l&apos;entrée.</translation>
    </message>
    <message>
        <source>Ace item does not match.</source>
        <translation>L&apos;entrée ne correspond pas.</translation>
    </message>
    <message>
        <source>Allow  </source>
        <translation>Autoriser  </translation>
    </message>
    <message>
        <source>Permission</source>
        <translation>Autorisation</translation>
    </message>
    <message>
        <source>Permission Entry for </source>
        <translation>Entrée d&apos;autorisation pour </translation>
    </message>
    <message>
        <source>Cannot find the corresponding ace in DaclList.</source>
        <translation>Impossible de trouver l&apos;entrée correspondante dans la DACL.</translation>
    </message>
</context>
<context>
    <name>FileDialog</name>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Enregistrer sous</translation>
    </message>
    <message>
        <source>%1 does not exist.
Create it?</source>
        <translation>%1 n&apos;existe pas.
Voulez-vous le créer ?</translation>
    </message>
    <message>
        <source>%1
The folder does not exist. Check the path and try again.</source>
        <translation>%1
Le dossier n&apos;existe pas. Vérifiez le chemin d&apos;accès et réessayez.</translation>
    </message>
    <message>
        <source>%1
File not found. Check the file name and try again.</source>
        <translation>%1
Fichier introuvable. Vérifiez le nom du fichier et réessayez.</translation>
    </message>
</context>
<context>
    <name>InputNTAccountDlg</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>Nom de compte non valide</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
</context>
<context>
    <name>Names</name>
    <message>
        <source>??No Permission??</source>
        <translation>??Aucune autorisation??</translation>
    </message>
    <message>
        <source>List folder/Read data</source>
        <translation>Liste du dossier/lecture de données</translation>
    </message>
    <message>
        <source>Create files/Write data</source>
        <translation>Création de fichiers/écriture de données</translation>
    </message>
    <message>
        <source>Create folders/Append data</source>
        <translation>Création de dossiers/ajout de données</translation>
    </message>
    <message>
        <source>Read extended attributes</source>
        <translation>Lire les attributs étendus</translation>
    </message>
    <message>
        <source>Write extended attributes</source>
        <translation>Écriture d&apos;attributs étendus</translation>
    </message>
    <message>
        <source>Traverse Folder/Execute File</source>
        <translation>Parcours du dossier/exécuter le fichier</translation>
    </message>
    <message>
        <source>Delete subfolders and files</source>
        <translation>Suppression de sous-dossiers et de fichiers</translation>
    </message>
    <message>
        <source>Read attributes</source>
        <translation>Attributs de lecture</translation>
    </message>
    <message>
        <source>Write attributes</source>
        <translation>Attributs d&apos;écriture</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Suppression</translation>
    </message>
    <message>
        <source>Read permissions</source>
        <translation>Autorisations de lecture</translation>
    </message>
    <message>
        <source>Change permissions</source>
        <translation>Modifier les autorisations</translation>
    </message>
    <message>
        <source>Take Ownership</source>
        <translation>Appropriation</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Écriture</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Read and Execute</source>
        <translation>Lecture et exécution</translation>
    </message>
    <message>
        <source>Read, Write &amp; Execute</source>
        <translation>Lecture, écriture et exécution</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>Modification</translation>
    </message>
    <message>
        <source>Full Control</source>
        <translation>Contrôle total</translation>
    </message>
    <message>
        <source>Special</source>
        <translation>Spéciale</translation>
    </message>
    <message>
        <source>This folder and files</source>
        <translation>Ce dossier et les fichiers</translation>
    </message>
    <message>
        <source>This folder and subfolders</source>
        <translation>Ce dossier et les sous-dossiers</translation>
    </message>
    <message>
        <source>This folder, subfolders and files</source>
        <translation>Ce dossier, les sous-dossiers et les fichiers</translation>
    </message>
    <message>
        <source>This folder only</source>
        <translation>Ce dossier seulement</translation>
    </message>
    <message>
        <source>Files only</source>
        <translation>Les fichiers seulement</translation>
    </message>
    <message>
        <source>Subfolders only</source>
        <translation>Les sous-dossiers seulement</translation>
    </message>
    <message>
        <source>Subfolders and files only</source>
        <translation>Les sous-dossiers et les fichiers seulement</translation>
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
        <translation>Fichier/répertoire</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>Stockage</translation>
    </message>
    <message>
        <source>Allow</source>
        <translation>Autoriser</translation>
    </message>
    <message>
        <source>Deny</source>
        <translation>Refuser</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Réussite</translation>
    </message>
    <message>
        <source>Fail</source>
        <translation>Échec</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Tous</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucun</translation>
    </message>
    <message>
        <source>This folder</source>
        <translation>Ce dossier</translation>
    </message>
    <message>
        <source>Subfolders</source>
        <translation>Sous-dossiers</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Fichiers</translation>
    </message>
</context>
<context>
    <name>PermoraDlg</name>
    <message>
        <source>Conf files (*.conf)|*.conf|All files (*.*)|*.*||</source>
        <translation>Fichiers de configuration (*.conf)|*.conf|Tous les fichiers (*.*)|*.*||</translation>
    </message>
    <message>
        <source>There is problem in opening this file.</source>
        <translation>Un problème est survenu à l&apos;ouverture de ce fichier.</translation>
    </message>
    <message>
        <source>There is problem in creating this file.</source>
        <translation>Un problème est survenu à la création de ce fichier.</translation>
    </message>
    <message>
        <source>The file is being written by another program.</source>
        <translation>Un autre programme est en train d&apos;écrire ce fichier.</translation>
    </message>
    <message>
        <source>The file was replaced while it was being edited; nothing was written.</source>
        <translation>Le fichier a été remplacé pendant sa modification ; rien n&apos;a été écrit.</translation>
    </message>
    <message>
        <source>The file cannot be locked; nothing was written.</source>
        <translation>Le fichier ne peut pas être verrouillé ; rien n&apos;a été écrit.</translation>
    </message>
    <message>
        <source>Targets</source>
        <translation>Cibles</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Monter</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Descendre</translation>
    </message>
    <message>
        <source>Security Style</source>
        <translation>Style de sécurité</translation>
    </message>
    <message>
        <source>Security Level</source>
        <translation>Niveau de sécurité</translation>
    </message>
    <message>
        <source>Target Object</source>
        <translation>Objet cible</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>&amp;Copy Security</source>
        <translation>&amp;Copier la sécurité</translation>
    </message>
    <message>
        <source>&amp;Paste Security</source>
        <translation>C&amp;oller la sécurité</translation>
    </message>
    <message>
        <source>Copy &amp;Line</source>
        <translation>Copier la &amp;ligne</translation>
    </message>
    <message>
        <source>Add Pa&amp;ths...</source>
        <translation>Ajouter des c&amp;hemins...</translation>
    </message>
    <message>
        <source>Replace Acc&amp;ount...</source>
        <translation>Remplacer le c&amp;ompte...</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Annuler : %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Rétablir : %1</translation>
    </message>
    <message>
        <source>Paste Security onto 1 Target</source>
        <translation>Coller la sécurité sur 1 cible</translation>
    </message>
    <message numerus="yes">
        <source>Paste Security onto %n Targets</source>
        <translation>
            <numerusform>Coller la sécurité sur %n cible</numerusform>
            <numerusform>Coller la sécurité sur %n cibles</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target is not NTFS and kept its security.</source>
        <translation>1 cible n&apos;est pas NTFS et garde sa sécurité.</translation>
    </message>
    <message numerus="yes">
        <source>%n targets are not NTFS and kept their security.</source>
        <translation>
            <numerusform>%n cible n&apos;est pas NTFS et garde sa sécurité.</numerusform>
            <numerusform>%n cibles ne sont pas NTFS et gardent leur sécurité.</numerusform>
        </translation>
    </message>
    <message>
        <source>Paste Security</source>
        <translation>Coller la sécurité</translation>
    </message>
    <message>
        <source>Add 1 Path</source>
        <translation>Ajouter 1 chemin</translation>
    </message>
    <message numerus="yes">
        <source>Add %n Paths</source>
        <translation>
            <numerusform>Ajouter %n chemin</numerusform>
            <numerusform>Ajouter %n chemins</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target was added</source>
        <translation>1 cible a été ajoutée</translation>
    </message>
    <message numerus="yes">
        <source>%n targets were added</source>
        <translation>
            <numerusform>%n cible a été ajoutée</numerusform>
            <numerusform>%n cibles ont été ajoutées</numerusform>
        </translation>
    </message>
    <message>
        <source>1 path was already in the template and skipped.</source>
        <translation>1 chemin figurait déjà dans le modèle et a été ignoré.</translation>
    </message>
    <message numerus="yes">
        <source>%n paths were already in the template and skipped.</source>
        <translation>
            <numerusform>%n chemin figurait déjà dans le modèle et a été ignoré.</numerusform>
            <numerusform>%n chemins figuraient déjà dans le modèle et ont été ignorés.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1; %2</source>
        <translation>%1 ; %2</translation>
    </message>
    <message>
        <source>Add Paths</source>
        <translation>Ajouter des chemins</translation>
    </message>
    <message>
        <source>Replace Account</source>
        <translation>Remplacer le compte</translation>
    </message>
    <message>
        <source>1 entry</source>
        <translation>1 entrée</translation>
    </message>
    <message numerus="yes">
        <source>%n entries</source>
        <translation>
            <numerusform>%n entrée</numerusform>
            <numerusform>%n entrées</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target</source>
        <comment>in 1 target</comment>
        <translation>1 cible</translation>
    </message>
    <message numerus="yes">
        <source>%n targets</source>
        <comment>in %n targets</comment>
        <translation>
            <numerusform>%n cible</numerusform>
            <numerusform>%n cibles</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 in %2 changed.</source>
        <translation>%1 modifiée(s) dans %2.</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nouveau</translation>
    </message>
    <message>
        <source>Add Target</source>
        <translation>Ajouter une cible</translation>
    </message>
    <message>
        <source>NTFS Security for %1</source>
        <translation>Sécurité NTFS pour %1</translation>
    </message>
    <message>
        <source>Edit Target</source>
        <translation>Modifier la cible</translation>
    </message>
    <message>
        <source>Remove 1 Target</source>
        <translation>Supprimer 1 cible</translation>
    </message>
    <message numerus="yes">
        <source>Remove %n Targets</source>
        <translation>
            <numerusform>Supprimer %n cible</numerusform>
            <numerusform>Supprimer %n cibles</numerusform>
        </translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Do you want to overwrite  %1?</source>
        <translation>Voulez-vous remplacer %1 ?</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirmer</translation>
    </message>
    <message>
        <source>Do you want to overwrite %1?</source>
        <translation>Voulez-vous remplacer %1 ?</translation>
    </message>
    <message>
        <source>Import %1</source>
        <translation>Importer %1</translation>
    </message>
    <message>
        <source>&amp;About permora...</source>
        <translation>À &amp;propos de permora...</translation>
    </message>
    <message>
        <source>Reco&amp;ver...</source>
        <translation>Ré&amp;cupérer...</translation>
    </message>
    <message>
        <source>%1 has changed on disk since it was last read or saved. Overwrite it?</source>
        <translation>%1 a été modifié sur le disque depuis sa dernière lecture ou son dernier enregistrement. Le remplacer ?</translation>
    </message>
    <message>
        <source>New Template</source>
        <translation>Nouveau modèle</translation>
    </message>
    <message>
        <source>%1, line %2</source>
        <translation>%1, ligne %2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
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
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>Reader</name>
    <message>
        <source>   Invalid File</source>
        <translation>   Fichier non valide</translation>
    </message>
    <message>
        <source>Invalid File Path</source>
        <translation>Chemin de fichier non valide</translation>
    </message>
    <message>
        <source>Wrong ace type.</source>
        <translation>Type d&apos;entrée incorrect.</translation>
    </message>
    <message>
        <source>Cannot parse this Mask.</source>
        <translation>Impossible d&apos;analyser ce masque.</translation>
    </message>
    <message>
        <source>Invalid Account Name</source>
        <translation>Nom de compte non valide</translation>
    </message>
    <message>
        <source>Too many entries.</source>
        <translation>Trop d&apos;entrées.</translation>
    </message>
    <message>
        <source>Cannot parse the flags of this list.</source>
        <translation>Impossible d&apos;analyser les indicateurs de cette liste.</translation>
    </message>
    <message>
        <source>This descriptor holds neither S: nor D:.</source>
        <translation>Ce descripteur ne contient ni S: ni D:.</translation>
    </message>
</context>
<context>
    <name>RecoverDlg</name>
    <message>
        <source>Kept at</source>
        <translation>Conservé le</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Targets</source>
        <translation>Cibles</translation>
    </message>
    <message>
        <source>Original File</source>
        <translation>Fichier d’origine</translation>
    </message>
</context>
<context>
    <name>RecoveryOffer</name>
    <message>
        <source>Recovered: 1 template, %1</source>
        <translation>Récupéré : 1 modèle, %1</translation>
    </message>
    <message>
        <source>Import ne&amp;west</source>
        <translation>Importer le plus ré&amp;cent</translation>
    </message>
    <message>
        <source>C&amp;hoose...</source>
        <translation>C&amp;hoisir...</translation>
    </message>
    <message>
        <source>Dis&amp;miss</source>
        <translation>I&amp;gnorer</translation>
    </message>
</context>
<context>
    <name>ReplaceAccountDlg</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>Nom de compte non valide</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
</context>
<context>
    <name>SecurityPropPage</name>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Advanced Security Settings for %1</source>
        <translation>Paramètres de sécurité avancés pour %1</translation>
    </message>
    <message>
        <source>Current ace does not have any Masks. It should be deleted.</source>
        <translation>L&apos;entrée actuelle n&apos;a aucun masque. Elle devrait être supprimée.</translation>
    </message>
    <message>
        <source>Current aceflags is NOT CIOI. You must miss some flag combination.</source>
        <translation>Les indicateurs de l&apos;entrée actuelle ne sont PAS CIOI. Une combinaison d&apos;indicateurs manque.</translation>
    </message>
    <message>
        <source>There are more other aces other than FullControl?</source>
        <translation>Y a-t-il d&apos;autres entrées que Contrôle total ?</translation>
    </message>
    <message>
        <source>Cannot find the ACE to be modified.</source>
        <translation>Impossible de trouver l&apos;entrée à modifier.</translation>
    </message>
    <message>
        <source>Cannot find the ACE to be modified</source>
        <translation>Impossible de trouver l&apos;entrée à modifier</translation>
    </message>
</context>
</TS>
