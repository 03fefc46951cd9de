#include "app/GuiTransferUi.h"

#include <QFileInfo>
#include <QMetaObject>
#include <QThread>
#include <memory>

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

GuiTransferUi::GuiTransferUi(QObject* guiObject, Prompter& prompter,
                             std::function<void(std::size_t, std::size_t)> onProgress)
    : gui_(guiObject), prompter_(prompter), onProgress_(std::move(onProgress)) {}

bool GuiTransferUi::runOnGuiThread(const std::function<void()>& call) {
    if (gui_ && QThread::currentThread() == gui_->thread()) {
        call();
        return true;
    }
    struct State {
        bool started = false;
        bool done = false;
    };
    auto state = std::make_shared<State>();
    {
        std::lock_guard lock(mutex_);
        if (abandoned_ || !gui_) return false;
    }
    QMetaObject::invokeMethod(
        gui_.data(),
        [this, state, call] {
            {
                std::lock_guard lock(mutex_);
                if (abandoned_) return;
                state->started = true;
            }
            call();
            {
                std::lock_guard lock(mutex_);
                state->done = true;
            }
            changed_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return state->done || (abandoned_ && !state->started); });
    return state->done;
}

void GuiTransferUi::abandonPrompts() {
    {
        std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    changed_.notify_all();
}

void GuiTransferUi::message(std::string_view caption, std::string_view text, MessageIcon icon) {
    const QString c = qs(caption), t = qs(text);
    const auto i = icon == MessageIcon::Error ? Prompter::Icon::Error : Prompter::Icon::Information;
    runOnGuiThread([this, c, t, i] { prompter_.message(c, t, i); });
}

void GuiTransferUi::endNotice(std::string_view caption, std::string_view text) {
    message(caption, text, MessageIcon::Information);
}

std::optional<std::filesystem::path> GuiTransferUi::askSavePath(std::string_view defaultName,
                                                                std::string_view extension,
                                                                std::string_view filter) {
    Prompter::FileDialog dialog{qs(defaultName), qs(extension), qs(filter), true, false};
    std::optional<QString> chosen;
    if (!runOnGuiThread([&] { chosen = prompter_.saveFile(dialog); }) || !chosen) {
        return std::nullopt;
    }
    return std::filesystem::path(chosen->toStdU16String());
}

void GuiTransferUi::progress(std::size_t blocksDone, std::size_t blocksExpected) {
    if (!gui_ || !onProgress_) return;
    QMetaObject::invokeMethod(
        gui_.data(),
        [f = onProgress_, blocksDone, blocksExpected] { f(blocksDone, blocksExpected); },
        Qt::QueuedConnection);
}
