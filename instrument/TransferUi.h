#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>

#include "model/ComponentList.h"
#include "model/Result.h"
#include "model/UploadFile.h"

enum class MessageIcon { Information, Error };

// The steps of a transfer that need the user. The transfer waits in each call until it
// returns, as it waits for a modal message box.
//
// Threads: the messages of a refused or failed start come on the thread that called
// TransferSession::OnDataTransfer; every other call comes on the transfer worker thread.
// A GUI implementation runs the worker's calls on its own thread and waits for them. Once
// TransferSession::stop() has begun the worker makes no new calls, but one already under way
// must then be answered (dismissed) without the GUI thread, which is waiting in stop().
class TransferUi {
public:
    static constexpr std::string_view saveDefaultName = "data";
    static constexpr std::string_view saveExtension = "vexo";
    static constexpr std::string_view saveFilter = "数据文件(*.vexo)|*.vexo|";

    virtual ~TransferUi() = default;

    // A message box without an owner window. Texts are UTF-8.
    virtual void message(std::string_view caption, std::string_view text, MessageIcon icon) = 0;

    // The notice that the instrument's data has arrived (information icon), owned by the main
    // window.
    virtual void endNotice(std::string_view caption, std::string_view text) = 0;

    // The save dialog of the upload data file, which confirms replacing an existing file.
    // Nothing when the user cancels.
    virtual std::optional<std::filesystem::path> askSavePath(std::string_view defaultName,
                                                             std::string_view extension,
                                                             std::string_view filter) = 0;

    // Called after every block received. `blocksExpected` grows once the record stream tells
    // how long the payload is. Must not wait for the user.
    virtual void progress(std::size_t blocksDone, std::size_t blocksExpected) = 0;

    // Writes the upload data file where the save dialog said, with the careful save; a user
    // interface may send it elsewhere (a command's standard output).
    virtual Status saveUpload(const std::filesystem::path& path, const ComponentList& components) {
        return UploadFile::save(path, components);
    }
};
