#pragma once

#include <QIcon>
#include <string_view>
#include <vector>

// Every command of the program, one row per id: what its menu item, key, toolbar button and
// status-bar prompt show. The menus and the toolbar list ids only; CommandRegistry makes one
// QAction per row.

// The two menu bars: 128 while no document window is open, 129 while one is.
enum class MenuBar { M128 = 1, M129 = 2 };
constexpr int inMenu128 = 1, inMenu129 = 2, inBothMenus = 3;

struct CommandRow {
    enum class Enabled {
        Always,
        WithDocument,     // nothing handles it while no document window is open
        WithRecentFiles,  // the recent-file list's placeholder, grey while the list is empty
    };

    int id;
    std::string_view text;          // UTF-8; "\t" precedes the key shown, "&" the access key
    std::string_view text128;       // the text in menu 128 where it differs
    const char* keys = "";          // key sequences, "; " between two
    int keyMenus = 0;               // the menu bars while which the keys reach this id
    QIcon (*icon)() = nullptr;      // toolbar picture
    const char* toolTip = "";       // toolbar tip
    const char* statusPrompt = "";  // the status bar's text while the item is hovered
    bool checkable = false;
    Enabled enabled = Enabled::Always;
};

const std::vector<CommandRow>& commandTable();

// One entry of a menu bar: an item by id, a separator, or a submenu with its title.
struct MenuEntry {
    enum class Kind { Item, Separator, Submenu };
    Kind kind = Kind::Item;
    int id = 0;
    const char* title = "";  // submenus: UTF-8
    std::vector<MenuEntry> children;
};

struct MenuPopup {
    const char* title;
    std::vector<MenuEntry> entries;
};

const std::vector<MenuPopup>& menuLayout(MenuBar bar);

// Toolbar 128: ids in order, 0 for a separator.
const std::vector<int>& toolbar128();
