#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/OutputFile.h"
#include "instrument/ConsoleTransferUi.h"
#include "instrument/LinkFactory.h"
#include "instrument/TransferSession.h"
#include "model/FileIo.h"
#include "model/UploadFile.h"

namespace {

struct TransferOptions {
    std::optional<std::string> simulate;
    bool demo = false;
    std::optional<UsbId> usb;
    std::optional<std::string> out;
    std::optional<std::string> saveImage;
};

// Empty when the words make a valid command, else what is wrong with them.
std::string parse(const CliArguments& a, TransferOptions& o) {
    if (!a.positional().empty()) return "未知参数 " + a.positional().front();
    o.simulate = a.value("--simulate");
    o.demo = a.has("--demo");
    if (a.has("--usb")) {
        o.usb = UsbId{};
        if (const auto id = a.value("--usb")) {
            Result<UsbId> parsed = UsbId::parse(*id);
            if (!parsed) return parsed.message();
            o.usb = parsed.value();
        }
    }
    o.out = a.value("-o");
    o.saveImage = a.value("--save-image");
    const int sources = (o.simulate ? 1 : 0) + (o.demo ? 1 : 0) + (o.usb ? 1 : 0);
    if (sources != 1) return "须给出 --simulate、--demo 或 --usb 中的一个";
    if (!o.out) return "缺少 -o OUT.vexo";
    return {};
}

std::string_view bytesOf(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The save dialog is answered by -o, where "-" is standard output; an existing file is
// replaced, as after confirming.
class CommandTransferUi final : public ConsoleTransferUi {
public:
    CommandTransferUi(const std::string& target, std::ostream& out, std::ostream& err)
        : ConsoleTransferUi(err, CommandLine::path(target)), target_(target), out_(out) {}

    Status saveUpload(const std::filesystem::path&, const ComponentList& components) override {
        return OutputFile::write(target_, UploadFile::encode(components), out_);
    }

private:
    std::string target_;
    std::ostream& out_;
};

}  // namespace

std::string transferCheck(const CliArguments& args) {
    TransferOptions options;
    const std::string error = parse(args, options);
    return error.empty() ? error : "transfer: " + error;
}

int transferCommand(CliInput& input, std::ostream& out, std::ostream& err) {
    TransferOptions options;
    parse(input.args, options);  // checked

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

    CommandTransferUi ui(*options.out, out, err);
    TransferSession session(*link, ui);
    const bool started = session.OnDataTransfer();
    session.wait();
    ui.finish();

    // Standard output carries the file itself; what was done is said beside it.
    std::ostream& said = *options.out == "-" ? err : out;
    int status = session.savedUpload() ? 0 : 1;
    if (started && options.saveImage) {
        // Kept whatever happened, so that a failed transfer can be sent in for support.
        const Status s = FileIo::writeAtomically(CommandLine::path(*options.saveImage),
                                                 bytesOf(session.receivedBytes()));
        if (s.ok()) {
            said << "已保存内存映像：" << *options.saveImage << "（"
                 << session.receivedBytes().size() << " 字节）\n";
        } else {
            err << s.message() << '\n';
            status = 1;
        }
    }
    if (const auto& saved = session.savedUpload()) {
        said << "已保存上传数据文件：" << FileIo::displayName(*saved) << "（"
             << session.lastRecordCount() << " 个构件）\n";
    } else {
        err << "未保存上传数据文件。\n";
    }
    return status;
}
