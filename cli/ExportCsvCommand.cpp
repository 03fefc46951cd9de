#include <sstream>

#include "cli/CliArguments.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/DataFile.h"
#include "cli/OutputFile.h"
#include "model/PointRows.h"

namespace {

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string csvCell(const PointCell& cell) {
    if (const auto* n = std::get_if<std::int32_t>(&cell)) return std::to_string(*n);
    return csvField(std::get<std::string>(cell));
}

}  // namespace

std::string exportCsvCheck(const CliArguments& a) {
    return a.positional().size() == 1 ? "" : "export-csv 需要一个文件";
}

int exportCsvCommand(CliInput& input, std::ostream& out, std::ostream& err) {
    const DataFile& file = input.file;

    std::ostringstream csv;
    csv << "\xEF\xBB\xBF";
    const char* comma = "";
    for (std::string_view caption : pointColumnCaptions) {
        csv << comma << caption;
        comma = ",";
    }
    csv << "\r\n";
    for (const auto& c : file.components) {
        for (const std::vector<PointCell>& row : pointRows(c)) {
            comma = "";
            for (const PointCell& cell : row) {
                csv << comma << csvCell(cell);
                comma = ",";
            }
            csv << "\r\n";
        }
    }

    if (Status s = OutputFile::write(input.args.value("-o").value_or("-"), csv.str(), out);
        !s.ok()) {
        err << s.message() << '\n';
        return 1;
    }
    return 0;
}
