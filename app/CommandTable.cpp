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

// The print or preview items of every record table.
std::vector<MenuEntry> tableItems(int ReportTableCommand::*id) {
    std::vector<MenuEntry> items;
    for (const ReportTableCommand& c : reportTableCommands) items.push_back(item(c.*id));
    return items;
}

}  // namespace

const std::vector<CommandRow>& commandTable() {
    // Only the framework's standard commands have status-bar prompts. Ctrl+N, Ctrl+O and
    // Ctrl+S reach the project commands that menu 129 shows beside them: the empty document
    // behind the standard commands has nothing of the project to store.
    static const std::vector<CommandRow> rows = [] {
        std::vector<CommandRow> rows{
            {ID_CREATE_PROJECT,
             "创建工程(&N)\tCtrl+N",
             {},
             "Ctrl+N",
             inMenu129,
             &AppIcons::newPage,
             "创建工程"},
            {ID_OPEN_PROJECT,
             "打开工程(&O)...\tCtrl+O",
             {},
             "Ctrl+O",
             inMenu129,
             &AppIcons::openFolder,
             "打开工程"},
            {ID_SAVE_PROJECT,
             "保存工程(&S)\tCtrl+S",
             {},
             "Ctrl+S",
             inMenu129,
             &AppIcons::diskette,
             "保存工程"},
            {ID_SAVE_PROJECT_AS, "另存为(&A)..."},
            {ID_PRINT_AGAIN},
            {ID_PREVIEW_AGAIN},
            {ID_EXPORT_EXCEL, "导出 Excel(&E)..."},
            {ID_EXIT, "退出(&X)"},
            {ID_DATA_TRANSFER, "数据传输"},
            {ID_SET_PROJECT, "设置工程"},
            {ID_ACCEPTANCE, "验收判定"},
            {ID_HISTORY, "修改记录"},
            {ID_ADD_COMPONENT, "增加构件"},
            {ID_DELETE_COMPONENT, "删除构件"},
            {ID_ADD_POINT, "增加测点"},
            {ID_DELETE_POINT, "删除测点"},

            {ID_FILE_NEW, "新建(&N)\tCtrl+N", {}, "Ctrl+N", inMenu128, {}, "", "创建新文档"},
            {ID_FILE_OPEN, "打开(&O)...\tCtrl+O", {}, "Ctrl+O", inMenu128, {}, "", "打开现有文档"},
            {ID_FILE_SAVE, "", {}, "Ctrl+S", inMenu128},
            {ID_FILE_CLOSE,
             "关闭(&C)",
             {},
             "",
             0,
             {},
             "",
             "关闭活动文档",
             false,
             Enabled::WithDocument},
            {ID_FILE_PRINT_SETUP, "打印设置(&R)...", {}, "", 0, {}, "", "更改打印机选项和打印选项"},
            {ID_FILE_PRINT, "", {}, "Ctrl+P", inBothMenus},
            {ID_FILE_MRU_FILE1,
             "最近的文件",
             {},
             "",
             0,
             {},
             "",
             "打开此文档",
             false,
             Enabled::WithRecentFiles},
            {ID_APP_EXIT, "退出(&X)", {}, "", 0, {}, "", "退出应用程序；提示保存文档"},
            {ID_APP_ABOUT, "关于 (&A)...", "关于 Corvane(&A)...", "", 0, &AppIcons::helpBubble,
             "关于", "显示程序信息、版本号和版权"},
            // Also F1 in a dialog: the manual opens at that dialog's section (HelpCommand).
            {ID_HELP, "使用说明(&H)\tF1", {}, "F1", inBothMenus, {}, "", "打开使用说明"},
            {ID_VIEW_TOOLBAR, "工具栏(&T)", {}, "", 0, {}, "", "显示或隐藏工具栏", true},
            {ID_VIEW_STATUS_BAR, "状态栏(&S)", {}, "", 0, {}, "", "显示或隐藏状态栏", true},

            // The texts name the step; the frame keeps them up to date.
            {ID_EDIT_UNDO, "撤销(&U)\tCtrl+Z", {}, "Ctrl+Z; Alt+Backspace", inBothMenus},
            {ID_EDIT_REDO, "重做(&R)\tCtrl+Y", {}, "Ctrl+Y; Ctrl+Shift+Z", inBothMenus},

            // Keys of the keyboard table that reach nothing of the program's own.
            {ID_EDIT_CUT, "", {}, "Ctrl+X; Shift+Del", inBothMenus},
            {ID_EDIT_COPY, "", {}, "Ctrl+C; Ctrl+Ins", inBothMenus},
            {ID_EDIT_PASTE, "", {}, "Ctrl+V; Shift+Ins", inBothMenus},
            {ID_NEXT_PANE, "", {}, "F6", inBothMenus},
            {ID_PREV_PANE, "", {}, "Shift+F6", inBothMenus},
        };
        // The record tables' commands carry their titles, the view modes their types' names.
        for (const ReportTableCommand& c : reportTableCommands) {
            rows.push_back({c.print, reportTable(c.kind)->title});
            rows.push_back({c.preview, reportTable(c.kind)->title});
        }
        for (const ViewCommand& c : viewCommands) rows.push_back({c.id, displayText(c.type)});
        return rows;
    }();
    return rows;
}

const std::vector<MenuPopup>& menuLayout(MenuBar bar) {
    static const std::vector<MenuPopup> menu128{
        {"文件(&F)",
         {item(ID_FILE_NEW), item(ID_FILE_OPEN), separator(), item(ID_FILE_PRINT_SETUP),
          separator(), item(ID_FILE_MRU_FILE1), separator(), item(ID_FILE_CLOSE),
          item(ID_APP_EXIT)}},
        {"视图(&V)", {item(ID_VIEW_TOOLBAR), item(ID_VIEW_STATUS_BAR)}},
        {"帮助(&H)", {item(ID_APP_ABOUT), item(ID_HELP)}},
    };
    static const std::vector<MenuPopup> menu129{
        {"文件(&F)",
         {item(ID_CREATE_PROJECT), item(ID_OPEN_PROJECT), item(ID_SAVE_PROJECT),
          item(ID_SAVE_PROJECT_AS), separator(),
          submenu("打印(&P)...\tCtrl+P", tableItems(&ReportTableCommand::print)),
          submenu("打印预览(&V)", tableItems(&ReportTableCommand::preview)), item(ID_EXPORT_EXCEL),
          item(ID_FILE_PRINT_SETUP), separator(), item(ID_EXIT)}},
        {"编辑(&E)", {item(ID_EDIT_UNDO), item(ID_EDIT_REDO)}},
        {"数据传输", {item(ID_DATA_TRANSFER)}},
        {"工程维护", {item(ID_SET_PROJECT), item(ID_ACCEPTANCE), item(ID_HISTORY)}},
        {"构件维护", {item(ID_ADD_COMPONENT), item(ID_DELETE_COMPONENT)}},
        {"测点维护", {item(ID_ADD_POINT), item(ID_DELETE_POINT)}},
        {"视图(&V)",
         [] {
             std::vector<MenuEntry> items;
             for (const ViewCommand& c : viewCommands) items.push_back(item(c.id));
             items.push_back(item(ID_VIEW_TOOLBAR));
             items.push_back(item(ID_VIEW_STATUS_BAR));
             return items;
         }()},
        {"帮助(&H)", {item(ID_APP_ABOUT), item(ID_HELP)}},
    };
    return bar == MenuBar::M128 ? menu128 : menu129;
}

const std::vector<int>& toolbar128() {
    static const std::vector<int> buttons{ID_CREATE_PROJECT, ID_OPEN_PROJECT, ID_SAVE_PROJECT, 0,
                                          ID_APP_ABOUT};
    return buttons;
}
