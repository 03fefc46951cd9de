#pragma once

#include <vector>

// One entry of a menu resource: an item with its command id and text ("\t" precedes the
// key shown, "&" marks the access key), a separator, or a submenu.
struct MenuEntry {
    enum class Kind { Item, Separator, Submenu };
    Kind kind = Kind::Item;
    int id = 0;
    const char* text = "";  // UTF-8
    std::vector<MenuEntry> children;
};

struct MenuPopup {
    const char* title;
    std::vector<MenuEntry> entries;
};

// Menu 128 is shown while no document window is open, menu 129 while one is.
const std::vector<MenuPopup>& menu128();
const std::vector<MenuPopup>& menu129();

// The keyboard table: key sequence text and the command it reaches.
struct KeyBinding {
    const char* keys;
    int id;
};
const std::vector<KeyBinding>& keyboardTable();

// Toolbar 128: command ids in order, 0 for the separator.
const std::vector<int>& toolbar128();
