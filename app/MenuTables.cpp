#include "app/MenuTables.h"

#include "app/CommandIds.h"

namespace {

MenuEntry item(int id, const char* text) {
    return {MenuEntry::Kind::Item, id, text, {}};
}
MenuEntry separator() {
    return {MenuEntry::Kind::Separator, 0, "", {}};
}
MenuEntry submenu(const char* text, std::vector<MenuEntry> children) {
    return {MenuEntry::Kind::Submenu, 0, text, std::move(children)};
}

}  // namespace

const std::vector<MenuPopup>& menu128() {
    static const std::vector<MenuPopup> menu{
        {"文件(&F)",
         {item(ID_FILE_NEW, "新建(&N)\tCtrl+N"), item(ID_FILE_OPEN, "打开(&O)...\tCtrl+O"),
          separator(), item(ID_FILE_PRINT_SETUP, "打印设置(&R)..."), separator(),
          item(ID_FILE_MRU_FILE1, "最近的文件"), separator(), item(ID_FILE_CLOSE, "关闭(&C)"),
          item(ID_APP_EXIT, "退出(&X)")}},
        {"视图(&V)", {item(ID_VIEW_TOOLBAR, "工具栏(&T)"), item(ID_VIEW_STATUS_BAR, "状态栏(&S)")}},
        {"帮助(&H)", {item(ID_APP_ABOUT, "关于 Corvane(&A)...")}},
    };
    return menu;
}

const std::vector<MenuPopup>& menu129() {
    static const std::vector<MenuPopup> menu{
        {"文件(&F)",
         {item(ID_CREATE_PROJECT, "创建工程(&N)\tCtrl+N"),
          item(ID_OPEN_PROJECT, "打开工程(&O)...\tCtrl+O"),
          item(ID_SAVE_PROJECT, "保存工程(&S)\tCtrl+S"), item(ID_SAVE_PROJECT_AS, "另存为(&A)..."),
          separator(),
          submenu("打印(&P)...\tCtrl+P",
                  {item(ID_PRINT_THICKNESS, "钢筋混凝土保护层厚度检测记录表"),
                   item(ID_PRINT_DIAMETER, "钢筋公称直径检测记录表"),
                   item(ID_PRINT_SPACING, "钢筋间距检测记录表")}),
          submenu("打印预览(&V)", {item(ID_PREVIEW_THICKNESS, "钢筋混凝土保护层厚度检测记录表"),
                                   item(ID_PREVIEW_DIAMETER, "钢筋公称直径检测记录表"),
                                   item(ID_PREVIEW_SPACING, "钢筋间距检测记录表")}),
          item(ID_FILE_PRINT_SETUP, "打印设置(&R)..."), separator(), item(ID_EXIT, "退出(&X)")}},
        {"数据传输", {item(ID_DATA_TRANSFER, "数据传输")}},
        {"工程维护", {item(ID_SET_PROJECT, "设置工程")}},
        {"构件维护", {item(ID_ADD_COMPONENT, "增加构件"), item(ID_DELETE_COMPONENT, "删除构件")}},
        {"测点维护", {item(ID_ADD_POINT, "增加测点"), item(ID_DELETE_POINT, "删除测点")}},
        {"视图(&V)",
         {item(ID_VIEW_THICKNESS, "厚度"), item(ID_VIEW_DIAMETER, "直径"),
          item(ID_VIEW_GRID, "网格"), item(ID_VIEW_PROFILE, "剖面"),
          item(ID_VIEW_TOOLBAR, "工具栏(&T)"), item(ID_VIEW_STATUS_BAR, "状态栏(&S)")}},
        {"帮助(&H)", {item(ID_APP_ABOUT, "关于 (&A)...")}},
    };
    return menu;
}

const std::vector<KeyBinding>& keyboardTable() {
    // Ctrl+N, Ctrl+O and Ctrl+S reach the project commands their menu items show: the empty
    // document behind the standard commands has nothing of the project to store.
    static const std::vector<KeyBinding> keys{
        {"Ctrl+N", ID_CREATE_PROJECT}, {"Ctrl+O", ID_OPEN_PROJECT}, {"Ctrl+S", ID_SAVE_PROJECT},
        {"Ctrl+P", ID_FILE_PRINT},     {"Ctrl+Z", ID_EDIT_UNDO},    {"Alt+Backspace", ID_EDIT_UNDO},
        {"Ctrl+X", ID_EDIT_CUT},       {"Shift+Del", ID_EDIT_CUT},  {"Ctrl+C", ID_EDIT_COPY},
        {"Ctrl+Ins", ID_EDIT_COPY},    {"Ctrl+V", ID_EDIT_PASTE},   {"Shift+Ins", ID_EDIT_PASTE},
        {"F6", ID_NEXT_PANE},          {"Shift+F6", ID_PREV_PANE},
    };
    return keys;
}

const std::vector<int>& toolbar128() {
    static const std::vector<int> buttons{ID_CREATE_PROJECT, ID_OPEN_PROJECT, ID_SAVE_PROJECT, 0,
                                          ID_APP_ABOUT};
    return buttons;
}
