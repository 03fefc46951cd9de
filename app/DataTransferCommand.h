#pragma once

#include <QObject>
#include <memory>

class GuiTransferUi;
class Prompter;
class QLabel;
class TransferSession;
class UsbLink;

// 数据传输: runs an instrument transfer behind the main window, its prompts through the
// window's prompter and its progress in the status bar's message pane, which says "就绪"
// again when the session reports the end. GUI thread only.
class DataTransferCommand : public QObject {
    Q_OBJECT
public:
    // Nothing is owned; all must outlive the command. `link` may be null when no instrument
    // link could be made: the command then reports that the device cannot be opened.
    DataTransferCommand(QObject* window, Prompter& prompter, UsbLink* link, QLabel* messagePane);
    ~DataTransferCommand() override;

    void OnDataTransfer();
    // Ends a running transfer and waits for its worker; no prompt is shown any more.
    void stop();

    TransferSession* session() const { return session_.get(); }

private:
    void showProgress(std::size_t done, std::size_t expected);
    void showEnded();

    Prompter& prompter_;
    QLabel* messagePane_;
    std::unique_ptr<GuiTransferUi> ui_;
    std::unique_ptr<TransferSession> session_;
};
