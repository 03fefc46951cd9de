#include "cli/Commands.h"

#include "cli/CommandLine.h"
#include "model/ProjectFile.h"
#include "report/ReportTables.h"

// The commands, one file each: what is wrong with their words, and the run.
std::string showCheck(const CliArguments& args);
int showCommand(CliInput& input, std::ostream& out, std::ostream& err);
std::string newProjectCheck(const CliArguments& args);
int newProjectCommand(CliInput& input, std::ostream& out, std::ostream& err);
std::string exportCsvCheck(const CliArguments& args);
int exportCsvCommand(CliInput& input, std::ostream& out, std::ostream& err);
// A whole instrument transfer without a window: 0 when the upload data file was written.
std::string transferCheck(const CliArguments& args);
int transferCommand(CliInput& input, std::ostream& out, std::ostream& err);
// Needs no application object: it starts one (offscreen) when there is none.
std::string reportCheck(const CliArguments& args);
int reportCommand(CliInput& input, std::ostream& out, std::ostream& err);
// The acceptance judgement of the classed components (the sidecar's classes, changed by the
// options): its JSON, or the judgement table as a PDF. 0 whatever the verdict.
std::string judgeCheck(const CliArguments& args);
int judgeCommand(CliInput& input, std::ostream& out, std::ostream& err);
// The component panel as the program paints it, as a PNG; offscreen unless QT_QPA_PLATFORM
// names another platform.
std::string chartCheck(const CliArguments& args);
// The project's history from its sidecar, with whether its chain verifies: 1 when broken.
std::string historyCheck(const CliArguments& args);
int historyCommand(CliInput& input, std::ostream& out, std::ostream& err);
int chartCommand(CliInput& input, std::ostream& out, std::ostream& err);
// Changes values of one component through the project document, as the panel does, and saves
// the project with its history; all or nothing. Prints nothing when it succeeds.
std::string setCheck(const CliArguments& args);
int setCommand(CliInput& input, std::ostream& out, std::ostream& err);

namespace {

using Reads = CliCommand::Reads;

using V = CliOption::Value;

constexpr CliOption showOptions[] = {{"--json", V::None}};
constexpr CliOption newProjectOptions[] = {{"--name", V::Required, false, true},
                                           {"--basis", V::Required, false, true},
                                           {"--unit", V::Required, false, true},
                                           {"--instrument", V::Required, false, true},
                                           {"--add", V::Required, true}};
constexpr CliOption exportCsvOptions[] = {{"-o"}};
constexpr CliOption transferOptions[] = {
    {"--simulate"}, {"--demo", V::None}, {"--usb", V::Optional}, {"-o"}, {"--save-image"}};
constexpr CliOption reportOptions[] = {{"--table", V::Required, true},
                                       {"--components", V::Required, true, true},
                                       {"-o"},
                                       {"--format"},
                                       {"--json", V::None},
                                       {"--mark-edits", V::None}};
constexpr CliOption judgeOptions[] = {{"--beam", V::Required, false, true},
                                      {"--slab", V::Required, false, true},
                                      {"--second", V::Required, false, true},
                                      {"--none", V::Required, false, true},
                                      {"--accept-unconfirmed", V::None},
                                      {"--json", V::None},
                                      {"-o"},
                                      {"--format"}};
constexpr CliOption chartOptions[] = {
    {"--component", V::Required, false, true}, {"--occurrence"}, {"--size"}, {"--scale"}, {"-o"}};

constexpr CliOption historyOptions[] = {{"--component", V::Required, false, true},
                                        {"--json", V::None}};

constexpr CliOption setOptions[] = {{"--component", V::Required, false, true},
                                    {"--occurrence"},
                                    {"--point"},
                                    {"--vertical", V::None}};

constexpr CliCommand commands[] = {
    {"show",
     "show FILE [--json]\n"
     "      显示工程文件(.pro)或上传数据文件(.vexo)的内容；FILE 为 - 时读标准输入",
     showOptions, Reads::AnyFile, showCheck, showCommand},
    {"new-project",
     "new-project OUT.pro --name TEXT [--basis TEXT] [--unit TEXT]\n"
     "                          [--instrument TEXT] [--add UPLOAD.vexo]...\n"
     "      新建工程，并按 H、Z、W、P 顺序加入各上传数据文件的全部构件；OUT.pro 为 - 时\n"
     "      写到标准输出",
     newProjectOptions, Reads::Nothing, newProjectCheck, newProjectCommand},
    {"export-csv",
     "export-csv FILE [-o OUT.csv]\n"
     "      把每个测点导出为一行 CSV（UTF-8，带字节顺序标记）；FILE 为 - 时读标准输入，\n"
     "      不给 -o 或 -o - 时写到标准输出",
     exportCsvOptions, Reads::WholeFile, exportCsvCheck, exportCsvCommand},
    {"transfer",
     "transfer (--simulate IMAGE | --demo | --usb [VID:PID]) -o OUT.vexo\n"
     "                       [--save-image FILE]\n"
     "      从仪器（或模拟仪器）读取全部测量数据并保存为上传数据文件（-o - 写到标准输出）",
     transferOptions, Reads::Nothing, transferCheck, transferCommand},
    {"report",
     "report PROJECT.pro --table {tables}...\n"
     "                     [--components CODE,...] (-o OUT.pdf | -o OUT.xlsx | --json)\n"
     "                     [--format pdf|xlsx] [--mark-edits]\n"
     "      生成检测记录表（保护层厚度、公称直径、间距）的 PDF，或以 JSON 列出填入记录表的\n"
     "      参数和明细行；-o 的名称以 .xlsx 结尾时生成 Excel 工作簿，可给多个 --table，每表\n"
     "      一个工作表，另有“构件”和“测点”两表；-o - 写到标准输出，此时用 --format xlsx\n"
     "      选择工作簿（--format 优先于扩展名）；不给 --components 时选中全部构件；\n"
     "      --mark-edits 在修改过的数值后加“*”并在表下注明，工作簿中则给该格加底色和批注\n"
     "      （原值、修改人和时间；JSON 不受影响）",
     reportOptions, Reads::Project, reportCheck, reportCommand,
     "不是工程文件，记录表只能由工程生成"},
    {"judge",
     "judge PROJECT.pro [--beam CODES] [--slab CODES] [--second CODES]\n"
     "                    [--none CODES] [--accept-unconfirmed]\n"
     "                    (--json | -o OUT.pdf | -o OUT.xlsx) [--format pdf|xlsx]\n"
     "      按 GB 50204-2015 附录 E 判定梁类、板类构件的保护层厚度：类别和抽样取自工程旁的\n"
     "      附加信息文件（PROJECT.pro.corvane），选项按编号（以逗号分隔，含同编号的全部构件）\n"
     "      改设梁类、板类、不参与或第二次抽样；--json 输出判定结果，-o 输出验收判定表的 PDF\n"
     "      或 Excel 工作簿（.xlsx，与 report 相同；-o - 写到标准输出）；附加信息与工程文件\n"
     "      不符而类别未经确认时不作判定，除非给出 --accept-unconfirmed",
     judgeOptions, Reads::Project, judgeCheck, judgeCommand, "不是工程文件，只能判定工程中的构件"},
    {"chart",
     "chart FILE --component CODE [--occurrence N] [--size WxH]\n"
     "                    [--scale F] -o OUT.png\n"
     "      按程序的样子画出构件面板（图表和属性表），不需要显示器；--size 为面板大小\n"
     "      （默认 870x370），--scale 为显示比例（默认 1），--occurrence 选第 N 个同编号构件",
     chartOptions, Reads::WholeFile, chartCheck, chartCommand},
    {"history",
     "history PROJECT.pro [--component CODE] [--json]\n"
     "      列出工程附加信息文件中的修改记录（由旧到新）并验证其哈希链；--component 只列\n"
     "      该编号的条目；记录被改动过时退出码为 1",
     historyOptions, Reads::Project, historyCheck, historyCommand,
     "不是工程文件，修改记录属于工程"},
    {"set",
     "set PROJECT.pro --component CODE [--occurrence N] [--point N [--vertical]]\n"
     "                  FIELD=VALUE...\n"
     "      像构件面板一样修改一个构件的值并保存工程，修改记入附加信息文件：不给 --point 时\n"
     "      FIELD 为 name 或设计值、偏差值（名称同 show 的 JSON）；给 --point N（从 1 起）时为\n"
     "      该测点的 thickness、diameter 或 position，--vertical 选网格构件的垂直测点；\n"
     "      VALUE 为不带单位的整数；有一项不合要求时什么也不改",
     setOptions, Reads::Project, setCheck, setCommand, "不是工程文件，只能修改工程中的构件"},
};

// The file a command reads, or nullopt when it is refused (told on `err`).
std::optional<DataFile> fileFor(const CliCommand& c, const std::string& source, std::ostream& err) {
    // A command of projects names what it wants, but an upload is still told apart from
    // neither kind, so its refusal can say why an upload will not do.
    Result<DataFile> loaded = DataFile::load(
        CommandLine::path(source),
        c.reads == Reads::Project ? ProjectFile::wrongMagicMessage : DataFile::eitherKindMessage);
    if (c.reads == Reads::AnyFile) {
        // Whatever could be read is shown, with why the rest could not.
        if (loaded.ok()) return std::move(loaded).value();
        DataFile none;
        none.damage = loaded.message();
        return none;
    }
    // Half a file worked on would look like a whole one.
    const std::string& refusal = !loaded.ok() ? loaded.message() : loaded->damage;
    if (!refusal.empty()) {
        err << source << ": " << refusal << '\n';
        return std::nullopt;
    }
    if (c.reads == Reads::Project && loaded->kind != DataFile::Kind::Project) {
        err << source << ": " << c.notAProject << '\n';
        return std::nullopt;
    }
    return std::move(loaded).value();
}

}  // namespace

std::span<const CliCommand> cliCommands() {
    return commands;
}

std::string usageText() {
    std::string text = "用法:\n";
    for (const CliCommand& c : commands) {
        std::string usage(c.usage);
        if (const auto at = usage.find("{tables}"); at != std::string::npos) {
            usage.replace(at, 8, tickedTableWords("|", "|"));
        }
        text += "  corvane-cli " + usage + "\n";
    }
    return text;
}

int runCliCommand(std::string_view name, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err) {
    for (const CliCommand& c : commands) {
        if (c.name != name) continue;
        CliArguments parsed(c.options);
        if (Status s = parsed.parse(args); !s) {
            err << s.message() << '\n' << usageText();
            return 2;
        }
        if (const std::string problem = c.check(parsed); !problem.empty()) {
            err << problem << '\n' << usageText();
            return 2;
        }
        CliInput input{parsed, {}, {}};
        if (c.reads != Reads::Nothing) {
            input.source = parsed.positional().front();
            std::optional<DataFile> file = fileFor(c, input.source, err);
            if (!file) return 1;
            input.file = std::move(*file);
        }
        return c.run(input, out, err);
    }
    err << "未知命令 " << name << '\n' << usageText();
    return 2;
}
