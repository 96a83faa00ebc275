<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>AboutDlg</name>
    <message>
        <source>Vendra Storage Security Version %1</source>
        <translation>Vendra Storage Security バージョン %1</translation>
    </message>
</context>
<context>
    <name>AccessTable</name>
    <message>
        <source>Allowed</source>
        <translation>許可</translation>
    </message>
    <message>
        <source>Denied</source>
        <translation>拒否</translation>
    </message>
    <message>
        <source>Not allowed</source>
        <translation>許可なし</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>Success and failure</source>
        <translation>成功と失敗</translation>
    </message>
    <message>
        <source>Not audited</source>
        <translation>監査なし</translation>
    </message>
    <message>
        <source>allowed</source>
        <translation>許可</translation>
    </message>
    <message>
        <source>denied</source>
        <translation>拒否</translation>
    </message>
    <message>
        <source>not allowed</source>
        <translation>許可なし</translation>
    </message>
    <message>
        <source>success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>failure</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>success and failure</source>
        <translation>成功と失敗</translation>
    </message>
    <message>
        <source>not audited</source>
        <translation>監査なし</translation>
    </message>
    <message>
        <source>%1 in the first level only</source>
        <translation>第 1 階層のみ%1</translation>
    </message>
    <message>
        <source>%1 in the first level, %2 below</source>
        <translation>第 1 階層は%1、それより下は%2</translation>
    </message>
    <message>
        <source>Not decided</source>
        <translation>未決定</translation>
    </message>
    <message>
        <source>The target has no permission list: nothing is decided.</source>
        <translation>ターゲットにアクセス許可リストがないため、何も決まりません。</translation>
    </message>
    <message>
        <source>No entry grants it.</source>
        <translation>これを許可するエントリはありません。</translation>
    </message>
    <message>
        <source>No entry grants all of it.</source>
        <translation>これをすべて許可するエントリはありません。</translation>
    </message>
    <message>
        <source>Denied by entry %1: %2</source>
        <translation>エントリ %1 により拒否: %2</translation>
    </message>
    <message>
        <source>Allowed by entry %1: %2</source>
        <translation>エントリ %1 により許可: %2</translation>
    </message>
    <message>
        <source>Partly allowed by entry %1: %2</source>
        <translation>エントリ %1 により一部許可: %2</translation>
    </message>
    <message>
        <source>In the first level:</source>
        <translation>第 1 階層:</translation>
    </message>
    <message>
        <source>Below the first level:</source>
        <translation>第 1 階層より下:</translation>
    </message>
</context>
<context>
    <name>AddFileDlg</name>
    <message>
        <source>Invalid File Path</source>
        <translation>ファイル パスが無効です</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>NTFS Security for%1</source>
        <translation>%1 の NTFS セキュリティ</translation>
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
        <translation>テキスト</translation>
    </message>
    <message>
        <source>Lines that are not valid paths:</source>
        <translation>有効なパスではない行:</translation>
    </message>
    <message>
        <source>1 line is not a valid path; fix or remove it before adding:</source>
        <translation>1 行が有効なパスではありません。追加する前に修正するか削除してください:</translation>
    </message>
    <message numerus="yes">
        <source>%n lines are not valid paths; fix or remove them before adding:</source>
        <translation>
            <numerusform>%n 行が有効なパスではありません。追加する前に修正するか削除してください:</numerusform>
        </translation>
    </message>
    <message>
        <source>no account</source>
        <translation>アカウントなし</translation>
    </message>
    <message>
        <source>Invalid Account Name</source>
        <translation>アカウント名が無効です</translation>
    </message>
    <message>
        <source>1 line is not a valid path with a valid account; fix or remove it before adding:</source>
        <translation>1 行のパスまたはアカウントが無効です。追加する前に修正するか削除してください:</translation>
    </message>
    <message numerus="yes">
        <source>%n lines are not valid paths with valid accounts; fix or remove them before adding:</source>
        <translation>
            <numerusform>%n 行のパスまたはアカウントが無効です。追加する前に修正するか削除してください:</numerusform>
        </translation>
    </message>
    <message>
        <source>The security the new targets get has no entry of %1.</source>
        <translation>新しいターゲットに設定するセキュリティに %1 のエントリがありません。</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>Give the stand-in account that the lines&apos; accounts replace.</source>
        <translation>行のアカウントで置き換える代理アカウントを指定してください。</translation>
    </message>
    <message>
        <source>no path</source>
        <translation>パスがありません</translation>
    </message>
    <message>
        <source>two slashes in a row</source>
        <translation>スラッシュが2つ続いています</translation>
    </message>
    <message>
        <source>a path from the root begins with /vol/</source>
        <translation>ルートからのパスは /vol/ で始まります</translation>
    </message>
    <message>
        <source>a blank is not allowed</source>
        <translation>空白は使えません</translation>
    </message>
    <message>
        <source>the byte 0x%1 is not allowed</source>
        <translation>バイト 0x%1 は使えません</translation>
    </message>
    <message>
        <source>%1 is not allowed</source>
        <translation>%1 は使えません</translation>
    </message>
</context>
<context>
    <name>Dialog</name>
    <message>
        <source>About Vendra Storage Security</source>
        <translation>Vendra Storage Security のバージョン情報</translation>
    </message>
    <message>
        <source>Edits and saves the file-security templates of the storage system.</source>
        <translation>ファイル セキュリティ テンプレートの編集と保存。</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Add a File or Folder to the template</source>
        <translation>テンプレートにファイルまたはフォルダーを追加</translation>
    </message>
    <message>
        <source>Security Style</source>
        <translation>セキュリティ スタイル</translation>
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
        <translation>適用先</translation>
    </message>
    <message>
        <source>&amp;File/Directory</source>
        <translation>ファイル/フォルダー(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Storage</source>
        <translation>ストレージ(&amp;S)</translation>
    </message>
    <message>
        <source>File or Folder Na&amp;me (example: /vol/vol1/qt1) :</source>
        <translation>ファイル名またはフォルダー名(&amp;M) (例: /vol/vol1/qt1):</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>OK(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>キャンセル(&amp;C)</translation>
    </message>
    <message>
        <source>Add Paths</source>
        <translation>パスの追加</translation>
    </message>
    <message>
        <source>&amp;Paths, one a line (example: /vol/vol1/qt1):</source>
        <translation>パス (1 行に 1 つ、例: /vol/vol1/qt1)(&amp;P):</translation>
    </message>
    <message>
        <source>&amp;Give each new target the copied security</source>
        <translation>新しい各ターゲットにコピーしたセキュリティを設定する(&amp;G)</translation>
    </message>
    <message>
        <source>Lines that are not valid paths:</source>
        <translation>有効なパスではない行:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>追加(&amp;A)</translation>
    </message>
    <message>
        <source>Auditing</source>
        <translation>監査</translation>
    </message>
    <message>
        <source>To view more information about Special auditing entries, select an auditing entry, and then click Edit. </source>
        <translation>特殊な監査エントリの詳細を表示するには、監査エントリを選択して [編集] をクリックしてください。</translation>
    </message>
    <message>
        <source>Auditing en&amp;tries:</source>
        <translation>監査エントリ(&amp;T):</translation>
    </message>
    <message>
        <source>A&amp;dd...</source>
        <translation>追加(&amp;D)...</translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <translation>編集(&amp;E)...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>削除(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Allow inheritable auditing entries from the parent to propagate to this object and all child objects. Include these with entries explicitly defined here.</source>
        <translation>親の継承可能な監査エントリをこのオブジェクトと子オブジェクトに反映し、ここで定義したエントリと共に含める(&amp;A)</translation>
    </message>
    <message>
        <source>Enter User, Group or Computer Account</source>
        <translation>ユーザー、グループ、またはコンピューターのアカウントを入力</translation>
    </message>
    <message>
        <source>&amp;Group or user name (Domain\NTAccount)</source>
        <translation>グループ名またはユーザー名 (ドメイン\NT アカウント)(&amp;G)</translation>
    </message>
    <message>
        <source>Full Control</source>
        <translation>フル コントロール</translation>
    </message>
    <message>
        <source>Traverse Folder / Execute File</source>
        <translation>フォルダーのスキャン / ファイルの実行</translation>
    </message>
    <message>
        <source>List Folder / Read Data</source>
        <translation>フォルダーの一覧 / データの読み取り</translation>
    </message>
    <message>
        <source>Read Attributes</source>
        <translation>属性の読み取り</translation>
    </message>
    <message>
        <source>Read Extended Attributes</source>
        <translation>拡張属性の読み取り</translation>
    </message>
    <message>
        <source>Create Files / Write Data</source>
        <translation>ファイルの作成 / データの書き込み</translation>
    </message>
    <message>
        <source>Create Folders / Append Data</source>
        <translation>フォルダーの作成 / データの追加</translation>
    </message>
    <message>
        <source>Write Attributes</source>
        <translation>属性の書き込み</translation>
    </message>
    <message>
        <source>Write Extended Attributes</source>
        <translation>拡張属性の書き込み</translation>
    </message>
    <message>
        <source>Delete Subfolders and Files</source>
        <translation>サブフォルダーとファイルの削除</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Read Permissions</source>
        <translation>アクセス許可の読み取り</translation>
    </message>
    <message>
        <source>Change Permissions</source>
        <translation>アクセス許可の変更</translation>
    </message>
    <message>
        <source>Take Ownership</source>
        <translation>所有権の取得</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>オブジェクト</translation>
    </message>
    <message>
        <source>Na&amp;me:</source>
        <translation>名前(&amp;M):</translation>
    </message>
    <message>
        <source>Apply &amp;onto:</source>
        <translation>適用先(&amp;O):</translation>
    </message>
    <message>
        <source>Acce&amp;ss:</source>
        <translation>アクセス(&amp;S):</translation>
    </message>
    <message>
        <source>Successful</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>C&amp;lear All</source>
        <translation>すべてクリア(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Permissions:</source>
        <translation>アクセス許可(&amp;P):</translation>
    </message>
    <message>
        <source>Allow</source>
        <translation>許可</translation>
    </message>
    <message>
        <source>Deny</source>
        <translation>拒否</translation>
    </message>
    <message>
        <source>Permissions</source>
        <translation>アクセス許可</translation>
    </message>
    <message>
        <source>To view more information about Special permissions, select a permission entry, and then click Edit. </source>
        <translation>特殊なアクセス許可の詳細を表示するには、アクセス許可エントリを選択して [編集] をクリックしてください。</translation>
    </message>
    <message>
        <source>Permission en&amp;tries:</source>
        <translation>アクセス許可エントリ(&amp;T):</translation>
    </message>
    <message>
        <source>&amp;Allow inheritable permissions from the parent to propagate to this object and all child objects. Include these with entries explicitly defined here.</source>
        <translation>親の継承可能なアクセス許可をこのオブジェクトと子オブジェクトに反映し、ここで定義したエントリと共に含める(&amp;A)</translation>
    </message>
    <message>
        <source>Vendra Storage Security</source>
        <translation>Vendra Storage Security</translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation>場所(&amp;F):</translation>
    </message>
    <message>
        <source>Untit&amp;led</source>
        <translation>Untit&amp;led</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>新規(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>インポート(&amp;I)</translation>
    </message>
    <message>
        <source>Save U&amp;TF8</source>
        <translation>UTF8保存(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Save Unicode</source>
        <translation>Unicode保存(&amp;S)</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>名前を付けて保存...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>上へ(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Dn</source>
        <translation>下へ(&amp;D)</translation>
    </message>
    <message>
        <source>Replace Account</source>
        <translation>アカウントの置換</translation>
    </message>
    <message>
        <source>&amp;Old account name:</source>
        <translation>旧アカウント名(&amp;O):</translation>
    </message>
    <message>
        <source>&amp;New account name:</source>
        <translation>新アカウント名(&amp;N):</translation>
    </message>
    <message>
        <source>Replace In</source>
        <translation>置換の対象</translation>
    </message>
    <message>
        <source>&amp;All targets</source>
        <translation>すべてのターゲット(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Selected targets</source>
        <translation>選択したターゲット(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>置換(&amp;R)</translation>
    </message>
    <message>
        <source>NTFS Security</source>
        <translation>NTFS セキュリティ</translation>
    </message>
    <message>
        <source>&amp;Group or user names (Domain\NTAccount):</source>
        <translation>グループ名またはユーザー名 (ドメイン\NT アカウント)(&amp;G):</translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>追加(&amp;D)</translation>
    </message>
    <message>
        <source>Perm&amp;issions for </source>
        <translation>アクセス許可(&amp;I): </translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>変更</translation>
    </message>
    <message>
        <source>Read and Execute</source>
        <translation>読み取りと実行</translation>
    </message>
    <message>
        <source>List Folder Contents</source>
        <translation>フォルダーの内容の一覧表示</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>読み取り</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>書き込み</translation>
    </message>
    <message>
        <source>Special Permissions</source>
        <translation>特殊なアクセス許可</translation>
    </message>
    <message>
        <source>For special permissions or for advanced settings, click Advanced.</source>
        <translation>特殊な許可や詳細設定は [詳細設定] をクリック</translation>
    </message>
    <message>
        <source>Ad&amp;vanced</source>
        <translation>詳細設定(&amp;V)</translation>
    </message>
    <message>
        <source>Effective Access</source>
        <translation>有効なアクセス</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>回復</translation>
    </message>
    <message>
        <source>&amp;Recovered templates, newest first:</source>
        <translation>回復したテンプレート (新しい順)(&amp;R):</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Stand-&amp;in account of the security:</source>
        <translation>セキュリティ内の代理アカウント(&amp;I):</translation>
    </message>
    <message>
        <source>Acc&amp;ount of a line without one:</source>
        <translation>アカウントのない行のアカウント(&amp;O):</translation>
    </message>
    <message>
        <source>A line&apos;s account follows its path after a tab; {name} is the path&apos;s last part.</source>
        <translation>行のアカウントはパスの後にタブで区切って指定します。{name} はパスの最後の部分です。</translation>
    </message>
</context>
<context>
    <name>EffectiveAccessPage</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>アカウント名が無効です</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
</context>
<context>
    <name>EffectiveAccessPanel</name>
    <message>
        <source>&amp;View</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>アカウント</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>グループ</translation>
    </message>
    <message>
        <source>View</source>
        <translation>表示</translation>
    </message>
    <message>
        <source>Shown for</source>
        <translation>表示の対象</translation>
    </message>
    <message>
        <source>Choose or type an account, then press View.</source>
        <translation>アカウントを選択または入力して、[表示] をクリックしてください。</translation>
    </message>
    <message>
        <source>Deciding entries</source>
        <translation>決定するエントリ</translation>
    </message>
    <message>
        <source>&amp;Account:</source>
        <translation>アカウント(&amp;A):</translation>
    </message>
    <message>
        <source>&amp;Groups (separated by ;):</source>
        <translation>グループ (; で区切る)(&amp;G):</translation>
    </message>
    <message>
        <source>Standard permissions</source>
        <translation>標準のアクセス許可</translation>
    </message>
    <message>
        <source>Rights</source>
        <translation>権利</translation>
    </message>
    <message>
        <source>Audited rights</source>
        <translation>監査される権利</translation>
    </message>
    <message>
        <source>A&amp;udited rights:</source>
        <translation>監査される権利(&amp;U):</translation>
    </message>
    <message>
        <source>&amp;Standard permissions:</source>
        <translation>標準のアクセス許可(&amp;S):</translation>
    </message>
    <message>
        <source>&amp;Rights:</source>
        <translation>権利(&amp;R):</translation>
    </message>
    <message>
        <source>Nothing is audited for this account.</source>
        <translation>このアカウントについて監査されるものはありません。</translation>
    </message>
    <message>
        <source>The target has no auditing list.</source>
        <translation>ターゲットに監査リストがありません。</translation>
    </message>
    <message>
        <source>Move to a cell to see the entries that decide it.</source>
        <translation>セルに移動すると、それを決定するエントリが表示されます。</translation>
    </message>
    <message>
        <source>Effective access of %1:</source>
        <translation>%1 の有効なアクセス:</translation>
    </message>
    <message>
        <source>Effective access of %1, member of %2:</source>
        <translation>%1 (%2 のメンバー) の有効なアクセス:</translation>
    </message>
    <message>
        <source>Effective access of %1. The target has no permission list: nothing is decided.</source>
        <translation>%1 の有効なアクセス。ターゲットにアクセス許可リストがないため、何も決まりません。</translation>
    </message>
    <message>
        <source>Effective access of %1, member of %2. The target has no permission list: nothing is decided.</source>
        <translation>%1 (%2 のメンバー) の有効なアクセス。ターゲットにアクセス許可リストがないため、何も決まりません。</translation>
    </message>
    <message>
        <source>%1, this folder: %2</source>
        <translation>%1、このフォルダー: %2</translation>
    </message>
    <message>
        <source>%1, subfolders: %2</source>
        <translation>%1、サブフォルダー: %2</translation>
    </message>
    <message>
        <source>%1, files: %2</source>
        <translation>%1、ファイル: %2</translation>
    </message>
</context>
<context>
    <name>EntryEditorPage</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>アカウント名が無効です</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
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
        <translation>アクセス</translation>
    </message>
    <message>
        <source>Auditing Entry for </source>
        <translation>監査エントリ: </translation>
    </message>
    <message>
        <source>Cannot find the corresponding ace in SaclList.</source>
        <translation>SACL に対応するエントリが見つかりません。</translation>
    </message>
    <message>
        <source>List Folder Contents  </source>
        <translation>フォルダーの内容の一覧表示  </translation>
    </message>
    <message>
        <source>This folder, subfolders and files  </source>
        <translation>このフォルダー、サブフォルダーおよびファイル  </translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>種類</translation>
    </message>
    <message>
        <source>Apply To</source>
        <translation>適用先</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>Cannot find the ace.</source>
        <translation>エントリが見つかりません。</translation>
    </message>
    <message>
        <source>Ace item does not match.</source>
        <translation>エントリが一致しません。</translation>
    </message>
    <message>
        <source>Allow  </source>
        <translation>許可  </translation>
    </message>
    <message>
        <source>Permission</source>
        <translation>アクセス許可</translation>
    </message>
    <message>
        <source>Permission Entry for </source>
        <translation>アクセス許可エントリ: </translation>
    </message>
    <message>
        <source>Cannot find the corresponding ace in DaclList.</source>
        <translation>DACL に対応するエントリが見つかりません。</translation>
    </message>
</context>
<context>
    <name>FileDialog</name>
    <message>
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>名前を付けて保存</translation>
    </message>
    <message>
        <source>%1 does not exist.
Create it?</source>
        <translation>%1 は存在しません。
作成しますか?</translation>
    </message>
    <message>
        <source>%1
The folder does not exist. Check the path and try again.</source>
        <translation>%1
フォルダーが存在しません。パスを確認してもう一度やり直してください。</translation>
    </message>
    <message>
        <source>%1
File not found. Check the file name and try again.</source>
        <translation>%1
ファイルが見つかりません。ファイル名を確認してもう一度やり直してください。</translation>
    </message>
</context>
<context>
    <name>InputNTAccountDlg</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>アカウント名が無効です</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
</context>
<context>
    <name>Names</name>
    <message>
        <source>??No Permission??</source>
        <translation>??アクセス許可なし??</translation>
    </message>
    <message>
        <source>List folder/Read data</source>
        <translation>フォルダーの一覧/データの読み取り</translation>
    </message>
    <message>
        <source>Create files/Write data</source>
        <translation>ファイルの作成/データの書き込み</translation>
    </message>
    <message>
        <source>Create folders/Append data</source>
        <translation>フォルダーの作成/データの追加</translation>
    </message>
    <message>
        <source>Read extended attributes</source>
        <translation>拡張属性の読み取り</translation>
    </message>
    <message>
        <source>Write extended attributes</source>
        <translation>拡張属性の書き込み</translation>
    </message>
    <message>
        <source>Traverse Folder/Execute File</source>
        <translation>フォルダーのスキャン/ファイルの実行</translation>
    </message>
    <message>
        <source>Delete subfolders and files</source>
        <translation>サブフォルダーとファイルの削除</translation>
    </message>
    <message>
        <source>Read attributes</source>
        <translation>属性の読み取り</translation>
    </message>
    <message>
        <source>Write attributes</source>
        <translation>属性の書き込み</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Read permissions</source>
        <translation>アクセス許可の読み取り</translation>
    </message>
    <message>
        <source>Change permissions</source>
        <translation>アクセス許可の変更</translation>
    </message>
    <message>
        <source>Take Ownership</source>
        <translation>所有権の取得</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>書き込み</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>読み取り</translation>
    </message>
    <message>
        <source>Read and Execute</source>
        <translation>読み取りと実行</translation>
    </message>
    <message>
        <source>Read, Write &amp; Execute</source>
        <translation>読み取り、書き込みと実行</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>変更</translation>
    </message>
    <message>
        <source>Full Control</source>
        <translation>フル コントロール</translation>
    </message>
    <message>
        <source>Special</source>
        <translation>特殊</translation>
    </message>
    <message>
        <source>This folder and files</source>
        <translation>このフォルダーとファイル</translation>
    </message>
    <message>
        <source>This folder and subfolders</source>
        <translation>このフォルダーとサブフォルダー</translation>
    </message>
    <message>
        <source>This folder, subfolders and files</source>
        <translation>このフォルダー、サブフォルダーおよびファイル</translation>
    </message>
    <message>
        <source>This folder only</source>
        <translation>このフォルダーのみ</translation>
    </message>
    <message>
        <source>Files only</source>
        <translation>ファイルのみ</translation>
    </message>
    <message>
        <source>Subfolders only</source>
        <translation>サブフォルダーのみ</translation>
    </message>
    <message>
        <source>Subfolders and files only</source>
        <translation>サブフォルダーとファイルのみ</translation>
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
        <translation>ファイル/フォルダー</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>ストレージ</translation>
    </message>
    <message>
        <source>Allow</source>
        <translation>許可</translation>
    </message>
    <message>
        <source>Deny</source>
        <translation>拒否</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>Fail</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>All</source>
        <translation>すべて</translation>
    </message>
    <message>
        <source>None</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>This folder</source>
        <translation>このフォルダー</translation>
    </message>
    <message>
        <source>Subfolders</source>
        <translation>サブフォルダー</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>ファイル</translation>
    </message>
</context>
<context>
    <name>PermoraDlg</name>
    <message>
        <source>Conf files (*.conf)|*.conf|All files (*.*)|*.*||</source>
        <translation>構成ファイル (*.conf)|*.conf|すべてのファイル (*.*)|*.*||</translation>
    </message>
    <message>
        <source>There is problem in opening this file.</source>
        <translation>このファイルを開くときに問題が発生しました。</translation>
    </message>
    <message>
        <source>There is problem in creating this file.</source>
        <translation>このファイルを作成するときに問題が発生しました。</translation>
    </message>
    <message>
        <source>The file is being written by another program.</source>
        <translation>このファイルは別のプログラムが書き込み中です。</translation>
    </message>
    <message>
        <source>The file was replaced while it was being edited; nothing was written.</source>
        <translation>編集中にファイルが置き換えられました。何も書き込まれていません。</translation>
    </message>
    <message>
        <source>The file cannot be locked; nothing was written.</source>
        <translation>ファイルをロックできません。何も書き込まれていません。</translation>
    </message>
    <message>
        <source>Targets</source>
        <translation>ターゲット</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>上へ移動</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>下へ移動</translation>
    </message>
    <message>
        <source>Security Style</source>
        <translation>セキュリティ スタイル</translation>
    </message>
    <message>
        <source>Security Level</source>
        <translation>セキュリティ レベル</translation>
    </message>
    <message>
        <source>Target Object</source>
        <translation>ターゲット オブジェクト</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>元に戻す(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>やり直し(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Copy Security</source>
        <translation>セキュリティのコピー(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Paste Security</source>
        <translation>セキュリティの貼り付け(&amp;P)</translation>
    </message>
    <message>
        <source>Copy &amp;Line</source>
        <translation>行のコピー(&amp;L)</translation>
    </message>
    <message>
        <source>Add Pa&amp;ths...</source>
        <translation>パスの追加(&amp;T)...</translation>
    </message>
    <message>
        <source>Replace Acc&amp;ount...</source>
        <translation>アカウントの置換(&amp;O)...</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>元に戻す: %1(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>やり直し: %1(&amp;R)</translation>
    </message>
    <message>
        <source>Paste Security onto 1 Target</source>
        <translation>1 個のターゲットにセキュリティを貼り付け</translation>
    </message>
    <message numerus="yes">
        <source>Paste Security onto %n Targets</source>
        <translation>
            <numerusform>%n 個のターゲットにセキュリティを貼り付け</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target is not NTFS and kept its security.</source>
        <translation>1 個のターゲットは NTFS ではないため、セキュリティを変更しませんでした。</translation>
    </message>
    <message numerus="yes">
        <source>%n targets are not NTFS and kept their security.</source>
        <translation>
            <numerusform>%n 個のターゲットは NTFS ではないため、セキュリティを変更しませんでした。</numerusform>
        </translation>
    </message>
    <message>
        <source>Paste Security</source>
        <translation>セキュリティの貼り付け</translation>
    </message>
    <message>
        <source>Add 1 Path</source>
        <translation>1 個のパスを追加</translation>
    </message>
    <message numerus="yes">
        <source>Add %n Paths</source>
        <translation>
            <numerusform>%n 個のパスを追加</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target was added</source>
        <translation>1 個のターゲットを追加しました</translation>
    </message>
    <message numerus="yes">
        <source>%n targets were added</source>
        <translation>
            <numerusform>%n 個のターゲットを追加しました</numerusform>
        </translation>
    </message>
    <message>
        <source>1 path was already in the template and skipped.</source>
        <translation>1 個のパスは既にテンプレートにあるため、スキップしました。</translation>
    </message>
    <message numerus="yes">
        <source>%n paths were already in the template and skipped.</source>
        <translation>
            <numerusform>%n 個のパスは既にテンプレートにあるため、スキップしました。</numerusform>
        </translation>
    </message>
    <message>
        <source>%1; %2</source>
        <translation>%1。%2</translation>
    </message>
    <message>
        <source>Add Paths</source>
        <translation>パスの追加</translation>
    </message>
    <message>
        <source>Replace Account</source>
        <translation>アカウントの置換</translation>
    </message>
    <message>
        <source>1 entry</source>
        <translation>1 個のエントリ</translation>
    </message>
    <message numerus="yes">
        <source>%n entries</source>
        <translation>
            <numerusform>%n 個のエントリ</numerusform>
        </translation>
    </message>
    <message>
        <source>1 target</source>
        <comment>in 1 target</comment>
        <translation>1 個のターゲット</translation>
    </message>
    <message numerus="yes">
        <source>%n targets</source>
        <comment>in %n targets</comment>
        <translation>
            <numerusform>%n 個のターゲット</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 in %2 changed.</source>
        <translation>%2 の %1 を変更しました。</translation>
    </message>
    <message>
        <source>New</source>
        <translation>新規</translation>
    </message>
    <message>
        <source>Add Target</source>
        <translation>ターゲットの追加</translation>
    </message>
    <message>
        <source>NTFS Security for %1</source>
        <translation>%1 の NTFS セキュリティ</translation>
    </message>
    <message>
        <source>Edit Target</source>
        <translation>ターゲットの編集</translation>
    </message>
    <message>
        <source>Remove 1 Target</source>
        <translation>1 個のターゲットを削除</translation>
    </message>
    <message numerus="yes">
        <source>Remove %n Targets</source>
        <translation>
            <numerusform>%n 個のターゲットを削除</numerusform>
        </translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>Do you want to overwrite  %1?</source>
        <translation>%1 を上書きしますか?</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Do you want to overwrite %1?</source>
        <translation>%1 を上書きしますか?</translation>
    </message>
    <message>
        <source>Import %1</source>
        <translation>%1 のインポート</translation>
    </message>
    <message>
        <source>&amp;About permora...</source>
        <translation>permora のバージョン情報(&amp;A)...</translation>
    </message>
    <message>
        <source>Reco&amp;ver...</source>
        <translation>回復(&amp;V)...</translation>
    </message>
    <message>
        <source>%1 has changed on disk since it was last read or saved. Overwrite it?</source>
        <translation>%1 は最後に読み込みまたは保存した後にディスク上で変更されています。上書きしますか?</translation>
    </message>
    <message>
        <source>New Template</source>
        <translation>新しいテンプレート</translation>
    </message>
    <message>
        <source>%1, line %2</source>
        <translation>%1、%2 行目</translation>
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
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>Reader</name>
    <message>
        <source>   Invalid File</source>
        <translation>   無効なファイルです</translation>
    </message>
    <message>
        <source>Invalid File Path</source>
        <translation>ファイル パスが無効です</translation>
    </message>
    <message>
        <source>Wrong ace type.</source>
        <translation>エントリの種類が正しくありません。</translation>
    </message>
    <message>
        <source>Cannot parse this Mask.</source>
        <translation>このマスクを解析できません。</translation>
    </message>
    <message>
        <source>Invalid Account Name</source>
        <translation>アカウント名が無効です</translation>
    </message>
    <message>
        <source>Too many entries.</source>
        <translation>エントリが多すぎます。</translation>
    </message>
    <message>
        <source>Cannot parse the flags of this list.</source>
        <translation>このリストのフラグを解析できません。</translation>
    </message>
    <message>
        <source>This descriptor holds neither S: nor D:.</source>
        <translation>この記述子には S: も D: も含まれていません。</translation>
    </message>
</context>
<context>
    <name>RecoverDlg</name>
    <message>
        <source>Kept at</source>
        <translation>保存日時</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Targets</source>
        <translation>ターゲット</translation>
    </message>
    <message>
        <source>Original File</source>
        <translation>元のファイル</translation>
    </message>
</context>
<context>
    <name>RecoveryOffer</name>
    <message>
        <source>Recovered: 1 template, %1</source>
        <translation>回復: 1 個のテンプレート、%1</translation>
    </message>
    <message>
        <source>Import ne&amp;west</source>
        <translation>最新をインポート(&amp;W)</translation>
    </message>
    <message>
        <source>C&amp;hoose...</source>
        <translation>選択(&amp;H)...</translation>
    </message>
    <message>
        <source>Dis&amp;miss</source>
        <translation>無視(&amp;M)</translation>
    </message>
</context>
<context>
    <name>ReplaceAccountDlg</name>
    <message>
        <source>Invalid Account Name</source>
        <translation>アカウント名が無効です</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
</context>
<context>
    <name>SecurityPropPage</name>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>Advanced Security Settings for %1</source>
        <translation>%1 のセキュリティの詳細設定</translation>
    </message>
    <message>
        <source>Current ace does not have any Masks. It should be deleted.</source>
        <translation>現在のエントリにはマスクがありません。削除してください。</translation>
    </message>
    <message>
        <source>Current aceflags is NOT CIOI. You must miss some flag combination.</source>
        <translation>現在のエントリのフラグが CIOI ではありません。フラグの組み合わせが不足しています。</translation>
    </message>
    <message>
        <source>There are more other aces other than FullControl?</source>
        <translation>フル コントロール以外のエントリがありますか?</translation>
    </message>
    <message>
        <source>Cannot find the ACE to be modified.</source>
        <translation>変更するエントリが見つかりません。</translation>
    </message>
    <message>
        <source>Cannot find the ACE to be modified</source>
        <translation>変更するエントリが見つかりません</translation>
    </message>
</context>
</TS>
