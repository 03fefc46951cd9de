#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QTest>

#include "app/CCorvaneApp.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "instrument/DemoInspection.h"
#include "instrument/SimulatedInstrument.h"
#include "instrument/TransferSession.h"
#include "model/UploadFile.h"
#include "support/FireCommand.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

using Icon = Prompter::Icon;

namespace {

const QString tip = QStringLiteral("提示信息");
const QString debug = QStringLiteral("DEBUG372");
const QString writeFailed = QStringLiteral("端点2下传失败！如果设备断开过那么请先关闭本程序");
const QString readFailed = QStringLiteral("端点2上传失败！如果设备断开过那么请先关闭本程序");

// Lets the worker's prompts run on this thread until the transfer has ended.
bool waitForTransfer(CMainFrame& frame) {
    for (int i = 0; i < 3000 && frame.transferSession()->running(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QTest::qWait(2);
    }
    QCoreApplication::processEvents();
    return !frame.transferSession()->running();
}

}  // namespace

TEST(DataTransfer, DemoInstrumentThroughTheGuiWritesTheUploadFile) {
    TempDir dir;
    ScriptedPrompter prompter;
    SimulatedInstrument link(DemoInspection::image());
    CMainFrame frame(prompter, &link);
    frame.newDocument();
    const auto target = dir / "data.vexo";

    prompter.expectMessage(tip, QStringLiteral("下位机测量数据传输结束！"), Icon::Information);
    prompter.expectSave("data", QString::fromStdString(target.string()),
                        QStringLiteral("数据文件(*.vexo)|*.vexo|"));
    fireCommand(frame, ID_DATA_TRANSFER);
    ASSERT_TRUE(waitForTransfer(frame));
    prompter.expectDone();

    const Result<ComponentList> back = UploadFile::read(target);
    ASSERT_TRUE(back.ok()) << back.message();
    EXPECT_EQ(*back, DemoInspection::components());
    EXPECT_FALSE(link.deviceOpen());
    EXPECT_FALSE(frame.project().isOpen());  // the transfer never touches the project
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return frame.messagePane()->text() == QStringLiteral("就绪"); }));
}

TEST(DataTransfer, PulledCableShowsItsMessagesInOrderAndClosesTheDevice) {
    ScriptedPrompter prompter;
    SimulatedFaults faults;
    faults.failingRead = 3;  // the second record block
    faults.cablePulled = true;
    SimulatedInstrument link(DemoInspection::image(), faults);
    CMainFrame frame(prompter, &link);
    frame.newDocument();

    prompter.expectMessage(debug, readFailed, Icon::Error);   // the record block
    prompter.expectMessage(debug, writeFailed, Icon::Error);  // the intermediate request
    prompter.expectMessage(debug, readFailed, Icon::Error);   // and its reply
    fireCommand(frame, ID_DATA_TRANSFER);
    ASSERT_TRUE(waitForTransfer(frame));
    prompter.expectDone();
    EXPECT_FALSE(link.deviceOpen());
    EXPECT_EQ(link.openHandleCount(), 0u);
}

TEST(DataTransfer, DeviceThatCannotBeOpenedIsReported) {
    ScriptedPrompter prompter;
    SimulatedFaults faults;
    faults.openFails = true;
    SimulatedInstrument link(DemoInspection::image(), faults);
    CMainFrame frame(prompter, &link);
    prompter.expectMessage(debug, QStringLiteral("打开设备失败！"), Icon::Error);
    fireCommand(frame, ID_DATA_TRANSFER);
    EXPECT_FALSE(frame.transferSession()->running());

    faults.openFails = false;
    faults.writeHandleFails = true;
    link.setFaults(faults);
    prompter.expectMessage(debug, QStringLiteral("无法打开设备！"), Icon::Error);
    fireCommand(frame, ID_DATA_TRANSFER);
    EXPECT_FALSE(link.deviceOpen());
}

TEST(DataTransfer, ClosingTheWindowStopsARunningTransfer) {
    ScriptedPrompter prompter;
    SimulatedFaults faults;
    // Slow enough that the transfer is still running when the window closes, also under TSan.
    faults.delay = std::chrono::milliseconds(50);
    SimulatedInstrument link(DemoInspection::image(), faults);
    CMainFrame frame(prompter, &link);
    frame.newDocument();
    frame.show();

    fireCommand(frame, ID_DATA_TRANSFER);
    ASSERT_TRUE(frame.transferSession()->running());
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return frame.messagePane()->text().startsWith(QStringLiteral("正在接收测量数据"));
    }));

    // A second start is refused and leaves the running transfer alone.
    prompter.expectMessageContaining(tip, QStringLiteral("数据传输正在进行"), Icon::Information);
    fireCommand(frame, ID_DATA_TRANSFER);
    EXPECT_TRUE(frame.transferSession()->running());

    EXPECT_TRUE(frame.close());
    EXPECT_FALSE(frame.transferSession()->running());
    EXPECT_FALSE(link.deviceOpen());
    EXPECT_FALSE(frame.transferSession()->savedUpload());
}

TEST(DataTransfer, InstrumentIdOnTheCommandLineIsReadAsTheCommandLineToolReadsIt) {
    auto parse = [](QStringList words) {
        words.prepend(QStringLiteral("corvane"));
        return CCorvaneApp::parseArguments(words);
    };
    const CCorvaneApp::Options usb = parse({QStringLiteral("--usb=1a86:7523")});
    EXPECT_TRUE(usb.error.isEmpty());
    EXPECT_EQ(usb.link.source, LinkFactory::Source::Usb);
    EXPECT_EQ(usb.link.usb, (UsbId{0x1A86, 0x7523}));

    for (const char* id : {"14348:5537", "1:2:3", "x:y"}) {
        const CCorvaneApp::Options bad = parse({QStringLiteral("--usb=") + QString::fromUtf8(id)});
        EXPECT_EQ(bad.error.toStdString(), UsbId::parse(id).message());
        const Result<std::unique_ptr<UsbLink>> link = CCorvaneApp::makeLink(bad);
        EXPECT_FALSE(link) << id;
        EXPECT_EQ(link.message(), UsbId::parse(id).message());
    }

    const CCorvaneApp::Options demo =
        parse({QStringLiteral("--usb=1:2"), QStringLiteral("--simulate")});
    EXPECT_EQ(demo.link.source, LinkFactory::Source::Demo);
    EXPECT_GT(demo.link.delay.count(), 0);
    EXPECT_FALSE(parse({QStringLiteral("--verbose")}).error.isEmpty());
}
