#pragma once

#include "model/DetectionType.h"
#include "report/ReportTables.h"

// Every command of the program by its numeric id. Menus, the toolbar, the keys and the tests
// all reach a command through CMainFrame::onCommand(id).
enum CommandId : int {
    ID_DATA_TRANSFER = 32773,
    ID_OPEN_PROJECT = 32774,
    ID_VIEW_THICKNESS = 32780,
    ID_VIEW_DIAMETER = 32782,
    ID_VIEW_GRID = 32784,
    ID_VIEW_PROFILE = 32785,
    ID_CREATE_PROJECT = 32787,
    ID_SAVE_PROJECT = 32788,
    ID_SAVE_PROJECT_AS = 32789,
    ID_SET_PROJECT = 32793,
    ID_ACCEPTANCE = 32817,
    ID_ADD_COMPONENT = 32794,
    ID_DELETE_COMPONENT = 32796,
    ID_ADD_POINT = 32798,
    ID_DELETE_POINT = 32800,
    ID_EXIT = 32801,
    ID_PRINT_AGAIN = 32802,
    ID_PREVIEW_AGAIN = 32803,
    ID_PREVIEW_DIAMETER = 32807,
    ID_PREVIEW_SPACING = 32809,
    ID_PRINT_THICKNESS = 32811,
    ID_PRINT_DIAMETER = 32813,
    ID_PRINT_SPACING = 32815,
    ID_PREVIEW_THICKNESS = 32816,
    ID_PRINT_ACCEPTANCE = 32818,
    ID_PREVIEW_ACCEPTANCE = 32819,
    ID_EXPORT_EXCEL = 32820,
    ID_HISTORY = 32821,
    ID_PRINT_HISTORY = 32822,
    ID_PREVIEW_HISTORY = 32823,

    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_MRU_FILE1 = 57616,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP = 57670,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

// The view-mode commands (视图 → 厚度 …): each lists the components of one detection type and
// is named by it.
struct ViewCommand {
    int id;
    DetectionType type;
};
inline constexpr ViewCommand viewCommands[] = {
    {ID_VIEW_THICKNESS, DetectionType::Thickness},
    {ID_VIEW_DIAMETER, DetectionType::Diameter},
    {ID_VIEW_GRID, DetectionType::Grid},
    {ID_VIEW_PROFILE, DetectionType::Profile},
};

// The print and preview commands of each record table (打印, 打印预览), named by its title, in
// the order of the menus.
struct ReportTableCommand {
    int print;
    int preview;
    ReportKind kind;
};
inline constexpr ReportTableCommand reportTableCommands[] = {
    {ID_PRINT_THICKNESS, ID_PREVIEW_THICKNESS, ReportKind::Thickness},
    {ID_PRINT_DIAMETER, ID_PREVIEW_DIAMETER, ReportKind::Diameter},
    {ID_PRINT_SPACING, ID_PREVIEW_SPACING, ReportKind::Spacing},
    {ID_PRINT_ACCEPTANCE, ID_PREVIEW_ACCEPTANCE, ReportKind::Acceptance},
    {ID_PRINT_HISTORY, ID_PREVIEW_HISTORY, ReportKind::History},
};
