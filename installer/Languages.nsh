; The setup program's own texts in its two languages (English, Simplified Chinese); the
; system's UI language chooses between them, English otherwise.

LangString NameProgram ${LANG_ENGLISH} "Pinvale (required)"
LangString NameProgram ${LANG_SIMPCHINESE} "Pinvale（必需）"
LangString DescProgram ${LANG_ENGLISH} "The program, its libraries and the default skin."
LangString DescProgram ${LANG_SIMPCHINESE} "程序、它的库文件和默认皮肤。"

LangString NameContextMenu ${LANG_ENGLISH} "Explorer context menu"
LangString NameContextMenu ${LANG_SIMPCHINESE} "资源管理器右键菜单"
LangString DescContextMenu ${LANG_ENGLISH} "Adds $\"Open Pinvale$\" and $\"Add to Pinvale$\" to the right-click menu (64-bit Windows)."
LangString DescContextMenu ${LANG_SIMPCHINESE} "在文件和文件夹的右键菜单中加入“打开 Pinvale”和“添加到 Pinvale”（仅限 64 位 Windows）。"

LangString NameAutostart ${LANG_ENGLISH} "Start with Windows"
LangString NameAutostart ${LANG_SIMPCHINESE} "开机自动启动"
LangString DescAutostart ${LANG_ENGLISH} "Starts Pinvale when you log on (a shortcut in your Startup folder)."
LangString DescAutostart ${LANG_SIMPCHINESE} "登录时启动 Pinvale（在“启动”文件夹中创建快捷方式）。"

LangString NameRun ${LANG_ENGLISH} "Start Pinvale when setup finishes"
LangString NameRun ${LANG_SIMPCHINESE} "安装完成后启动 Pinvale"
LangString DescRun ${LANG_ENGLISH} "Starts Pinvale once setup has finished."
LangString DescRun ${LANG_SIMPCHINESE} "安装结束后立即启动 Pinvale。"

LangString AskOverwrite ${LANG_ENGLISH} "Pinvale $OldVersion is already installed. Install version ${VERSION} over it?"
LangString AskOverwrite ${LANG_SIMPCHINESE} "已安装 Pinvale $OldVersion。要用版本 ${VERSION} 覆盖安装吗？"
LangString ClosingProgram ${LANG_ENGLISH} "Closing Pinvale..."
LangString ClosingProgram ${LANG_SIMPCHINESE} "正在关闭 Pinvale……"
LangString StillRunning ${LANG_ENGLISH} "Pinvale is still running. End it from its tray menu, then choose Retry."
LangString StillRunning ${LANG_SIMPCHINESE} "Pinvale 仍在运行。请从托盘菜单退出 Pinvale，然后点击“重试”。"
LangString RegisterFailed ${LANG_ENGLISH} "The Explorer context menu could not be registered or unregistered"
LangString RegisterFailed ${LANG_SIMPCHINESE} "无法注册或注销资源管理器右键菜单"

LangString UnComponentsTop ${LANG_ENGLISH} "Pinvale will be removed. Your favourites and options stay unless you tick the box below. Click Uninstall to start."
LangString UnComponentsTop ${LANG_SIMPCHINESE} "将删除 Pinvale。除非勾选下面的选项，否则您的收藏和设置会保留。点击“卸载”开始。"
LangString NameRemoveData ${LANG_ENGLISH} "Also remove my favourites and options"
LangString NameRemoveData ${LANG_SIMPCHINESE} "同时删除我的收藏和设置"
LangString DescRemoveData ${LANG_ENGLISH} "Deletes the favourites database and Pinvale's options instead of keeping them."
LangString DescRemoveData ${LANG_SIMPCHINESE} "删除收藏数据库和 Pinvale 的设置。不勾选则保留，供以后重新安装时使用。"
