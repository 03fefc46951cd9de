#include "cli/CliArguments.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/NewProjectHistory.h"
#include "cli/OutputFile.h"
#include "model/FileIo.h"
#include "model/GbkCodec.h"
#include "model/ProjectFile.h"
#include "model/SetAside.h"
#include "model/SidecarPath.h"
#include "model/StoredText.h"
#include "model/UploadFile.h"

std::string newProjectCheck(const CliArguments& a) {
    if (a.positional().size() != 1) return "new-project 需要一个输出文件";
    if (a.value("--name").value_or("").empty()) return "new-project 需要非空的 --name（工程名称）";
    // A character GBK cannot hold would be stored as "?" without a word.
    for (const char* option : {"--name", "--basis", "--unit", "--instrument"}) {
        const Status storable = storedText::checkStorable(option, a.value(option).value_or(""));
        if (!storable) return storable.message();
    }
    return {};
}

int newProjectCommand(CliInput& input, std::ostream& out, std::ostream& err) {
    const CliArguments& a = input.args;

    // Each text is cut to its field at a character boundary, as the settings dialog does, and
    // the cut is told in the dialog's words for the field.
    ProjectInfo info;
    const auto store = [&](auto& field, const char* option, const char* label) {
        const std::string text = a.value(option).value_or("");
        if (storedText::isCut(text, field.capacity)) {
            err << storedText::cutNotice(label, field.capacity) << '\n';
        }
        field.assign(gbk::fromUtf8(text));
    };
    store(info.projectName, "--name", "工程名称");
    store(info.testBasis, "--basis", "检测依据");
    store(info.testUnit, "--unit", "检测单位");
    store(info.instrument, "--instrument", "仪器型号");

    ComponentList components;
    std::vector<NewProjectUpload> uploads;
    for (const std::string& upload : a.values("--add")) {
        std::string bytes;
        Result<ComponentList> r = UploadFile::read(CommandLine::path(upload), &bytes);
        if (!r.ok()) {
            err << upload << ": " << r.message() << '\n';
            return 1;
        }
        uploads.push_back({upload, *r, std::move(bytes)});
        for (auto& c : *r) insertComponent(components, std::move(c));
    }

    const std::string& target = a.positional()[0];
    const bool toOutput = target == "-";
    // A project written over another must not inherit its sidecar: the classes there name
    // components of the old one. It is set aside, never deleted: it may be evidence.
    const std::filesystem::path sidecar =
        toOutput ? std::filesystem::path() : sidecarPathOf(CommandLine::path(target));
    std::error_code ec;
    const bool oldSidecar =
        !toOutput && std::filesystem::is_regular_file(std::filesystem::status(sidecar, ec));
    if (Status s = OutputFile::write(target, ProjectFile::encode(info, components), out); !s) {
        err << s.message() << '\n';
        return 1;
    }
    if (oldSidecar) {
        const Result<std::filesystem::path> aside =
            SetAside::rename(sidecar, "replaced", SetAside::stampNow());
        if (!aside) {
            err << aside.message() << '\n';
            return 1;
        }
        err << "原有的附加信息文件“" << FileIo::displayName(sidecar)
            << "”属于被替换的工程，已改名为“" << FileIo::displayName(aside->filename())
            << "”保留。\n";
    }
    if (!toOutput) {
        const NewProjectRecord record = recordNewProject(CommandLine::path(target), info, uploads);
        if (!record.failure.empty()) {
            err << record.failure << '\n';
            return 1;
        }
        if (!record.notice.empty()) err << record.notice << '\n';
    }
    // Standard output ("-") carries the file itself; what was done is said beside it.
    (toOutput ? err : out) << "已创建工程 " << target << "，共 " << components.size()
                           << " 个构件。\n";
    return 0;
}
