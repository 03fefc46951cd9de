#include "app/DataTransferCommand.h"

#include <QLabel>
#include <QMetaObject>

#include "app/GuiTransferUi.h"
#include "instrument/TransferSession.h"
#include "session/Prompter.h"

DataTransferCommand::DataTransferCommand(QObject* window, Prompter& prompter, UsbLink* link,
                                         QLabel* messagePane)
    : QObject(window), prompter_(prompter), messagePane_(messagePane) {
    ui_ = std::make_unique<GuiTransferUi>(
        window, prompter_,
        [this](std::size_t done, std::size_t expected) { showProgress(done, expected); });
    if (!link) return;
    session_ = std::make_unique<TransferSession>(*link, *ui_);
    // The end is announced on the worker thread. Queued to this object, it arrives after the
    // worker's last progress report, and not at all once this object is gone.
    session_->setEndListener([this] {
        QMetaObject::invokeMethod(this, &DataTransferCommand::showEnded, Qt::QueuedConnection);
    });
}

DataTransferCommand::~DataTransferCommand() {
    stop();
}

void DataTransferCommand::OnDataTransfer() {
    if (!session_) {
        prompter_.message(QStringLiteral("DEBUG372"), QStringLiteral("打开设备失败！"),
                          Prompter::Icon::Error);
        return;
    }
    if (session_->OnDataTransfer()) messagePane_->setText(QStringLiteral("正在接收测量数据…"));
}

void DataTransferCommand::stop() {
    if (!session_) return;
    ui_->abandonPrompts();
    session_->stop();
}

void DataTransferCommand::showProgress(std::size_t done, std::size_t expected) {
    // The protocol never counts past what it expects, and its reports all come before the end.
    messagePane_->setText(QStringLiteral("正在接收测量数据：%1 / %2 块").arg(done).arg(expected));
}

void DataTransferCommand::showEnded() {
    // A transfer started since then keeps its progress.
    if (!session_->running()) messagePane_->setText(QStringLiteral("就绪"));
}
