#include "instrument/ConsoleTransferUi.h"

#include <utility>

ConsoleTransferUi::ConsoleTransferUi(std::ostream& out,
                                     std::optional<std::filesystem::path> saveAnswer,
                                     bool showProgress)
    : out_(out), saveAnswer_(std::move(saveAnswer)), showProgress_(showProgress) {}

void ConsoleTransferUi::endProgressLine() {
    if (!progressOpen_) return;
    out_ << '\n';
    progressOpen_ = false;
}

void ConsoleTransferUi::message(std::string_view caption, std::string_view text, MessageIcon) {
    std::lock_guard lock(mutex_);
    endProgressLine();
    out_ << '[' << caption << "] " << text << '\n' << std::flush;
}

void ConsoleTransferUi::endNotice(std::string_view caption, std::string_view text) {
    message(caption, text, MessageIcon::Information);
}

std::optional<std::filesystem::path> ConsoleTransferUi::askSavePath(std::string_view,
                                                                    std::string_view,
                                                                    std::string_view) {
    std::lock_guard lock(mutex_);
    return saveAnswer_;
}

void ConsoleTransferUi::progress(std::size_t blocksDone, std::size_t blocksExpected) {
    if (!showProgress_) return;
    std::lock_guard lock(mutex_);
    out_ << "\r传输进度：" << blocksDone << '/' << blocksExpected << " 块" << std::flush;
    progressOpen_ = true;
}

void ConsoleTransferUi::finish() {
    std::lock_guard lock(mutex_);
    endProgressLine();
    out_ << std::flush;
}
