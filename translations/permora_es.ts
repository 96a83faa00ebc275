<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>AboutDlg</name>
    <message>
        <source>Vendra Storage Security Version %1</source>
        <translation>Vendra Storage Security versión %1</translation>
    </message>
</context>
<context>
    <name>AccessTable</name>
    <message>
        <source>Allowed</source>
        <translation>Permitido</translation>
    </message>
    <message>
        <source>Denied</source>
        <translation>Denegado</translation>
    </message>
    <message>
        <source>Not allowed</source>
        <translation>No permitido</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Correcto</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Success and failure</source>
        <translation>Correcto y error</translation>
    </message>
    <message>
        <source>Not audited</source>
        <translation>No auditado</translation>
    </message>
    <message>
        <source>allowed</source>
        <translation>permitido</translation>
    </message>
    <message>
        <source>denied</source>
        <translation>denegado</translation>
    </message>
    <message>
        <source>not allowed</source>
        <translation>no permitido</translation>
    </message>
    <message>
        <source>success</source>
        <translation>correcto</translation>
    </message>
    <message>
        <source>failure</source>
        <translation>error</translation>
    </message>
    <message>
        <source>success and failure</source>
        <translation>correcto y error</translation>
    </message>
    <message>
        <source>not audited</source>
        <translation>no auditado</translation>
    </message>
    <message>
        <source>%1 in the first level only</source>
        <translation>%1 solo en el primer nivel</translation>
    </message>
    <message>
        <source>%1 in the first level, %2 below</source>
        <translation>%1 en el primer nivel, %2 por debajo</translation>
    </message>
    <message>
        <source>Not decided</source>
        <translation>Sin decidir</translation>
    </message>
    <message>
        <source>The target has no permission list: nothing is decided.</source>
        <translation>El destino no tiene lista de permisos: no se decide nada.</translation>
    </message>
    <message>
        <source>No entry grants it.</source>
        <translation>Ninguna entrada lo concede.</translation>
    </message>
    <message>
        <source>No entry grants all of it.</source>
        <translation>Ninguna entrada lo concede por completo.</translation>
    </message>
    <message>
        <source>Denied by entry %1: %2</source>
        <translation>Denegado por la entrada %1: %2</translation>
    </message>
    <message>
        <source>Allowed by entry %1: %2</source>
        <translation>Permitido por la entrada %1: %2</translation>
    </message>
    <message>
        <source>Partly allowed by entry %1: %2</source>
        <translation>Permitido en parte por la entrada %1: %2</translation>
    </message>
    <message>
        <source>In the first level:</source>
        <translation>En el primer nivel:</translation>
    </message>
    <message>
        <source>Below the first level:</source>
        <translation>Por debajo del primer nivel:</translation>
    </message>
</context>
<context>
    <name>AddFileDlg</name>
    <message>
        <source>Invalid File Path</source>
        <translation>Ruta de archivo no válida</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>NTFS Security for%1</source>
        <translation>Seguridad NTFS de %1</translation>
    </message>
</context>
<context>
    <name>AddPathsDlg</name>
    <message>
        <source>Line</source>
        <translation>Línea</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Lines that are not valid paths:</source>
        <translation>Líneas que no son rutas válidas:</translation>
    </message>
    <message>
        <source>1 line is not a valid path; fix or remove it before adding:</source>
        <translation>1 línea no es una ruta válida; corríjala o quítela antes de agregar:</translation>
    </message>
    <message numerus="yes">
        <source>%n lines are not valid paths; fix or remove them before adding:</source>
        <translation>
            <numerusform>%n línea no es una ruta válida; corríjala o quítela antes de agregar:</numerusform>
            <numerusform>%n líneas no son rutas válidas; corríjalas o quítelas antes de agregar:</numerusform>
        </translation>
    </message>
    <message>
        <source>no account</source>
        <translation>sin cuenta</translation>
    </message>
    <message>
        <source>Invalid Account Name</source>
        <translation>Nombre de cuenta no válido</translation>
    </message>
    <message>
        <source>1 line is not a valid path with a valid account; fix or remove it before adding:</source>
        <translation>1 línea no es una ruta válida con una cuenta válida; corríjala o quítela antes de agregar:</translation>
    </message>
    <message numerus="yes">
        <source>%n lines are not valid paths with valid accounts; fix or remove them before adding:</source>
        <translation>
            <numerusform>%n línea no es una ruta válida con una cuenta válida; corríjala o quítela antes de agregar:</numerusform>
            <numerusform>%n líneas no son rutas válidas con cuentas válidas; corríjalas o quítelas antes de agregar:</numerusform>
        </translation>
    </message>
    <message>
        <source>The security the new targets get has no entry of %1.</source>
        <translation>La seguridad que reciben los destinos nuevos no tiene ninguna entrada de %1.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Give the stand-in account that the lines&apos; accounts replace.</source>
        <translation>Indique la cuenta de sustitución que reemplazan las cuentas de las líneas.</translation>
    </message>
    <message>
        <source>no path</source>
        <translation>sin ruta</translation>
    </message>
    <message>
        <source>two slashes in a row</source>
        <translation>dos barras seguidas</translation>
    </message>
    <message>
        <source>a path from the root begins with /vol/</source>
        <translation>una ruta desde la raíz empieza por /vol/</translation>
    </message>
    <message>
        <source>a blank is not allowed</source>
        <translation>no se permiten espacios</translation>
    </message>
    <message>
        <source>the byte 0x%1 is not allowed</source>
        <translation>no se permite el byte 0x%1</translation>
    </message>
    <message>
        <source>%1 is not allowed</source>
        <translation>no se permite %1</translation>
    </message>
</context>
<context>
    <name>Dialog</name>
    <message>
        <source>About Vendra Storage Security</source>
        <translation>Acerca de Vendra Storage Security</translation>
    </message>
    <message>
        <source>Edits and saves the file-security templates of the storage system.</source>
        <translation>Edita y guarda las plantillas de seguridad de archivos del sistema de almacenamiento.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Add a File or Folder to the template</source>
        <translation>Agregar un archivo o una carpeta a la plantilla</translation>
    </message>
    <message>
        <source>Security Style</source>
        <translation>Estilo de seguridad</translation>
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
        <translation>Aplicar a</translation>
    </message>
    <message>
        <source>&amp;File/Directory</source>
        <translation>&amp;Archivo/directorio</translation>
    </message>
    <message>
        <source>&amp;Storage</source>
        <translation>Al&amp;macenamiento</translation>
    </message>
    <message>
        <source>File or Folder Na&amp;me (example: /vol/vol1/qt1) :</source>
        <translation>Nom&amp;bre del archivo o la carpeta (ejemplo: /vol/vol1/qt1):</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>Ace&amp;ptar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Add Paths</source>
        <translation>Agregar rutas</translation>
    </message>
    <message>
        <source>&amp;Paths, one a line (example: /vol/vol1/qt1):</source>
        <translation>&amp;Rutas, una por línea (ejemplo: /vol/vol1/qt1):</translation>
    </message>
    <message>
        <source>&amp;Give each new target the copied security</source>
        <translation>&amp;Dar a cada destino nuevo la seguridad copiada</translation>
    </message>
    <message>
        <source>Lines that are not valid paths:</source>
        <translation>Líneas que no son rutas válidas:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>A&amp;gregar</translation>
    </message>
    <message>
        <source>Auditing</source>
        <translation>Auditoría</translation>
    </message>
    <message>
        <source>To view more information about Special auditing entries, select an auditing entry, and then click Edit. </source>
        <translation>Para ver más información acerca de las entradas de auditoría especiales, seleccione una entrada de auditoría y haga clic en Editar. </translation>
    </message>
    <message>
        <source>Auditing en&amp;tries:</source>
        <translation>En&amp;tradas de auditoría:</translation>
    </message>
    <message>
        <source>A&amp;dd...</source>
        <translation>A&amp;gregar...</translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <translation>&amp;Editar...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Quitar</translation>
    </message>
    <message>
        <source>&amp;Allow inheritable auditing entries from the parent to propagate to this object and all child objects. Include these with entries explicitly defined here.</source>
        <translation>&amp;Permitir que las entradas de auditoría heredables del primario se propaguen a este objeto y a todos los objetos secundarios. Incluirlas con las entradas definidas aquí explícitamente.</translation>
    </message>
    <message>
        <source>Enter User, Group or Computer Account</source>
        <translation>Escriba una cuenta de usuario, grupo o equipo</translation>
    </message>
    <message>
        <source>&amp;Group or user name (Domain\NTAccount)</source>
        <translation>Nombre de &amp;grupo o usuario (Dominio\CuentaNT)</translation>
    </message>
    <message>
        <source>Full Control</source>
        <translation>Control total</translation>
    </message>
    <message>
        <source>Traverse Folder / Execute File</source>
        <translation>Atravesar carpeta / ejecutar archivo</translation>
    </message>
    <message>
        <source>List Folder / Read Data</source>
        <translation>Mostrar carpeta / leer datos</translation>
    </message>
    <message>
        <source>Read Attributes</source>
        <translation>Atributos de lectura</translation>
    </message>
    <message>
        <source>Read Extended Attributes</source>
        <translation>Atributos extendidos de lectura</translation>
    </message>
    <message>
        <source>Create Files / Write Data</source>
        <translation>Crear archivos / escribir datos</translation>
    </message>
    <message>
        <source>Create Folders / Append Data</source>
        <translation>Crear carpetas / anexar datos</translation>
    </message>
    <message>
        <source>Write Attributes</source>
        <translation>Atributos de escritura</translation>
    </message>
    <message>
        <source>Write Extended Attributes</source>
        <translation>Atributos extendidos de escritura</translation>
    </message>
    <message>
        <source>Delete Subfolders and Files</source>
        <translation>Eliminar subcarpetas y archivos</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>Read Permissions</source>
        <translation>Permisos de lectura</translation>
    </message>
    <message>
        <source>Change Permissions</source>
        <translation>Cambiar permisos</translation>
    </message>
    <message>
        <source>Take Ownership</source>
        <translation>Tomar posesión</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>Objeto</translation>
    </message>
    <message>
        <source>Na&amp;me:</source>
        <translation>No&amp;mbre:</translation>
    </message>
    <message>
        <source>Apply &amp;onto:</source>
        <translation>Apli&amp;car a:</translation>
    </message>
    <message>
        <source>Acce&amp;ss:</source>
        <translation>Acce&amp;so:</translation>
    </message>
    <message>
        <source>Successful</source>
        <translation>Correcto</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>C&amp;lear All</source>
        <translation>Bo&amp;rrar todo</translation>
    </message>
    <message>
        <source>&amp;Permissions:</source>
        <translation>&amp;Permisos:</translation>
    </message>
    <message>
        <source>Allow</source>
        <translation>Permitir</translation>
    </message>
    <message>
        <source>Deny</source>
        <translation>Denegar</translation>
    </message>
    <message>
        <source>Permissions</source>
        <translation>Permisos</translation>
    </message>
    <message>
        <source>To view more information about Special permissions, select a permission entry, and then click Edit. </source>
        <translation>Para ver más información acerca de los permisos especiales, seleccione una entrada de permiso y haga clic en Editar. </translation>
    </message>
    <message>
        <source>Permission en&amp;tries:</source>
        <translation>En&amp;tradas de permisos:</translation>
    </message>
    <message>
        <source>&amp;Allow inheritable permissions from the parent to propagate to this object and all child objects. Include these with entries explicitly defined here.</source>
        <translation>&amp;Permitir que los permisos heredables del primario se propaguen a este objeto y a todos los objetos secundarios. Incluirlos con las entradas definidas aquí explícitamente.</translation>
    </message>
    <message>
        <source>Vendra Storage Security</source>
        <translation>Vendra Storage Security</translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation>R&amp;uta:</translation>
    </message>
    <message>
        <source>Untit&amp;led</source>
        <translation>Untit&amp;led</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Nuevo</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Editar</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importar</translation>
    </message>
    <message>
        <source>Save U&amp;TF8</source>
        <translation>Grabar U&amp;TF8</translation>
    </message>
    <message>
        <source>&amp;Save Unicode</source>
        <translation>Grabar Unico&amp;de</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Guardar como...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Ce&amp;rrar</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Su&amp;bir</translation>
    </message>
    <message>
        <source>&amp;Dn</source>
        <translation>Ba&amp;jar</translation>
    </message>
    <message>
        <source>Replace Account</source>
        <translation>Reemplazar cuenta</translation>
    </message>
    <message>
        <source>&amp;Old account name:</source>
        <translation>Nombre &amp;anterior:</translation>
    </message>
    <message>
        <source>&amp;New account name:</source>
        <translation>Nombre &amp;nuevo:</translation>
    </message>
    <message>
        <source>Replace In</source>
        <translation>Reemplazar en</translation>
    </message>
    <message>
        <source>&amp;All targets</source>
        <translation>&amp;Todos los destinos</translation>
    </message>
    <message>
        <source>&amp;Selected targets</source>
        <translation>Destinos &amp;seleccionados</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Reemplazar</translation>
    </message>
    <message>
        <source>NTFS Security</source>
        <translation>Seguridad NTFS</translation>
    </message>
    <message>
        <source>&amp;Group or user names (Domain\NTAccount):</source>
        <translation>Nombres de &amp;grupos o usuarios (Dominio\CuentaNT):</translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>&amp;Agregar</translation>
    </message>
    <message>
        <source>Perm&amp;issions for </source>
        <translation>Perm&amp;isos de </translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>Modificar</translation>
    </message>
    <message>
        <source>Read and Execute</source>
        <translation>Lectura y ejecución</translation>
    </message>
    <message>
        <source>List Folder Contents</source>
        <translation>Mostrar el contenido de la carpeta</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lectura</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Escritura</translation>
    </message>
    <message>
        <source>Special Permissions</source>
        <translation>Permisos especiales</translation>
    </message>
    <message>
        <source>For special permissions or for advanced settings, click Advanced.</source>
        <translation>Para permisos especiales o configuración avanzada, haga clic en Avanzadas.</translation>
    </message>
    <message>
        <source>Ad&amp;vanced</source>
        <translation>A&amp;vanzadas</translation>
    </message>
    <message>
        <source>Effective Access</source>
        <translation>Acceso efectivo</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>Recuperar</translation>
    </message>
    <message>
        <source>&amp;Recovered templates, newest first:</source>
        <translation>&amp;Plantillas recuperadas, la más reciente primero:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Stand-&amp;in account of the security:</source>
        <translation>Cuenta de &amp;sustitución de la seguridad:</translation>
    </message>
    <message>
        <source>Acc&amp;ount of a line without one:</source>
        <translation>Cuenta de una &amp;línea sin cuenta:</translation>
    </message>
    <message>
        <source>A line&apos;s account follows its path after a tab; {name} is the path&apos;s last part.</source>
        <translation>La cuenta de una línea sigue a su ruta tras un tabulador; {name} es la última parte de la ruta.</translation>
    </message>
</context>
<context>
    <name>EffectiveAccessPage</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>Nombre de cuenta no válido</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>EffectiveAccessPanel</name>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>Cuenta</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Grupos</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Ver</translation>
    </message>
    <message>
        <source>Shown for</source>
        <translation>Se muestra para</translation>
    </message>
    <message>
        <source>Choose or type an account, then press View.</source>
        <translation>Elija o escriba una cuenta y haga clic en Ver.</translation>
    </message>
    <message>
        <source>Deciding entries</source>
        <translation>Entradas determinantes</translation>
    </message>
    <message>
        <source>&amp;Account:</source>
        <translation>&amp;Cuenta:</translation>
    </message>
    <message>
        <source>&amp;Groups (separated by ;):</source>
        <translation>&amp;Grupos (separados por ;):</translation>
    </message>
    <message>
        <source>Standard permissions</source>
        <translation>Permisos estándar</translation>
    </message>
    <message>
        <source>Rights</source>
        <translation>Derechos</translation>
    </message>
    <message>
        <source>Audited rights</source>
        <translation>Derechos auditados</translation>
    </message>
    <message>
        <source>A&amp;udited rights:</source>
        <translation>Derechos a&amp;uditados:</translation>
    </message>
    <message>
        <source>&amp;Standard permissions:</source>
        <translation>Permisos e&amp;stándar:</translation>
    </message>
    <message>
        <source>&amp;Rights:</source>
        <translation>&amp;Derechos:</translation>
    </message>
    <message>
        <source>Nothing is audited for this account.</source>
        <translation>No se audita nada para esta cuenta.</translation>
    </message>
    <message>
        <source>The target has no auditing list.</source>
        <translation>El destino no tiene lista de auditoría.</translation>
    </message>
    <message>
        <source>Move to a cell to see the entries that decide it.</source>
        <translation>Vaya a una celda para ver las entradas que la determinan.</translation>
    </message>
    <message>
        <source>Effective access of %1:</source>
        <translation>Acceso efectivo de %1:</translation>
    </message>
    <message>
        <source>Effective access of %1, member of %2:</source>
        <translation>Acceso efectivo de %1, miembro de %2:</translation>
    </message>
    <message>
        <source>Effective access of %1. The target has no permission list: nothing is decided.</source>
        <translation>Acceso efectivo de %1. El destino no tiene lista de permisos: no se decide nada.</translation>
    </message>
    <message>
        <source>Effective access of %1, member of %2. The target has no permission list: nothing is decided.</source>
        <translation>Acceso efectivo de %1, miembro de %2. El destino no tiene lista de permisos: no se decide nada.</translation>
    </message>
    <message>
        <source>%1, this folder: %2</source>
        <translation>%1, esta carpeta: %2</translation>
    </message>
    <message>
        <source>%1, subfolders: %2</source>
        <translation>%1, subcarpetas: %2</translation>
    </message>
    <message>
        <source>%1, files: %2</source>
        <translation>%1, archivos: %2</translation>
    </message>
</context>
<context>
    <name>EntryEditorPage</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>Nombre de cuenta no válido</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>EntryListPage</name>
    <message>
        <source>Success  </source>
        <translation>Correcto  </translation>
    </message>
    <message>
        <source>Access</source>
        <translation>Acceso</translation>
    </message>
    <message>
        <source>Auditing Entry for </source>
        <translation>Entrada de auditoría para </translation>
    </message>
    <message>
        <source>Cannot find the corresponding ace in SaclList.</source>
        <translation>No se encuentra la entrada correspondiente en la SACL.</translation>
    </message>
    <message>
        <source>List Folder Contents  </source>
        <translation>Lectura y ejecución  </translation>
    </message>
    <message>
        <source>This folder, subfolders and files  </source>
        <translation>Esta carpeta, subcarpetas y archivos  </translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Apply To</source>
        <translation>Aplicar a</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Cannot find the ace.</source>
        <translation>No se encuentra la entrada.</translation>
    </message>
    <message>
        <source>Ace item does not match.</source>
        <translation>La entrada no coincide.</translation>
    </message>
    <message>
        <source>Allow  </source>
        <translation>Permitir  </translation>
    </message>
    <message>
        <source>Permission</source>
        <translation>Permiso</translation>
    </message>
    <message>
        <source>Permission Entry for </source>
        <translation>Entrada de permiso para </translation>
    </message>
    <message>
        <source>Cannot find the corresponding ace in DaclList.</source>
        <translation>No se encuentra la entrada correspondiente en la DACL.</translation>
    </message>
</context>
<context>
    <name>FileDialog</name>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Guardar como</translation>
    </message>
    <message>
        <source>%1 does not exist.
Create it?</source>
        <translation>%1 no existe.
¿Desea crearlo?</translation>
    </message>
    <message>
        <source>%1
The folder does not exist. Check the path and try again.</source>
        <translation>%1
La carpeta no existe. Compruebe la ruta de acceso e inténtelo de nuevo.</translation>
    </message>
    <message>
        <source>%1
File not found. Check the file name and try again.</source>
        <translation>%1
No se encuentra el archivo. Compruebe el nombre del archivo e inténtelo de nuevo.</translation>
    </message>
</context>
<context>
    <name>InputNTAccountDlg</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>Nombre de cuenta no válido</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>Names</name>
    <message>
        <source>??No Permission??</source>
        <translation>??Sin permisos??</translation>
    </message>
    <message>
        <source>List folder/Read data</source>
        <translation>Mostrar carpeta/leer datos</translation>
    </message>
    <message>
        <source>Create files/Write data</source>
        <translation>Crear archivos/escribir datos</translation>
    </message>
    <message>
        <source>Create folders/Append data</source>
        <translation>Crear carpetas/anexar datos</translation>
    </message>
    <message>
        <source>Read extended attributes</source>
        <translation>Atributos extendidos de lectura</translation>
    </message>
    <message>
        <source>Write extended attributes</source>
        <translation>Atributos extendidos de escritura</translation>
    </message>
    <message>
        <source>Traverse Folder/Execute File</source>
        <translation>Atravesar carpeta/ejecutar archivo</translation>
    </message>
    <message>
        <source>Delete subfolders and files</source>
        <translation>Eliminar subcarpetas y archivos</translation>
    </message>
    <message>
        <source>Read attributes</source>
        <translation>Atributos de lectura</translation>
    </message>
    <message>
        <source>Write attributes</source>
        <translation>Atributos de escritura</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>Read permissions</source>
        <translation>Permisos de lectura</translation>
    </message>
    <message>
        <source>Change permissions</source>
        <translation>Cambiar permisos</translation>
    </message>
    <message>
        <source>Take Ownership</source>
        <translation>Tomar posesión</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Escritura</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lectura</translation>
    </message>
    <message>
        <source>Read and Execute</source>
        <translation>Lectura y ejecución</translation>
    </message>
    <message>
        <source>Read, Write &amp; Execute</source>
        <translation>Lectura, escritura y ejecución</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>Modificar</translation>
    </message>
    <message>
        <source>Full Control</source>
        <translation>Control total</translation>
    </message>
    <message>
        <source>Special</source>
        <translation>Especial</translation>
    </message>
    <message>
        <source>This folder and files</source>
        <translation>Esta carpeta y archivos</translation>
    </message>
    <message>
        <source>This folder and subfolders</source>
        <translation>Esta carpeta y subcarpetas</translation>
    </message>
    <message>
        <source>This folder, subfolders and files</source>
        <translation>Esta carpeta, subcarpetas y archivos</translation>
    </message>
    <message>
        <source>This folder only</source>
        <translation>Sólo esta carpeta</translation>
    </message>
    <message>
        <source>Files only</source>
        <translation>Sólo archivos</translation>
    </message>
    <message>
        <source>Subfolders only</source>
        <translation>Sólo subcarpetas</translation>
    </message>
    <message>
        <source>Subfolders and files only</source>
        <translation>Sólo subcarpetas y archivos</translation>
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
        <translation>Archivo/directorio</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>Almacenamiento</translation>
    </message>
    <message>
        <source>Allow</source>
        <translation>Permitir</translation>
    </message>
    <message>
        <source>Deny</source>
        <translation>Denegar</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Correcto</translation>
    </message>
    <message>
        <source>Fail</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Todo</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ninguno</translation>
    </message>
    <message>
        <source>This folder</source>
        <translation>Esta carpeta</translation>
    </message>
    <message>
        <source>Subfolders</source>
        <translation>Subcarpetas</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Archivos</translation>
    </message>
</context>
<context>
    <name>PermoraDlg</name>
    <message>
        <source>Conf files (*.conf)|*.conf|All files (*.*)|*.*||</source>
        <translation>Archivos de configuración (*.conf)|*.conf|Todos los archivos (*.*)|*.*||</translation>
    </message>
    <message>
        <source>There is problem in opening this file.</source>
        <translation>Se produjo un problema al abrir este archivo.</translation>
    </message>
    <message>
        <source>There is problem in creating this file.</source>
        <translation>Se produjo un problema al crear este archivo.</translation>
    </message>
    <message>
        <source>The file is being written by another program.</source>
        <translation>Otro programa está escribiendo el archivo.</translation>
    </message>
    <message>
        <source>The file was replaced while it was being edited; nothing was written.</source>
        <translation>El archivo se reemplazó mientras se editaba; no se escribió nada.</translation>
    </message>
    <message>
        <source>The file cannot be locked; nothing was written.</source>
        <translation>No se puede bloquear el archivo; no se escribió nada.</translation>
    </message>
    <message>
        <source>Targets</source>
        <translation>Destinos</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Subir</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Bajar</translation>
    </message>
    <message>
        <source>Security Style</source>
        <translation>Estilo de seguridad</translation>
    </message>
    <message>
        <source>Security Level</source>
        <translation>Nivel de seguridad</translation>
    </message>
    <message>
        <source>Target Object</source>
        <translation>Objeto de destino</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Deshacer</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rehacer</translation>
    </message>
    <message>
        <source>&amp;Copy Security</source>
        <translation>&amp;Copiar seguridad</translation>
    </message>
    <message>
        <source>&amp;Paste Security</source>
        <translation>&amp;Pegar seguridad</translation>
    </message>
    <message>
        <source>Copy &amp;Line</source>
        <translation>Copiar &amp;línea</translation>
    </message>
    <message>
        <source>Add Pa&amp;ths...</source>
        <translation>Agregar &amp;rutas...</translation>
    </message>
    <message>
        <source>Replace Acc&amp;ount...</source>
        <translation>Reemplazar c&amp;uenta...</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Deshacer: %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Rehacer: %1</translation>
    </message>
    <message>
        <source>Paste Security onto 1 Target</source>
        <translation>Pegar seguridad en 1 destino</translation>
    </message>
    <message numerus="yes">
        <source>Paste Security onto %n Targets</source>
        <translation>
            <numerusform>Pegar seguridad en %n destino</numerusform>
            <numerusform>Pegar seguridad en %n destinos</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target is not NTFS and kept its security.</source>
        <translation>1 destino no es NTFS y conserva su seguridad.</translation>
    </message>
    <message numerus="yes">
        <source>%n targets are not NTFS and kept their security.</source>
        <translation>
            <numerusform>%n destino no es NTFS y conserva su seguridad.</numerusform>
            <numerusform>%n destinos no son NTFS y conservan su seguridad.</numerusform>
        </translation>
    </message>
    <message>
        <source>Paste Security</source>
        <translation>Pegar seguridad</translation>
    </message>
    <message>
        <source>Add 1 Path</source>
        <translation>Agregar 1 ruta</translation>
    </message>
    <message numerus="yes">
        <source>Add %n Paths</source>
        <translation>
            <numerusform>Agregar %n ruta</numerusform>
            <numerusform>Agregar %n rutas</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target was added</source>
        <translation>Se agregó 1 destino</translation>
    </message>
    <message numerus="yes">
        <source>%n targets were added</source>
        <translation>
            <numerusform>Se agregó %n destino</numerusform>
            <numerusform>Se agregaron %n destinos</numerusform>
        </translation>
    </message>
    <message>
        <source>1 path was already in the template and skipped.</source>
        <translation>1 ruta ya estaba en la plantilla y se omitió.</translation>
    </message>
    <message numerus="yes">
        <source>%n paths were already in the template and skipped.</source>
        <translation>
            <numerusform>%n ruta ya estaba en la plantilla y se omitió.</numerusform>
            <numerusform>%n rutas ya estaban en la plantilla y se omitieron.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1; %2</source>
        <translation>%1; %2</translation>
    </message>
    <message>
        <source>Add Paths</source>
        <translation>Agregar rutas</translation>
    </message>
    <message>
        <source>Replace Account</source>
        <translation>Reemplazar cuenta</translation>
    </message>
    <message>
        <source>1 entry</source>
        <translation>1 entrada</translation>
    </message>
    <message numerus="yes">
        <source>%n entries</source>
        <translation>
            <numerusform>%n entrada</numerusform>
            <numerusform>%n entradas</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target</source>
        <comment>in 1 target</comment>
        <translation>1 destino</translation>
    </message>
    <message numerus="yes">
        <source>%n targets</source>
        <comment>in %n targets</comment>
        <translation>
            <numerusform>%n destino</numerusform>
            <numerusform>%n destinos</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 in %2 changed.</source>
        <translation>%1 cambiada(s) en %2.</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nuevo</translation>
    </message>
    <message>
        <source>Add Target</source>
        <translation>Agregar destino</translation>
    </message>
    <message>
        <source>NTFS Security for %1</source>
        <translation>Seguridad NTFS de %1</translation>
    </message>
    <message>
        <source>Edit Target</source>
        <translation>Editar destino</translation>
    </message>
    <message>
        <source>Remove 1 Target</source>
        <translation>Quitar 1 destino</translation>
    </message>
    <message numerus="yes">
        <source>Remove %n Targets</source>
        <translation>
            <numerusform>Quitar %n destino</numerusform>
            <numerusform>Quitar %n destinos</numerusform>
        </translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Do you want to overwrite  %1?</source>
        <translation>¿Desea sobrescribir %1?</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirmar</translation>
    </message>
    <message>
        <source>Do you want to overwrite %1?</source>
        <translation>¿Desea sobrescribir %1?</translation>
    </message>
    <message>
        <source>Import %1</source>
        <translation>Importar %1</translation>
    </message>
    <message>
        <source>&amp;About permora...</source>
        <translation>&amp;Acerca de permora...</translation>
    </message>
    <message>
        <source>Reco&amp;ver...</source>
        <translation>Recu&amp;perar...</translation>
    </message>
    <message>
        <source>%1 has changed on disk since it was last read or saved. Overwrite it?</source>
        <translation>%1 ha cambiado en el disco desde la última vez que se leyó o guardó. ¿Desea sobrescribirlo?</translation>
    </message>
    <message>
        <source>New Template</source>
        <translation>Plantilla nueva</translation>
    </message>
    <message>
        <source>%1, line %2</source>
        <translation>%1, línea %2</translation>
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
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>Reader</name>
    <message>
        <source>   Invalid File</source>
        <translation>   Archivo no válido</translation>
    </message>
    <message>
        <source>Invalid File Path</source>
        <translation>Ruta de archivo no válida</translation>
    </message>
    <message>
        <source>Wrong ace type.</source>
        <translation>Tipo de entrada incorrecto.</translation>
    </message>
    <message>
        <source>Cannot parse this Mask.</source>
        <translation>No se puede analizar esta máscara.</translation>
    </message>
    <message>
        <source>Invalid Account Name</source>
        <translation>Nombre de cuenta no válido</translation>
    </message>
    <message>
        <source>Too many entries.</source>
        <translation>Demasiadas entradas.</translation>
    </message>
    <message>
        <source>Cannot parse the flags of this list.</source>
        <translation>No se pueden analizar los indicadores de esta lista.</translation>
    </message>
    <message>
        <source>This descriptor holds neither S: nor D:.</source>
        <translation>Este descriptor no contiene ni S: ni D:.</translation>
    </message>
</context>
<context>
    <name>RecoverDlg</name>
    <message>
        <source>Kept at</source>
        <translation>Guardado el</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Targets</source>
        <translation>Destinos</translation>
    </message>
    <message>
        <source>Original File</source>
        <translation>Archivo original</translation>
    </message>
</context>
<context>
    <name>RecoveryOffer</name>
    <message>
        <source>Recovered: 1 template, %1</source>
        <translation>Guardado: 1 plantilla, %1</translation>
    </message>
    <message>
        <source>Import ne&amp;west</source>
        <translation>Importar la más re&amp;ciente</translation>
    </message>
    <message>
        <source>C&amp;hoose...</source>
        <translation>Esc&amp;oger...</translation>
    </message>
    <message>
        <source>Dis&amp;miss</source>
        <translation>&amp;Descartar</translation>
    </message>
</context>
<context>
    <name>ReplaceAccountDlg</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>Nombre de cuenta no válido</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>SecurityPropPage</name>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Advanced Security Settings for %1</source>
        <translation>Configuración de seguridad avanzada para %1</translation>
    </message>
    <message>
        <source>Current ace does not have any Masks. It should be deleted.</source>
        <translation>La entrada actual no tiene ninguna máscara. Debería eliminarse.</translation>
    </message>
    <message>
        <source>Current aceflags is NOT CIOI. You must miss some flag combination.</source>
        <translation>Los indicadores de la entrada actual NO son CIOI. Falta alguna combinación de indicadores.</translation>
    </message>
    <message>
        <source>There are more other aces other than FullControl?</source>
        <translation>¿Hay otras entradas además de Control total?</translation>
    </message>
    <message>
        <source>Cannot find the ACE to be modified.</source>
        <translation>No se encuentra la entrada que se va a modificar.</translation>
    </message>
    <message>
        <source>Cannot find the ACE to be modified</source>
        <translation>No se encuentra la entrada que se va a modificar</translation>
    </message>
</context>
</TS>
