#pragma once

#include <QString>
#include <optional>

// Every message box and file dialog of the frame goes through this, so the flows can be
// driven by a script in tests. GUI thread only.
class Prompter {
public:
    enum class Icon { Information, Error };
    // Dismissed: Escape or the box's close button; no answer at all, so the command stops.
    enum class Answer { Yes, No, Dismissed };

    struct FileDialog {
        QString defaultName;           // without folder
        QString extension;             // default suffix, without the dot
        QString filter;                // "描述(*.ext)|*.ext|"
        bool confirmOverwrite = true;  // save dialogs
        bool mustExist = true;         // open dialogs
    };

    virtual ~Prompter() = default;

    virtual void message(const QString& caption, const QString& text, Icon icon) = 0;
    // 是/否 with the information icon; only 是 is yes.
    virtual Answer askYesNo(const QString& caption, const QString& text) = 0;
    virtual std::optional<QString> saveFile(const FileDialog& dialog) = 0;
    virtual std::optional<QString> openFile(const FileDialog& dialog) = 0;
};
