#pragma once

#include <QObject>
#include <QPointer>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "instrument/TransferUi.h"
#include "session/Prompter.h"

// Runs the transfer worker's prompts on the GUI thread, through the frame's prompter, while
// the worker waits. Progress goes to `onProgress` on the GUI thread without waiting.
class GuiTransferUi : public TransferUi {
public:
    GuiTransferUi(QObject* guiObject, Prompter& prompter,
                  std::function<void(std::size_t, std::size_t)> onProgress);

    void message(std::string_view caption, std::string_view text, MessageIcon icon) override;
    void endNotice(std::string_view caption, std::string_view text) override;
    std::optional<std::filesystem::path> askSavePath(std::string_view defaultName,
                                                     std::string_view extension,
                                                     std::string_view filter) override;
    void progress(std::size_t blocksDone, std::size_t blocksExpected) override;

    // GUI thread, before stopping the transfer: a prompt the worker still waits for is
    // answered as cancelled, and none is shown any more, so the GUI never waits for a worker
    // that waits for the GUI.
    void abandonPrompts();

private:
    // Runs `call` on the GUI thread and waits for it; false when the prompts were abandoned
    // before it ran.
    bool runOnGuiThread(const std::function<void()>& call);

    QPointer<QObject> gui_;
    Prompter& prompter_;
    std::function<void(std::size_t, std::size_t)> onProgress_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool abandoned_ = false;
};
