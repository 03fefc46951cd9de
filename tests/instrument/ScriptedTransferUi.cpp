#include "ScriptedTransferUi.h"

#include <gtest/gtest.h>

ScriptedTransferUi::~ScriptedTransferUi() {
    EXPECT_TRUE(saveAnswers_.empty()) << saveAnswers_.size() << " save answer(s) left unused";
}

void ScriptedTransferUi::answerSave(std::optional<std::filesystem::path> answer) {
    std::lock_guard lock(mutex_);
    saveAnswers_.push_back(std::move(answer));
}

void ScriptedTransferUi::holdAtEndNotice() {
    std::lock_guard lock(mutex_);
    holdAtEnd_ = true;
}

void ScriptedTransferUi::holdAtProgress(std::size_t blocksDone) {
    std::lock_guard lock(mutex_);
    holdAtBlock_ = blocksDone;
}

void ScriptedTransferUi::waitUntilHeld() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return held_; });
}

void ScriptedTransferUi::release() {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
}

void ScriptedTransferUi::holdHere(std::unique_lock<std::mutex>& lock) {
    held_ = true;
    changed_.notify_all();
    changed_.wait(lock, [&] { return released_; });
}

std::vector<ShownMessage> ScriptedTransferUi::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

int ScriptedTransferUi::saveDialogs() const {
    std::lock_guard lock(mutex_);
    return saveDialogs_;
}

std::size_t ScriptedTransferUi::lastBlocksDone() const {
    std::lock_guard lock(mutex_);
    return blocksDone_;
}

std::size_t ScriptedTransferUi::lastBlocksExpected() const {
    std::lock_guard lock(mutex_);
    return blocksExpected_;
}

void ScriptedTransferUi::message(std::string_view caption, std::string_view text,
                                 MessageIcon icon) {
    std::lock_guard lock(mutex_);
    messages_.push_back({std::string(caption), std::string(text), icon});
}

void ScriptedTransferUi::endNotice(std::string_view caption, std::string_view text) {
    std::unique_lock lock(mutex_);
    messages_.push_back({std::string(caption), std::string(text), MessageIcon::Information});
    if (holdAtEnd_) holdHere(lock);
}

std::optional<std::filesystem::path> ScriptedTransferUi::askSavePath(std::string_view defaultName,
                                                                     std::string_view extension,
                                                                     std::string_view filter) {
    std::lock_guard lock(mutex_);
    ++saveDialogs_;
    EXPECT_EQ(defaultName, "data");
    EXPECT_EQ(extension, "vexo");
    EXPECT_EQ(filter, "数据文件(*.vexo)|*.vexo|");
    if (saveAnswers_.empty()) {
        ADD_FAILURE() << "unexpected save dialog";
        return std::nullopt;
    }
    auto answer = std::move(saveAnswers_.front());
    saveAnswers_.pop_front();
    return answer;
}

void ScriptedTransferUi::progress(std::size_t blocksDone, std::size_t blocksExpected) {
    std::unique_lock lock(mutex_);
    EXPECT_LE(blocksDone, blocksExpected);
    blocksDone_ = blocksDone;
    blocksExpected_ = blocksExpected;
    if (holdAtBlock_ == blocksDone) holdHere(lock);
}
