#pragma once

#include <cstddef>
#include <filesystem>
#include <mutex>
#include <optional>
#include <ostream>

#include "instrument/TransferUi.h"

// The transfer's user steps without a window: messages go to a text stream as
// "[caption] text", the save dialog is answered in advance, and progress is one line that is
// rewritten in place. Safe to call from any thread.
class ConsoleTransferUi : public TransferUi {
public:
    // `saveAnswer` is what the save dialog returns; nothing stands for cancelling it.
    ConsoleTransferUi(std::ostream& out, std::optional<std::filesystem::path> saveAnswer,
                      bool showProgress = true);

    void message(std::string_view caption, std::string_view text, MessageIcon icon) override;
    void endNotice(std::string_view caption, std::string_view text) override;
    std::optional<std::filesystem::path> askSavePath(std::string_view defaultName,
                                                     std::string_view extension,
                                                     std::string_view filter) override;
    void progress(std::size_t blocksDone, std::size_t blocksExpected) override;

    // Ends the progress line, if one is open.
    void finish();

private:
    void endProgressLine();

    std::mutex mutex_;
    std::ostream& out_;
    std::optional<std::filesystem::path> saveAnswer_;
    bool showProgress_;
    bool progressOpen_ = false;
};
