#include "language_keys.h"

namespace {

constexpr LanguageKey kKeys[] = {
    // Shared texts: message-box captions, dialog errors, browser entries.
    {"common", "warning", "警告"},
    {"common", "hint", "提示"},
    {"common", "error", "错误"},
    {"common", "update", "修改"},
    {"common", "ddxerror", "DDX error during exchange with control: %u"},
    {"common", "invalidchar", "标题不能包含下列非法字符:\n\\/:*?\"<>|"},
    {"common", "10000", "添加到岚舟链匣中"},
    {"common", "10001", "岚舟链匣"},

    // Main window: browser hint, pane titles, title, settings pages, backup.
    {"mainframe", "10000", "请您先关闭然后再打开您的浏览器,这样您的浏览器才能支持IE右键菜单."},
    {"mainframe", "10001", "书签目录"},
    {"mainframe", "10002", "备注"},
    {"mainframe", "10003", "岚舟链匣"},
    {"mainframe", "10004", "常规设置"},
    {"mainframe", "10005", "用户界面"},
    {"mainframe", "10006", "主页组"},
    {"mainframe", "10007", "杂项"},
    {"mainframe", "10009", "书签文件不存在!"},
    {"mainframe", "10010", "请选择您要备份的书签文件的存储路径!"},
    {"mainframe", "10011", "书签文件已存在,是否要用新的书签文件覆盖?"},
    // Status bar: the bookmark file could not be saved, or not backed up.
    {"mainframe", "10012", "书签文件无法保存(%s),程序会自动重试。"},
    {"mainframe", "10013", "无法备份书签文件(%s)。"},

    // Class tree: first-run questions and category messages.
    {"mainview", "10000", "您是否希望运行导入向导导入默认分类和书签?"},
    {"mainview", "10001", "您是否希望运行导入向导导入您的IE书签?"},
    {"mainview", "10002", "书签分类已存在"},
    {"mainview", "10003", "您真的要删除该分类吗?"},
    {"mainview", "10004", "无法读取书签文件:\n%s\n\n原因:%s\n\n原文件已另存为:\n%s\n\n程序以空的书签集合启动,原有的书签都保存在这个副本中。"},
    {"mainview", "10005", "无法读取书签文件:\n%s\n\n原因:%s\n\n它可能正被其他程序占用。程序以空的书签集合启动;第一次保存之前会先把原文件另存为副本,原文件不会被覆盖。"},

    // Bookmark list: columns and messages.
    {"bookmarkview", "10000", "标题"},
    {"bookmarkview", "10001", "网址"},
    {"bookmarkview", "10002", "书签类别\"%s\"中已包含一个名为:\n\"%s\"\n的书签!\n其网址为:\n\"%s\"\n是否执行替换操作!"},
    {"bookmarkview", "10003", "请先建立分类目录!"},
    {"bookmarkview", "10004", "您确实想删除选中的书签吗?"},
    {"bookmarkview", "10005", "收到的链接"},

    // Toolbar context menu and the controls added to Customize Toolbar.
    {"toolbar", "10000", "定制工具栏"},
    {"toolbar", "10001", "标签选项:"},
    {"toolbar", "10002", "显示文字标签"},
    {"toolbar", "10003", "选择性的将文字置于右侧"},
    {"toolbar", "10004", "不显示文字标签"},
    {"toolbar", "10005", "图标选项:"},
    {"toolbar", "10006", "小图标"},
    {"toolbar", "10007", "大图标"},

    // Menu captions by command id; popups by the first command inside them.
    {"menu", "32910P", "文件(&F)"},
    {"menu", "32910", "导入"},
    {"menu", "32915", "导出..."},
    {"menu", "57665", "退出(&X)"},
    {"menu", "32770P", "编辑(&E)"},
    {"menu", "32770", "增加分类"},
    {"menu", "32775", "增加子类"},
    {"menu", "32820", "编辑分类"},
    {"menu", "32795", "删除分类"},
    {"menu", "32965", "移动分类到..."},
    {"menu", "32995", "打开"},
    {"menu", "32805", "增加书签"},
    {"menu", "32825", "编辑书签"},
    {"menu", "32815", "删除书签"},
    {"menu", "32855", "上移"},
    {"menu", "32870", "下移"},
    {"menu", "32985", "查找...\tCtrl+F"},
    {"menu", "59392P", "查看(&V)"},
    {"menu", "59392", "工具栏(&T)"},
    {"menu", "59393", "状态栏(&S)"},
    {"menu", "32890", "类别栏(&C)"},
    {"menu", "32935", "备注栏(&R)"},
    {"menu", "32960", "悬浮窗(&Z)"},
    {"menu", "32785", "自定义工具栏..."},
    // The language submenu; its own caption is "language".
    {"menu", "8888P", nullptr},
    // Tools and Help.
    {"menu", "32790P", "工具(&T)"},
    {"menu", "32790", "选项"},
    {"menu", "32800", "打开主页组"},
    {"menu", "32940", "随机打开多个书签"},
    {"menu", "32990", "查找重复的书签"},
    {"menu", "32880", "备份书签文件"},
    {"menu", "32955P", "帮助(&H)"},
    {"menu", "32955", "访问作者的博客"},
    {"menu", "57664", "关于链匣(&A)..."},
    // Context menus of the tree, the list, the list header, the drop window
    // and the tray.
    {"menu", "32845", "上移分类"},
    {"menu", "32850", "下移分类"},
    {"menu", "32885", "上移书签"},
    {"menu", "32860", "下移书签"},
    {"menu", "32980", "添加选中的书签到主页组中"},
    {"menu", "32905", "选择所有(&A)\tCtrl+A"},
    {"menu", "32865", "标题"},
    {"menu", "32875", "网址"},
    {"menu", "32975", "隐藏"},
    {"menu", "32780", "显示/隐藏界面"},

    // Status-bar prompt, line break, button label; 57345 is the idle text.
    {"message", "32910", "导入书签\n导入书签"},
    {"message", "32915", "导出书签\n导出书签"},
    {"message", "57665", "退出本软件\n退出"},
    {"message", "32770", "增加书签分类\n增加分类"},
    {"message", "32775", "增加书签子类别\n增加子类"},
    {"message", "32820", "编辑分类\n编辑分类"},
    {"message", "32795", "删除分类\n删除分类"},
    {"message", "32965", "把选中的分类移动到别的位置\n移动分类"},
    {"message", "32805", "增加书签\n增加书签"},
    {"message", "32825", "编辑书签\n编辑书签"},
    {"message", "32815", "删除书签\n删除书签"},
    {"message", "32855", "上移分类或书签\n上移"},
    {"message", "32870", "下移分类或书签\n下移"},
    {"message", "59392", "显示或隐藏工具栏\n工具栏"},
    {"message", "59393", "显示或隐藏状态栏\n状态栏"},
    {"message", "32890", "显示或隐藏类别栏\n类别栏"},
    {"message", "32935", "显示或隐藏备注栏\n备注栏"},
    {"message", "32960", "显示或隐藏悬浮窗\n悬浮窗"},
    {"message", "32785", "选择工具栏上的按钮\n自定义工具栏"},
    {"message", "32790", "选项设置\n选项"},
    {"message", "32800", "打开主页组中的书签\n主页组"},
    {"message", "32940", "随机打开多个书签\n随机打开"},
    {"message", "32985", "在所有分类中查找书签\n查找"},
    {"message", "32990", "找出网址相同的书签\n重复书签"},
    {"message", "32880", "备份书签文件\n备份"},
    {"message", "32955", "访问作者的博客\n博客"},
    {"message", "57664", "显示本软件的信息，版本号和版权\n关于"},
    {"message", "32845", "上移选中的分类\n上移分类"},
    {"message", "32850", "下移选中的分类\n下移分类"},
    {"message", "32885", "上移选中的书签\n上移书签"},
    {"message", "32860", "下移选中的书签\n下移书签"},
    {"message", "32980", "添加选中的书签到主页组中\n添加到主页组"},
    {"message", "32905", "选择列表中的所有书签\n全选"},
    {"message", "32865", "标题列总是显示\n标题"},
    {"message", "32875", "显示或隐藏网址列\n网址"},
    {"message", "32975", "隐藏悬浮窗\n隐藏"},
    {"message", "32780", "显示或隐藏主窗口\n显示/隐藏"},
    // System menu commands (the main window maps their ids to these).
    {"message", "61184", "改变窗口的大小\n大小"},
    {"message", "61185", "改变窗口的位置\n移动"},
    {"message", "61186", "把窗口缩小为图标\n最小化"},
    {"message", "61187", "把窗口放大到最大\n最大化"},
    {"message", "61190", "关闭窗口\n关闭"},
    {"message", "61202", "把窗口恢复到正常大小\n还原"},
    {"message", "57345", "就绪"},

    // Dialogs: "title" and control ids for TranslateWindow, the rest looked
    // up by their code.
    {"dlg_about", "title", "关于链匣"},
    // Dialogs: "title" and control ids for TranslateWindow, the rest looked
    // up by their code.
    {"dlg_about", "1005", "请您访问软件主页"},
    // Dialogs: "title" and control ids for TranslateWindow, the rest looked
    // up by their code.
    {"dlg_about", "1", "确定"},

    {"dlg_addbookmark", "title", "增加书签"},
    {"dlg_addbookmark", "title0", "增加书签"},
    {"dlg_addbookmark", "title1", "编辑书签"},
    {"dlg_addbookmark", "10000", "标题不能为空!"},
    {"dlg_addbookmark", "10001", "网址不能为空!"},
    {"dlg_addbookmark", "1028", "标题:"},
    {"dlg_addbookmark", "1029", "网址:"},
    {"dlg_addbookmark", "1031", "所属分类:"},
    {"dlg_addbookmark", "1010", "浏览分类"},
    {"dlg_addbookmark", "1030", "备注:"},
    {"dlg_addbookmark", "1", "增加"},
    {"dlg_addbookmark", "2", "取消"},

    // The question when the bookmark file cannot be saved at closing time.
    {"dlg_savefailed", "title", "保存书签文件"},
    {"dlg_savefailed", "10000", "无法保存书签文件:\n%s\n\n原因:%s\n\n关闭程序会丢失尚未保存的更改。您可以重试,或者把书签保存到另一个文件。"},
    {"dlg_savefailed", "10001", "把书签保存到另一个文件"},
    {"dlg_savefailed", "4", "重试"},
    {"dlg_savefailed", "1101", "保存到其他文件..."},
    {"dlg_savefailed", "1102", "关闭并丢失更改"},

    {"dlg_addclass", "title", "增加书签类别"},
    {"dlg_addclass", "title0", "增加类别"},
    {"dlg_addclass", "title1", "增加子类别"},
    {"dlg_addclass", "title2", "编辑类别"},
    {"dlg_addclass", "title3", "编辑子类别"},
    {"dlg_addclass", "10000", "书签类别:"},
    {"dlg_addclass", "10001", "书签子类别:"},
    {"dlg_addclass", "1", "增加"},
    {"dlg_addclass", "2", "取消"},

    {"dlg_addhomepage", "title", "增加主页项"},
    {"dlg_addhomepage", "title0", "增加主页组项"},
    {"dlg_addhomepage", "title1", "编辑主页组项"},
    {"dlg_addhomepage", "10000", "标题不能为空!"},
    {"dlg_addhomepage", "10001", "网址不能为空!"},
    {"dlg_addhomepage", "1028", "标题:"},
    {"dlg_addhomepage", "1029", "网址:"},
    {"dlg_addhomepage", "1", "增加"},
    {"dlg_addhomepage", "2", "取消"},

    {"dlg_selectclass", "title", "选择书签类别"},
    {"dlg_selectclass", "1024", "选择最顶层分类"},
    {"dlg_selectclass", "1", "确定"},
    {"dlg_selectclass", "2", "取消"},

    {"dlg_moveclassto", "title", "移动到..."},
    {"dlg_moveclassto", "1012", "移动到选中类别的子类别中"},
    {"dlg_moveclassto", "1011", "移动到选中类别的同级类别中"},
    {"dlg_moveclassto", "1", "确定"},
    {"dlg_moveclassto", "2", "取消"},

    {"dlg_replace", "title", "确认书签替换"},
    {"dlg_replace", "1032", "书签已存在!名称为:"},
    {"dlg_replace", "1033", "是否将现有书签"},
    {"dlg_replace", "1034", "替换为"},
    {"dlg_replace", "1006", "是(&Y)"},
    {"dlg_replace", "1001", "全部(&A)"},
    {"dlg_replace", "1007", "否(&N)"},
    {"dlg_replace", "1004", "全否"},
    {"dlg_replace", "2", "取消"},
    {"dlg_replace", "1", "确定"},

    {"dlg_setting", "title", "设置中心"},
    {"dlg_setting", "1", "确定"},
    {"dlg_setting", "1004", "缺省设置"},
    {"dlg_setting", "2", "取消"},

    // Settings pages: option trees, the homepage-group list.
    {"dlg_settingpage0", "10000", "自动运行"},
    // Settings pages: option trees, the homepage-group list.
    {"dlg_settingpage0", "10001", "系统启动后自动运行"},
    // Settings pages: option trees, the homepage-group list.
    {"dlg_settingpage0", "10002", "系统启动后自动运行时最小化到系统托盘中"},
    // Settings pages: option trees, the homepage-group list.
    {"dlg_settingpage0", "10003", "在线升级"},
    // Settings pages: option trees, the homepage-group list.
    {"dlg_settingpage0", "10004", "检查新版本的频率"},
    // Settings pages: option trees, the homepage-group list.
    {"dlg_settingpage0", "10005", "不检查"},
    // Settings pages: option trees, the homepage-group list.
    {"dlg_settingpage0", "10006", "每次启动检查"},
    // Settings pages: option trees, the homepage-group list.
    {"dlg_settingpage0", "10007", "每天检查一次"},

    {"dlg_settingpage1", "10000", "窗口"},
    {"dlg_settingpage1", "10001", "主窗口关闭时缩小到系统托盘中"},
    {"dlg_settingpage1", "10002", "书签列表"},
    {"dlg_settingpage1", "10003", "列表栏显示"},
    {"dlg_settingpage1", "10004", "标题"},
    {"dlg_settingpage1", "10005", "网址"},
    {"dlg_settingpage1", "10006", "常规"},
    {"dlg_settingpage1", "10007", "整行选择"},
    {"dlg_settingpage1", "10008", "显示网格"},

    {"dlg_settingpage2", "10000", "标题"},
    {"dlg_settingpage2", "1001", "增加"},
    {"dlg_settingpage2", "1002", "编辑"},
    {"dlg_settingpage2", "1000", "删除"},
    {"dlg_settingpage2", "1035", "您可以用书签列表中的右键菜单来添加主页组项!"},

    {"dlg_settingpage5", "10000", "确认"},
    {"dlg_settingpage5", "10001", "在删除书签类别前提示我"},
    {"dlg_settingpage5", "10002", "在删除书签前提示我"},
    {"dlg_settingpage5", "10003", "高级"},
    {"dlg_settingpage5", "10004", "加入书签选项"},
    {"dlg_settingpage5", "10005", "直接加入当前分类"},
    {"dlg_settingpage5", "10006", "显示加入对话框"},
    {"dlg_settingpage5", "10007", "随机打开网页个数"},
    {"dlg_settingpage5", "10008", "在IE工具栏上增加书签按钮"},

    // Import/export wizard pages.
    {"dlg_wizardpage0", "title0", "请选择导入书签类型"},
    // Import/export wizard pages.
    {"dlg_wizardpage0", "title1", "请选择导出书签类型"},
    // Import/export wizard pages.
    {"dlg_wizardpage0", "type0", "IE收藏夹"},
    // Import/export wizard pages.
    {"dlg_wizardpage0", "type1", "软件自带书签"},
    // A browser's bookmark file (HTML): the kind, the path's label, the file dialog's filter.
    {"dlg_wizardpage0", "type2", "浏览器书签文件 (HTML)"},
    {"dlg_wizardpage0", "10006", "浏览器书签文件:"},
    {"dlg_wizardpage0", "10007", "HTML 文件"},
    // Import/export wizard pages.
    {"dlg_wizardpage0", "10000", "IE收藏夹目录:"},
    // Import/export wizard pages.
    {"dlg_wizardpage0", "10001", "软件自带书签文件路径:"},
    // Import/export wizard pages.
    {"dlg_wizardpage0", "10003", "请您选择要导入书签的目录"},
    // Import/export wizard pages.
    {"dlg_wizardpage0", "10004", "请您选择要导出书签的目录"},
    // Import/export wizard pages.
    {"dlg_wizardpage0", "1008", "浏览"},
    // A folder or file whose name the code page cannot hold.
    {"dlg_wizardpage0", "10005", "这个位置的名称含有当前语言无法表示的字符, 书签无法从这里导入或导出到这里。请选择其他位置。"},

    {"dlg_wizardpage1", "title0", "请选择要导入的书签的类别"},
    {"dlg_wizardpage1", "title1", "请选择要导出的书签的类别"},
    {"dlg_wizardpage1", "10000", "请选择要导入书签的类别:(软件会把书签导入到您指定的类别中)"},
    {"dlg_wizardpage1", "10001", "请选择要导出书签的类别:(软件会把您指定的分类的所有书签导出到您指定的目录中)"},
    {"dlg_wizardpage1", "10002", "点击\"下一步\"导入书签."},
    {"dlg_wizardpage1", "10003", "点击“下一步”导出书签."},
    {"dlg_wizardpage1", "10004", "IE收藏夹"},
    {"dlg_wizardpage1", "10005", "最顶层分类"},
    {"dlg_wizardpage1", "10006", "所有书签"},
    {"dlg_wizardpage1", "1011", "浏览"},

    {"dlg_wizardpage2", "title0", "正在导入书签..."},
    {"dlg_wizardpage2", "title1", "正在导出书签..."},
    {"dlg_wizardpage2", "title2", "书签导入完毕!"},
    {"dlg_wizardpage2", "title3", "书签导出完毕!"},
    {"dlg_wizardpage2", "title4", "正在取消..."},
    {"dlg_wizardpage2", "title5", "书签导入已取消。"},
    {"dlg_wizardpage2", "title6", "书签导出已取消。"},
    // What the job did, below the completion text.
    {"dlg_wizardpage2", "10000", "新增 %s 个书签, 替换 %s 个, 保留原有 %s 个。"},
    {"dlg_wizardpage2", "10001", "新写入 %s 个书签, 覆盖 %s 个, 未改变 %s 个, 保留原有 %s 个。"},
    {"dlg_wizardpage2", "10002", "%s 个书签未能完成。"},
    {"dlg_wizardpage2", "10003", "无法读取要导入的书签:\n%s"},
    {"dlg_wizardpage2", "10004", "无法创建导出目录:\n%s"},
    {"dlg_wizardpage2", "10005", "无法开始: 另一个导入或导出正在进行。"},
    {"dlg_wizardpage2", "10006", "跳过 %s 项 (不是书签或无法读取)。"},
    // A browser's bookmark file: characters the code page lacks, a file not written.
    {"dlg_wizardpage2", "10007", "%s 处文字含有当前语言无法表示的字符, 这些字符已被替换。"},
    {"dlg_wizardpage2", "10008", "无法写入导出文件:\n%s"},

    // The find window: finding bookmarks as the user types, and duplicates.
    {"dlg_find", "title0", "查找书签"},
    {"dlg_find", "title1", "重复的书签"},
    {"dlg_find", "10000", "查找:"},
    {"dlg_find", "10001", "找到 %s 个书签。"},
    {"dlg_find", "10002", "%s 组重复的书签, 共 %s 个。"},
    {"dlg_find", "10003", "标题"},
    {"dlg_find", "10004", "网址"},
    {"dlg_find", "10005", "分类"},
    {"dlg_find", "10006", "组"},
    {"dlg_find", "10007", "打开"},
    {"dlg_find", "10008", "编辑"},
    {"dlg_find", "10009", "删除"},
    {"dlg_find", "10010", "在分类中显示"},

    // What a script is told when AddURL refuses a link.
    {"automation", "10000", "网址或标题太长(超过 64 KiB),链接没有被收下。"},
    {"automation", "10001", "等待收藏的链接太多(或内存不足),链接没有被收下。"},
    {"automation", "10002", "链接没有被收下。"},
};

}  // namespace

std::span<const LanguageKey> LanguageKeys() { return kKeys; }
