#include "app/CommandTable.h"

#include "app/AppIcons.h"
#include "app/CommandIds.h"

namespace {

using Enabled = CommandRow::Enabled;

MenuEntry item(int id) {
    return {MenuEntry::Kind::Item, id, "", {}};
}
MenuEntry separator() {
    return {MenuEntry::Kind::Separator, 0, "", {}};
}
MenuEntry submenu(const char* title, std::vector<MenuEntry> children) {
    return {MenuEntry::Kind::Submenu, 0, title, std::move(children)};
}

}  // namespace

const std::vector<CommandRow>& commandTable() {
    // Only the framework's standard commands have status-bar prompts. Ctrl+N, Ctrl+O and
    // Ctrl+S reach the project commands that menu 129 shows beside them: the empty document
    // behind the standard commands has nothing of the project to store.
    static const std::vector<CommandRow> rows{
        {ID_CREATE_PROJECT, "创建工程(&N)\tCtrl+N", nullptr, "Ctrl+N", inMenu129,
         &AppIcons::newPage, "创建工程"},
        {ID_OPEN_PROJECT, "打开工程(&O)...\tCtrl+O", nullptr, "Ctrl+O", inMenu129,
         &AppIcons::openFolder, "打开工程"},
        {ID_SAVE_PROJECT, "保存工程(&S)\tCtrl+S", nullptr, "Ctrl+S", inMenu129, &AppIcons::diskette,
         "保存工程"},
        {ID_SAVE_PROJECT_AS, "另存为(&A)..."},
        {ID_PRINT_THICKNESS, "钢筋混凝土保护层厚度检测记录表"},
        {ID_PRINT_DIAMETER, "钢筋公称直径检测记录表"},
        {ID_PRINT_SPACING, "钢筋间距检测记录表"},
        {ID_PREVIEW_THICKNESS, "钢筋混凝土保护层厚度检测记录表"},
        {ID_PREVIEW_DIAMETER, "钢筋公称直径检测记录表"},
        {ID_PREVIEW_SPACING, "钢筋间距检测记录表"},
        {ID_PRINT_ACCEPTANCE, "钢筋保护层厚度验收判定表"},
        {ID_PREVIEW_ACCEPTANCE, "钢筋保护层厚度验收判定表"},
        {ID_PRINT_AGAIN},
        {ID_PREVIEW_AGAIN},
        {ID_EXIT, "退出(&X)"},
        {ID_DATA_TRANSFER, "数据传输"},
        {ID_SET_PROJECT, "设置工程"},
        {ID_ACCEPTANCE, "验收判定"},
        {ID_ADD_COMPONENT, "增加构件"},
        {ID_DELETE_COMPONENT, "删除构件"},
        {ID_ADD_POINT, "增加测点"},
        {ID_DELETE_POINT, "删除测点"},
        {ID_VIEW_THICKNESS, "厚度"},
        {ID_VIEW_DIAMETER, "直径"},
        {ID_VIEW_GRID, "网格"},
        {ID_VIEW_PROFILE, "剖面"},

        {ID_FILE_NEW, "新建(&N)\tCtrl+N", nullptr, "Ctrl+N", inMenu128, nullptr, "", "创建新文档"},
        {ID_FILE_OPEN, "打开(&O)...\tCtrl+O", nullptr, "Ctrl+O", inMenu128, nullptr, "",
         "打开现有文档"},
        {ID_FILE_SAVE, "", nullptr, "Ctrl+S", inMenu128},
        {ID_FILE_CLOSE, "关闭(&C)", nullptr, "", 0, nullptr, "", "关闭活动文档", false,
         Enabled::WithDocument},
        {ID_FILE_PRINT_SETUP, "打印设置(&R)...", nullptr, "", 0, nullptr, "",
         "更改打印机选项和打印选项"},
        {ID_FILE_PRINT, "", nullptr, "Ctrl+P", inBothMenus},
        {ID_FILE_MRU_FILE1, "最近的文件", nullptr, "", 0, nullptr, "", "打开此文档", false,
         Enabled::WithRecentFiles},
        {ID_APP_EXIT, "退出(&X)", nullptr, "", 0, nullptr, "", "退出应用程序；提示保存文档"},
        {ID_APP_ABOUT, "关于 (&A)...", "关于 Corvane(&A)...", "", 0, &AppIcons::helpBubble, "关于",
         "显示程序信息、版本号和版权"},
        {ID_VIEW_TOOLBAR, "工具栏(&T)", nullptr, "", 0, nullptr, "", "显示或隐藏工具栏", true},
        {ID_VIEW_STATUS_BAR, "状态栏(&S)", nullptr, "", 0, nullptr, "", "显示或隐藏状态栏", true},

        // The texts name the step; the frame keeps them up to date.
        {ID_EDIT_UNDO, "撤销(&U)\tCtrl+Z", nullptr, "Ctrl+Z; Alt+Backspace", inBothMenus},
        {ID_EDIT_REDO, "重做(&R)\tCtrl+Y", nullptr, "Ctrl+Y; Ctrl+Shift+Z", inBothMenus},

        // Keys of the keyboard table that reach nothing of the program's own.
        {ID_EDIT_CUT, "", nullptr, "Ctrl+X; Shift+Del", inBothMenus},
        {ID_EDIT_COPY, "", nullptr, "Ctrl+C; Ctrl+Ins", inBothMenus},
        {ID_EDIT_PASTE, "", nullptr, "Ctrl+V; Shift+Ins", inBothMenus},
        {ID_NEXT_PANE, "", nullptr, "F6", inBothMenus},
        {ID_PREV_PANE, "", nullptr, "Shift+F6", inBothMenus},
    };
    return rows;
}

const std::vector<MenuPopup>& menuLayout(MenuBar bar) {
    static const std::vector<MenuPopup> menu128{
        {"文件(&F)",
         {item(ID_FILE_NEW), item(ID_FILE_OPEN), separator(), item(ID_FILE_PRINT_SETUP),
          separator(), item(ID_FILE_MRU_FILE1), separator(), item(ID_FILE_CLOSE),
          item(ID_APP_EXIT)}},
        {"视图(&V)", {item(ID_VIEW_TOOLBAR), item(ID_VIEW_STATUS_BAR)}},
        {"帮助(&H)", {item(ID_APP_ABOUT)}},
    };
    static const std::vector<MenuPopup> menu129{
        {"文件(&F)",
         {item(ID_CREATE_PROJECT), item(ID_OPEN_PROJECT), item(ID_SAVE_PROJECT),
          item(ID_SAVE_PROJECT_AS), separator(),
          submenu("打印(&P)...\tCtrl+P", {item(ID_PRINT_THICKNESS), item(ID_PRINT_DIAMETER),
                                          item(ID_PRINT_SPACING), item(ID_PRINT_ACCEPTANCE)}),
          submenu("打印预览(&V)", {item(ID_PREVIEW_THICKNESS), item(ID_PREVIEW_DIAMETER),
                                   item(ID_PREVIEW_SPACING), item(ID_PREVIEW_ACCEPTANCE)}),
          item(ID_FILE_PRINT_SETUP), separator(), item(ID_EXIT)}},
        {"编辑(&E)", {item(ID_EDIT_UNDO), item(ID_EDIT_REDO)}},
        {"数据传输", {item(ID_DATA_TRANSFER)}},
        {"工程维护", {item(ID_SET_PROJECT), item(ID_ACCEPTANCE)}},
        {"构件维护", {item(ID_ADD_COMPONENT), item(ID_DELETE_COMPONENT)}},
        {"测点维护", {item(ID_ADD_POINT), item(ID_DELETE_POINT)}},
        {"视图(&V)",
         {item(ID_VIEW_THICKNESS), item(ID_VIEW_DIAMETER), item(ID_VIEW_GRID),
          item(ID_VIEW_PROFILE), item(ID_VIEW_TOOLBAR), item(ID_VIEW_STATUS_BAR)}},
        {"帮助(&H)", {item(ID_APP_ABOUT)}},
    };
    return bar == MenuBar::M128 ? menu128 : menu129;
}

const std::vector<int>& toolbar128() {
    static const std::vector<int> buttons{ID_CREATE_PROJECT, ID_OPEN_PROJECT, ID_SAVE_PROJECT, 0,
                                          ID_APP_ABOUT};
    return buttons;
}
