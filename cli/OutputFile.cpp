#include "cli/OutputFile.h"

#include <cerrno>

#include "cli/CommandLine.h"
#include "model/FileIo.h"
#include "model/SystemErrorText.h"

Status OutputFile::write(const std::string& target, std::string_view bytes, std::ostream& out) {
    if (target != "-") return FileIo::writeAtomically(CommandLine::path(target), bytes);
    errno = 0;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) return Error{"写入标准输出失败：" + systemErrorText(errno ? errno : EIO) + "。"};
    return Status::success();
}
