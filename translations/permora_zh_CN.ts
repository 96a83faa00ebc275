<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutDlg</name>
    <message>
        <source>Vendra Storage Security Version %1</source>
        <translation>Vendra Storage Security 版本 %1</translation>
    </message>
</context>
<context>
    <name>AccessTable</name>
    <message>
        <source>Allowed</source>
        <translation>允许</translation>
    </message>
    <message>
        <source>Denied</source>
        <translation>拒绝</translation>
    </message>
    <message>
        <source>Not allowed</source>
        <translation>未允许</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>Success and failure</source>
        <translation>成功和失败</translation>
    </message>
    <message>
        <source>Not audited</source>
        <translation>未审核</translation>
    </message>
    <message>
        <source>allowed</source>
        <translation>允许</translation>
    </message>
    <message>
        <source>denied</source>
        <translation>拒绝</translation>
    </message>
    <message>
        <source>not allowed</source>
        <translation>未允许</translation>
    </message>
    <message>
        <source>success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>failure</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>success and failure</source>
        <translation>成功和失败</translation>
    </message>
    <message>
        <source>not audited</source>
        <translation>未审核</translation>
    </message>
    <message>
        <source>%1 in the first level only</source>
        <translation>仅第一层%1</translation>
    </message>
    <message>
        <source>%1 in the first level, %2 below</source>
        <translation>第一层%1，以下各层%2</translation>
    </message>
    <message>
        <source>Not decided</source>
        <translation>未决定</translation>
    </message>
    <message>
        <source>The target has no permission list: nothing is decided.</source>
        <translation>目标没有权限列表: 没有任何决定。</translation>
    </message>
    <message>
        <source>No entry grants it.</source>
        <translation>没有项目授予此权限。</translation>
    </message>
    <message>
        <source>No entry grants all of it.</source>
        <translation>没有项目授予其全部权限。</translation>
    </message>
    <message>
        <source>Denied by entry %1: %2</source>
        <translation>被项目 %1 拒绝: %2</translation>
    </message>
    <message>
        <source>Allowed by entry %1: %2</source>
        <translation>由项目 %1 允许: %2</translation>
    </message>
    <message>
        <source>Partly allowed by entry %1: %2</source>
        <translation>由项目 %1 部分允许: %2</translation>
    </message>
    <message>
        <source>In the first level:</source>
        <translation>第一层:</translation>
    </message>
    <message>
        <source>Below the first level:</source>
        <translation>第一层以下:</translation>
    </message>
</context>
<context>
    <name>AddFileDlg</name>
    <message>
        <source>Invalid File Path</source>
        <translation>文件路径无效</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>NTFS Security for%1</source>
        <translation>%1 的 NTFS 安全</translation>
    </message>
</context>
<context>
    <name>AddPathsDlg</name>
    <message>
        <source>Line</source>
        <translation>行</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>文本</translation>
    </message>
    <message>
        <source>Lines that are not valid paths:</source>
        <translation>不是有效路径的行:</translation>
    </message>
    <message>
        <source>1 line is not a valid path; fix or remove it before adding:</source>
        <translation>1 行不是有效路径；请在添加前更正或删除它:</translation>
    </message>
    <message numerus="yes">
        <source>%n lines are not valid paths; fix or remove them before adding:</source>
        <translation>
            <numerusform>%n 行不是有效路径；请在添加前更正或删除它们:</numerusform>
        </translation>
    </message>
    <message>
        <source>no account</source>
        <translation>无帐户</translation>
    </message>
    <message>
        <source>Invalid Account Name</source>
        <translation>帐户名无效</translation>
    </message>
    <message>
        <source>1 line is not a valid path with a valid account; fix or remove it before adding:</source>
        <translation>1 行不是带有效帐户的有效路径；请在添加前更正或删除它:</translation>
    </message>
    <message numerus="yes">
        <source>%n lines are not valid paths with valid accounts; fix or remove them before adding:</source>
        <translation>
            <numerusform>%n 行不是带有效帐户的有效路径；请在添加前更正或删除它们:</numerusform>
        </translation>
    </message>
    <message>
        <source>The security the new targets get has no entry of %1.</source>
        <translation>新目标获得的安全设置中没有 %1 的项目。</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Give the stand-in account that the lines&apos; accounts replace.</source>
        <translation>请指定由各行的帐户替换的替代帐户。</translation>
    </message>
    <message>
        <source>no path</source>
        <translation>没有路径</translation>
    </message>
    <message>
        <source>two slashes in a row</source>
        <translation>连续两个斜杠</translation>
    </message>
    <message>
        <source>a path from the root begins with /vol/</source>
        <translation>从根开始的路径以 /vol/ 开头</translation>
    </message>
    <message>
        <source>a blank is not allowed</source>
        <translation>不允许空格</translation>
    </message>
    <message>
        <source>the byte 0x%1 is not allowed</source>
        <translation>不允许字节 0x%1</translation>
    </message>
    <message>
        <source>%1 is not allowed</source>
        <translation>不允许 %1</translation>
    </message>
</context>
<context>
    <name>Dialog</name>
    <message>
        <source>About Vendra Storage Security</source>
        <translation>关于 Vendra Storage Security</translation>
    </message>
    <message>
        <source>Edits and saves the file-security templates of the storage system.</source>
        <translation>编辑并保存存储系统的文件安全模板。</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Add a File or Folder to the template</source>
        <translation>向模板添加文件或文件夹</translation>
    </message>
    <message>
        <source>Security Style</source>
        <translation>安全样式</translation>
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
        <translation>应用于</translation>
    </message>
    <message>
        <source>&amp;File/Directory</source>
        <translation>文件/目录(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Storage</source>
        <translation>存储(&amp;S)</translation>
    </message>
    <message>
        <source>File or Folder Na&amp;me (example: /vol/vol1/qt1) :</source>
        <translation>文件或文件夹名称(&amp;M)(示例: /vol/vol1/qt1):</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>确定(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>取消(&amp;C)</translation>
    </message>
    <message>
        <source>Add Paths</source>
        <translation>添加路径</translation>
    </message>
    <message>
        <source>&amp;Paths, one a line (example: /vol/vol1/qt1):</source>
        <translation>路径，每行一个(示例: /vol/vol1/qt1)(&amp;P):</translation>
    </message>
    <message>
        <source>&amp;Give each new target the copied security</source>
        <translation>为每个新目标设置复制的安全设置(&amp;G)</translation>
    </message>
    <message>
        <source>Lines that are not valid paths:</source>
        <translation>不是有效路径的行:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>添加(&amp;A)</translation>
    </message>
    <message>
        <source>Auditing</source>
        <translation>审核</translation>
    </message>
    <message>
        <source>To view more information about Special auditing entries, select an auditing entry, and then click Edit. </source>
        <translation>要查看特殊审核项目的详细信息，请选择一个审核项目，然后单击“编辑”。</translation>
    </message>
    <message>
        <source>Auditing en&amp;tries:</source>
        <translation>审核项目(&amp;T):</translation>
    </message>
    <message>
        <source>A&amp;dd...</source>
        <translation>添加(&amp;D)...</translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <translation>编辑(&amp;E)...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>删除(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Allow inheritable auditing entries from the parent to propagate to this object and all child objects. Include these with entries explicitly defined here.</source>
        <translation>允许父项的可继承审核项目传播到该对象和所有子对象。包括那些在此明确定义的项目(&amp;A)。</translation>
    </message>
    <message>
        <source>Enter User, Group or Computer Account</source>
        <translation>输入用户、组或计算机帐户</translation>
    </message>
    <message>
        <source>&amp;Group or user name (Domain\NTAccount)</source>
        <translation>组或用户名(域\NT帐户)(&amp;G)</translation>
    </message>
    <message>
        <source>Full Control</source>
        <translation>完全控制</translation>
    </message>
    <message>
        <source>Traverse Folder / Execute File</source>
        <translation>遍历文件夹 / 执行文件</translation>
    </message>
    <message>
        <source>List Folder / Read Data</source>
        <translation>列出文件夹 / 读取数据</translation>
    </message>
    <message>
        <source>Read Attributes</source>
        <translation>读取属性</translation>
    </message>
    <message>
        <source>Read Extended Attributes</source>
        <translation>读取扩展属性</translation>
    </message>
    <message>
        <source>Create Files / Write Data</source>
        <translation>创建文件 / 写入数据</translation>
    </message>
    <message>
        <source>Create Folders / Append Data</source>
        <translation>创建文件夹 / 附加数据</translation>
    </message>
    <message>
        <source>Write Attributes</source>
        <translation>写入属性</translation>
    </message>
    <message>
        <source>Write Extended Attributes</source>
        <translation>写入扩展属性</translation>
    </message>
    <message>
        <source>Delete Subfolders and Files</source>
        <translation>删除子文件夹及文件</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Read Permissions</source>
        <translation>读取权限</translation>
    </message>
    <message>
        <source>Change Permissions</source>
        <translation>更改权限</translation>
    </message>
    <message>
        <source>Take Ownership</source>
        <translation>取得所有权</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>对象</translation>
    </message>
    <message>
        <source>Na&amp;me:</source>
        <translation>名称(&amp;M):</translation>
    </message>
    <message>
        <source>Apply &amp;onto:</source>
        <translation>应用于(&amp;O):</translation>
    </message>
    <message>
        <source>Acce&amp;ss:</source>
        <translation>访问(&amp;S):</translation>
    </message>
    <message>
        <source>Successful</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>C&amp;lear All</source>
        <translation>全部清除(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Permissions:</source>
        <translation>权限(&amp;P):</translation>
    </message>
    <message>
        <source>Allow</source>
        <translation>允许</translation>
    </message>
    <message>
        <source>Deny</source>
        <translation>拒绝</translation>
    </message>
    <message>
        <source>Permissions</source>
        <translation>权限</translation>
    </message>
    <message>
        <source>To view more information about Special permissions, select a permission entry, and then click Edit. </source>
        <translation>要查看特殊权限的详细信息，请选择一个权限项目，然后单击“编辑”。</translation>
    </message>
    <message>
        <source>Permission en&amp;tries:</source>
        <translation>权限项目(&amp;T):</translation>
    </message>
    <message>
        <source>&amp;Allow inheritable permissions from the parent to propagate to this object and all child objects. Include these with entries explicitly defined here.</source>
        <translation>允许父项的可继承权限传播到该对象和所有子对象。包括那些在此明确定义的项目(&amp;A)。</translation>
    </message>
    <message>
        <source>Vendra Storage Security</source>
        <translation>Vendra Storage Security</translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation>文件(&amp;F):</translation>
    </message>
    <message>
        <source>Untit&amp;led</source>
        <translation>Untit&amp;led</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>新建(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>导入(&amp;I)</translation>
    </message>
    <message>
        <source>Save U&amp;TF8</source>
        <translation>保存 UTF8(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Save Unicode</source>
        <translation>保存 Unicode(&amp;S)</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>另存为...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>关闭(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>上移(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Dn</source>
        <translation>下移(&amp;D)</translation>
    </message>
    <message>
        <source>Replace Account</source>
        <translation>替换帐户</translation>
    </message>
    <message>
        <source>&amp;Old account name:</source>
        <translation>旧帐户名(&amp;O):</translation>
    </message>
    <message>
        <source>&amp;New account name:</source>
        <translation>新帐户名(&amp;N):</translation>
    </message>
    <message>
        <source>Replace In</source>
        <translation>替换范围</translation>
    </message>
    <message>
        <source>&amp;All targets</source>
        <translation>所有目标(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Selected targets</source>
        <translation>所选目标(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>替换(&amp;R)</translation>
    </message>
    <message>
        <source>NTFS Security</source>
        <translation>NTFS 安全</translation>
    </message>
    <message>
        <source>&amp;Group or user names (Domain\NTAccount):</source>
        <translation>组或用户名(域\NT帐户)(&amp;G):</translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>添加(&amp;D)</translation>
    </message>
    <message>
        <source>Perm&amp;issions for </source>
        <translation>权限(&amp;I): </translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>Read and Execute</source>
        <translation>读取和执行</translation>
    </message>
    <message>
        <source>List Folder Contents</source>
        <translation>列出文件夹内容</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>写入</translation>
    </message>
    <message>
        <source>Special Permissions</source>
        <translation>特殊权限</translation>
    </message>
    <message>
        <source>For special permissions or for advanced settings, click Advanced.</source>
        <translation>有关特殊权限或高级设置，请单击“高级”。</translation>
    </message>
    <message>
        <source>Ad&amp;vanced</source>
        <translation>高级(&amp;V)</translation>
    </message>
    <message>
        <source>Effective Access</source>
        <translation>有效访问</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>恢复</translation>
    </message>
    <message>
        <source>&amp;Recovered templates, newest first:</source>
        <translation>恢复的模板，最新的在前(&amp;R):</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Stand-&amp;in account of the security:</source>
        <translation>安全设置中的替代帐户(&amp;I):</translation>
    </message>
    <message>
        <source>Acc&amp;ount of a line without one:</source>
        <translation>没有帐户的行所用的帐户(&amp;O):</translation>
    </message>
    <message>
        <source>A line&apos;s account follows its path after a tab; {name} is the path&apos;s last part.</source>
        <translation>行的帐户跟在路径之后，以制表符分隔；{name} 表示路径的最后一部分。</translation>
    </message>
</context>
<context>
    <name>EffectiveAccessPage</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>帐户名无效</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
</context>
<context>
    <name>EffectiveAccessPanel</name>
    <message>
        <source>&amp;View</source>
        <translation>查看(&amp;V)</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>帐户</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>组</translation>
    </message>
    <message>
        <source>View</source>
        <translation>查看</translation>
    </message>
    <message>
        <source>Shown for</source>
        <translation>显示对象</translation>
    </message>
    <message>
        <source>Choose or type an account, then press View.</source>
        <translation>选择或输入一个帐户，然后单击“查看”。</translation>
    </message>
    <message>
        <source>Deciding entries</source>
        <translation>决定性项目</translation>
    </message>
    <message>
        <source>&amp;Account:</source>
        <translation>帐户(&amp;A):</translation>
    </message>
    <message>
        <source>&amp;Groups (separated by ;):</source>
        <translation>组(用 ; 分隔)(&amp;G):</translation>
    </message>
    <message>
        <source>Standard permissions</source>
        <translation>标准权限</translation>
    </message>
    <message>
        <source>Rights</source>
        <translation>权利</translation>
    </message>
    <message>
        <source>Audited rights</source>
        <translation>审核的权利</translation>
    </message>
    <message>
        <source>A&amp;udited rights:</source>
        <translation>审核的权利(&amp;U):</translation>
    </message>
    <message>
        <source>&amp;Standard permissions:</source>
        <translation>标准权限(&amp;S):</translation>
    </message>
    <message>
        <source>&amp;Rights:</source>
        <translation>权利(&amp;R):</translation>
    </message>
    <message>
        <source>Nothing is audited for this account.</source>
        <translation>此帐户没有任何审核。</translation>
    </message>
    <message>
        <source>The target has no auditing list.</source>
        <translation>目标没有审核列表。</translation>
    </message>
    <message>
        <source>Move to a cell to see the entries that decide it.</source>
        <translation>移到某个单元格可查看决定它的项目。</translation>
    </message>
    <message>
        <source>Effective access of %1:</source>
        <translation>%1 的有效访问:</translation>
    </message>
    <message>
        <source>Effective access of %1, member of %2:</source>
        <translation>%1(%2 的成员)的有效访问:</translation>
    </message>
    <message>
        <source>Effective access of %1. The target has no permission list: nothing is decided.</source>
        <translation>%1 的有效访问。目标没有权限列表: 没有任何决定。</translation>
    </message>
    <message>
        <source>Effective access of %1, member of %2. The target has no permission list: nothing is decided.</source>
        <translation>%1(%2 的成员)的有效访问。目标没有权限列表: 没有任何决定。</translation>
    </message>
    <message>
        <source>%1, this folder: %2</source>
        <translation>%1，此文件夹: %2</translation>
    </message>
    <message>
        <source>%1, subfolders: %2</source>
        <translation>%1，子文件夹: %2</translation>
    </message>
    <message>
        <source>%1, files: %2</source>
        <translation>%1，文件: %2</translation>
    </message>
</context>
<context>
    <name>EntryEditorPage</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>帐户名无效</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
</context>
<context>
    <name>EntryListPage</name>
    <message>
        <source>Success  </source>
        <translation>成功  </translation>
    </message>
    <message>
        <source>Access</source>
        <translation>访问</translation>
    </message>
    <message>
        <source>Auditing Entry for </source>
        <translation>审核项目: </translation>
    </message>
    <message>
        <source>Cannot find the corresponding ace in SaclList.</source>
        <translation>在 SACL 中找不到对应的项目。</translation>
    </message>
    <message>
        <source>List Folder Contents  </source>
        <translation>列出文件夹内容  </translation>
    </message>
    <message>
        <source>This folder, subfolders and files  </source>
        <translation>此文件夹、子文件夹和文件  </translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Apply To</source>
        <translation>应用于</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Cannot find the ace.</source>
        <translation>找不到该项目。</translation>
    </message>
    <message>
        <source>Ace item does not match.</source>
        <translation>项目不匹配。</translation>
    </message>
    <message>
        <source>Allow  </source>
        <translation>允许  </translation>
    </message>
    <message>
        <source>Permission</source>
        <translation>权限</translation>
    </message>
    <message>
        <source>Permission Entry for </source>
        <translation>权限项目: </translation>
    </message>
    <message>
        <source>Cannot find the corresponding ace in DaclList.</source>
        <translation>在 DACL 中找不到对应的项目。</translation>
    </message>
</context>
<context>
    <name>FileDialog</name>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>另存为</translation>
    </message>
    <message>
        <source>%1 does not exist.
Create it?</source>
        <translation>%1 不存在。
要创建它吗?</translation>
    </message>
    <message>
        <source>%1
The folder does not exist. Check the path and try again.</source>
        <translation>%1
文件夹不存在。请检查路径，然后重试。</translation>
    </message>
    <message>
        <source>%1
File not found. Check the file name and try again.</source>
        <translation>%1
找不到文件。请检查文件名，然后重试。</translation>
    </message>
</context>
<context>
    <name>InputNTAccountDlg</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>帐户名无效</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
</context>
<context>
    <name>Names</name>
    <message>
        <source>??No Permission??</source>
        <translation>??无权限??</translation>
    </message>
    <message>
        <source>List folder/Read data</source>
        <translation>列出文件夹/读取数据</translation>
    </message>
    <message>
        <source>Create files/Write data</source>
        <translation>创建文件/写入数据</translation>
    </message>
    <message>
        <source>Create folders/Append data</source>
        <translation>创建文件夹/附加数据</translation>
    </message>
    <message>
        <source>Read extended attributes</source>
        <translation>读取扩展属性</translation>
    </message>
    <message>
        <source>Write extended attributes</source>
        <translation>写入扩展属性</translation>
    </message>
    <message>
        <source>Traverse Folder/Execute File</source>
        <translation>遍历文件夹/执行文件</translation>
    </message>
    <message>
        <source>Delete subfolders and files</source>
        <translation>删除子文件夹及文件</translation>
    </message>
    <message>
        <source>Read attributes</source>
        <translation>读取属性</translation>
    </message>
    <message>
        <source>Write attributes</source>
        <translation>写入属性</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Read permissions</source>
        <translation>读取权限</translation>
    </message>
    <message>
        <source>Change permissions</source>
        <translation>更改权限</translation>
    </message>
    <message>
        <source>Take Ownership</source>
        <translation>取得所有权</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>写入</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>Read and Execute</source>
        <translation>读取和执行</translation>
    </message>
    <message>
        <source>Read, Write &amp; Execute</source>
        <translation>读取、写入和执行</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>Full Control</source>
        <translation>完全控制</translation>
    </message>
    <message>
        <source>Special</source>
        <translation>特殊</translation>
    </message>
    <message>
        <source>This folder and files</source>
        <translation>此文件夹和文件</translation>
    </message>
    <message>
        <source>This folder and subfolders</source>
        <translation>此文件夹和子文件夹</translation>
    </message>
    <message>
        <source>This folder, subfolders and files</source>
        <translation>此文件夹、子文件夹和文件</translation>
    </message>
    <message>
        <source>This folder only</source>
        <translation>只有该文件夹</translation>
    </message>
    <message>
        <source>Files only</source>
        <translation>仅文件</translation>
    </message>
    <message>
        <source>Subfolders only</source>
        <translation>仅子文件夹</translation>
    </message>
    <message>
        <source>Subfolders and files only</source>
        <translation>仅子文件夹和文件</translation>
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
        <translation>文件/目录</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>存储</translation>
    </message>
    <message>
        <source>Allow</source>
        <translation>允许</translation>
    </message>
    <message>
        <source>Deny</source>
        <translation>拒绝</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>Fail</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>All</source>
        <translation>全部</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>This folder</source>
        <translation>此文件夹</translation>
    </message>
    <message>
        <source>Subfolders</source>
        <translation>子文件夹</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>文件</translation>
    </message>
</context>
<context>
    <name>PermoraDlg</name>
    <message>
        <source>Conf files (*.conf)|*.conf|All files (*.*)|*.*||</source>
        <translation>配置文件 (*.conf)|*.conf|所有文件 (*.*)|*.*||</translation>
    </message>
    <message>
        <source>There is problem in opening this file.</source>
        <translation>打开此文件时出现问题。</translation>
    </message>
    <message>
        <source>There is problem in creating this file.</source>
        <translation>创建此文件时出现问题。</translation>
    </message>
    <message>
        <source>The file is being written by another program.</source>
        <translation>另一个程序正在写入此文件。</translation>
    </message>
    <message>
        <source>The file was replaced while it was being edited; nothing was written.</source>
        <translation>文件在编辑期间被替换；未写入任何内容。</translation>
    </message>
    <message>
        <source>The file cannot be locked; nothing was written.</source>
        <translation>无法锁定文件；未写入任何内容。</translation>
    </message>
    <message>
        <source>Targets</source>
        <translation>目标</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>上移</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>下移</translation>
    </message>
    <message>
        <source>Security Style</source>
        <translation>安全样式</translation>
    </message>
    <message>
        <source>Security Level</source>
        <translation>安全级别</translation>
    </message>
    <message>
        <source>Target Object</source>
        <translation>目标对象</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>撤消(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Copy Security</source>
        <translation>复制安全设置(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Paste Security</source>
        <translation>粘贴安全设置(&amp;P)</translation>
    </message>
    <message>
        <source>Copy &amp;Line</source>
        <translation>复制行(&amp;L)</translation>
    </message>
    <message>
        <source>Add Pa&amp;ths...</source>
        <translation>添加路径(&amp;T)...</translation>
    </message>
    <message>
        <source>Replace Acc&amp;ount...</source>
        <translation>替换帐户(&amp;O)...</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>撤消: %1(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>重做: %1(&amp;R)</translation>
    </message>
    <message>
        <source>Paste Security onto 1 Target</source>
        <translation>将安全设置粘贴到 1 个目标</translation>
    </message>
    <message numerus="yes">
        <source>Paste Security onto %n Targets</source>
        <translation>
            <numerusform>将安全设置粘贴到 %n 个目标</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target is not NTFS and kept its security.</source>
        <translation>1 个目标不是 NTFS，保留了其安全设置。</translation>
    </message>
    <message numerus="yes">
        <source>%n targets are not NTFS and kept their security.</source>
        <translation>
            <numerusform>%n 个目标不是 NTFS，保留了其安全设置。</numerusform>
        </translation>
    </message>
    <message>
        <source>Paste Security</source>
        <translation>粘贴安全设置</translation>
    </message>
    <message>
        <source>Add 1 Path</source>
        <translation>添加 1 个路径</translation>
    </message>
    <message numerus="yes">
        <source>Add %n Paths</source>
        <translation>
            <numerusform>添加 %n 个路径</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target was added</source>
        <translation>已添加 1 个目标</translation>
    </message>
    <message numerus="yes">
        <source>%n targets were added</source>
        <translation>
            <numerusform>已添加 %n 个目标</numerusform>
        </translation>
    </message>
    <message>
        <source>1 path was already in the template and skipped.</source>
        <translation>1 个路径已在模板中，已跳过。</translation>
    </message>
    <message numerus="yes">
        <source>%n paths were already in the template and skipped.</source>
        <translation>
            <numerusform>%n 个路径已在模板中，已跳过。</numerusform>
        </translation>
    </message>
    <message>
        <source>%1; %2</source>
        <translation>%1；%2</translation>
    </message>
    <message>
        <source>Add Paths</source>
        <translation>添加路径</translation>
    </message>
    <message>
        <source>Replace Account</source>
        <translation>替换帐户</translation>
    </message>
    <message>
        <source>1 entry</source>
        <translation>1 个项目</translation>
    </message>
    <message numerus="yes">
        <source>%n entries</source>
        <translation>
            <numerusform>%n 个项目</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target</source>
        <comment>in 1 target</comment>
        <translation>1 个目标</translation>
    </message>
    <message numerus="yes">
        <source>%n targets</source>
        <comment>in %n targets</comment>
        <translation>
            <numerusform>%n 个目标</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 in %2 changed.</source>
        <translation>已更改 %2 中的 %1。</translation>
    </message>
    <message>
        <source>New</source>
        <translation>新建</translation>
    </message>
    <message>
        <source>Add Target</source>
        <translation>添加目标</translation>
    </message>
    <message>
        <source>NTFS Security for %1</source>
        <translation>%1 的 NTFS 安全</translation>
    </message>
    <message>
        <source>Edit Target</source>
        <translation>编辑目标</translation>
    </message>
    <message>
        <source>Remove 1 Target</source>
        <translation>删除 1 个目标</translation>
    </message>
    <message numerus="yes">
        <source>Remove %n Targets</source>
        <translation>
            <numerusform>删除 %n 个目标</numerusform>
        </translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Do you want to overwrite  %1?</source>
        <translation>是否要覆盖 %1?</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>Do you want to overwrite %1?</source>
        <translation>是否要覆盖 %1?</translation>
    </message>
    <message>
        <source>Import %1</source>
        <translation>导入 %1</translation>
    </message>
    <message>
        <source>&amp;About permora...</source>
        <translation>关于 permora(&amp;A)...</translation>
    </message>
    <message>
        <source>Reco&amp;ver...</source>
        <translation>恢复(&amp;V)...</translation>
    </message>
    <message>
        <source>%1 has changed on disk since it was last read or saved. Overwrite it?</source>
        <translation>%1 自上次读取或保存以来已在磁盘上更改。是否覆盖?</translation>
    </message>
    <message>
        <source>New Template</source>
        <translation>新建模板</translation>
    </message>
    <message>
        <source>%1, line %2</source>
        <translation>%1，第 %2 行</translation>
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
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>Reader</name>
    <message>
        <source>   Invalid File</source>
        <translation>   无效的文件</translation>
    </message>
    <message>
        <source>Invalid File Path</source>
        <translation>文件路径无效</translation>
    </message>
    <message>
        <source>Wrong ace type.</source>
        <translation>项目类型错误。</translation>
    </message>
    <message>
        <source>Cannot parse this Mask.</source>
        <translation>无法解析此掩码。</translation>
    </message>
    <message>
        <source>Invalid Account Name</source>
        <translation>帐户名无效</translation>
    </message>
    <message>
        <source>Too many entries.</source>
        <translation>项目太多。</translation>
    </message>
    <message>
        <source>Cannot parse the flags of this list.</source>
        <translation>无法解析此列表的标志。</translation>
    </message>
    <message>
        <source>This descriptor holds neither S: nor D:.</source>
        <translation>此描述符既不包含 S: 也不包含 D:。</translation>
    </message>
</context>
<context>
    <name>RecoverDlg</name>
    <message>
        <source>Kept at</source>
        <translation>保存时间</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Targets</source>
        <translation>目标</translation>
    </message>
    <message>
        <source>Original File</source>
        <translation>原文件</translation>
    </message>
</context>
<context>
    <name>RecoveryOffer</name>
    <message>
        <source>Recovered: 1 template, %1</source>
        <translation>已恢复: 1 个模板，%1</translation>
    </message>
    <message>
        <source>Import ne&amp;west</source>
        <translation>导入最新(&amp;W)</translation>
    </message>
    <message>
        <source>C&amp;hoose...</source>
        <translation>选择(&amp;H)...</translation>
    </message>
    <message>
        <source>Dis&amp;miss</source>
        <translation>忽略(&amp;M)</translation>
    </message>
</context>
<context>
    <name>ReplaceAccountDlg</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>帐户名无效</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
</context>
<context>
    <name>SecurityPropPage</name>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Advanced Security Settings for %1</source>
        <translation>%1 的高级安全设置</translation>
    </message>
    <message>
        <source>Current ace does not have any Masks. It should be deleted.</source>
        <translation>当前项目没有任何掩码。应将其删除。</translation>
    </message>
    <message>
        <source>Current aceflags is NOT CIOI. You must miss some flag combination.</source>
        <translation>当前项目的标志不是 CIOI。缺少某些标志组合。</translation>
    </message>
    <message>
        <source>There are more other aces other than FullControl?</source>
        <translation>除完全控制外还有其他项目?</translation>
    </message>
    <message>
        <source>Cannot find the ACE to be modified.</source>
        <translation>找不到要修改的项目。</translation>
    </message>
    <message>
        <source>Cannot find the ACE to be modified</source>
        <translation>找不到要修改的项目</translation>
    </message>
</context>
</TS>
