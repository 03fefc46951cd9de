#pragma once

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "instrument/TransferUi.h"

struct ShownMessage {
    std::string caption;
    std::string text;
    MessageIcon icon = MessageIcon::Information;

    friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
    friend void PrintTo(const ShownMessage& m, std::ostream* os) {
        *os << '[' << m.caption << "] " << m.text
            << (m.icon == MessageIcon::Error ? " (error)" : " (information)");
    }
};

// Records every message in order (the end notice as an information message) and answers the
// save dialog from a queue. A save dialog with no answer queued, and answers left unused when
// the object goes away, fail the test. It can hold the worker at the end notice or at a given
// progress report until the test releases it.
class ScriptedTransferUi : public TransferUi {
public:
    ~ScriptedTransferUi() override;

    void answerSave(std::optional<std::filesystem::path> answer);
    void holdAtEndNotice();
    void holdAtProgress(std::size_t blocksDone);
    // Returns once the worker waits at the hold.
    void waitUntilHeld();
    void release();

    std::vector<ShownMessage> messages() const;
    int saveDialogs() const;
    std::size_t lastBlocksDone() const;
    std::size_t lastBlocksExpected() const;

    void message(std::string_view caption, std::string_view text, MessageIcon icon) override;
    void endNotice(std::string_view caption, std::string_view text) override;
    std::optional<std::filesystem::path> askSavePath(std::string_view defaultName,
                                                     std::string_view extension,
                                                     std::string_view filter) override;
    void progress(std::size_t blocksDone, std::size_t blocksExpected) override;

private:
    void holdHere(std::unique_lock<std::mutex>& lock);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<ShownMessage> messages_;
    std::deque<std::optional<std::filesystem::path>> saveAnswers_;
    int saveDialogs_ = 0;
    std::size_t blocksDone_ = 0;
    std::size_t blocksExpected_ = 0;
    bool holdAtEnd_ = false;
    std::optional<std::size_t> holdAtBlock_;
    bool held_ = false;
    bool released_ = false;
};
