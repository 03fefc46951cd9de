#include "cli/TransferCommand.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>

#include "cli/CommandLine.h"
#include "instrument/ConsoleTransferUi.h"
#include "instrument/LinkFactory.h"
#include "instrument/TransferSession.h"
#include "model/FileIo.h"

namespace {

struct TransferOptions {
    std::optional<std::string> simulate;
    bool demo = false;
    std::optional<UsbId> usb;
    std::optional<std::string> out;
    std::optional<std::string> saveImage;
};

// Empty when the words make a valid command, else what is wrong with them.
std::string parse(const std::vector<std::string>& args, TransferOptions& o) {
    auto value = [&](std::size_t& i, std::optional<std::string>& into) -> std::string {
        if (into) return args[i] + " 只能给一次";
        if (i + 1 >= args.size()) return args[i] + " 缺少参数";
        into = args[++i];
        return {};
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        std::string error;
        if (word == "--simulate") {
            error = value(i, o.simulate);
        } else if (word == "-o") {
            error = value(i, o.out);
        } else if (word == "--save-image") {
            error = value(i, o.saveImage);
        } else if (word == "--demo") {
            if (o.demo) error = "--demo 只能给一次";
            o.demo = true;
        } else if (word == "--usb") {
            if (o.usb) error = "--usb 只能给一次";
            o.usb = UsbId{};
            if (i + 1 < args.size() && !args[i + 1].starts_with("-")) {
                Result<UsbId> id = UsbId::parse(args[++i]);
                if (id) {
                    o.usb = id.value();
                } else {
                    error = id.message();
                }
            }
        } else {
            error = "未知参数 " + word;
        }
        if (!error.empty()) return error;
    }
    const int sources = (o.simulate ? 1 : 0) + (o.demo ? 1 : 0) + (o.usb ? 1 : 0);
    if (sources != 1) return "须给出 --simulate、--demo 或 --usb 中的一个";
    if (!o.out) return "缺少 -o OUT.vexo";
    return {};
}

std::string_view bytesOf(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

const char* transferUsage() {
    return "用法: corvane-cli transfer (--simulate IMAGE | --demo | --usb [VID:PID]) -o OUT.vexo "
           "[--save-image FILE]\n";
}

int transferCommand(const std::vector<std::string>& args) {
    return transferCommand(args, std::cout, std::cerr);
}

int transferCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TransferOptions options;
    if (const std::string error = parse(args, options); !error.empty()) {
        err << "transfer: " << error << '\n' << transferUsage();
        return 2;
    }

    LinkFactory::Request request;
    if (options.simulate) {
        request.source = LinkFactory::Source::Image;
        request.image = CommandLine::path(*options.simulate);
    } else if (options.demo) {
        request.source = LinkFactory::Source::Demo;
    } else {
        request.usb = *options.usb;
    }
    Result<std::unique_ptr<UsbLink>> made = LinkFactory::make(request);
    if (!made) {
        err << made.message() << '\n';
        return 1;
    }
    const std::unique_ptr<UsbLink> link = std::move(made).value();

    // The save dialog is answered by -o; an existing file is replaced, as after confirming.
    ConsoleTransferUi ui(err, CommandLine::path(*options.out));
    TransferSession session(*link, ui);
    const bool started = session.OnDataTransfer();
    session.wait();
    ui.finish();

    int status = session.savedUpload() ? 0 : 1;
    if (started && options.saveImage) {
        // Kept whatever happened, so that a failed transfer can be sent in for support.
        const Status s = FileIo::writeAtomically(CommandLine::path(*options.saveImage),
                                                 bytesOf(session.receivedBytes()));
        if (s.ok()) {
            out << "已保存内存映像：" << *options.saveImage << "（"
                << session.receivedBytes().size() << " 字节）\n";
        } else {
            err << s.message() << '\n';
            status = 1;
        }
    }
    if (const auto& saved = session.savedUpload()) {
        out << "已保存上传数据文件：" << FileIo::displayName(*saved) << "（"
            << session.lastRecordCount() << " 个构件）\n";
    } else {
        err << "未保存上传数据文件。\n";
    }
    return status;
}
