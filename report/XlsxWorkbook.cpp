#include "report/XlsxWorkbook.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>
#include <utility>

#include "model/FileIo.h"

namespace {

// An edited value's light fill: a pale yellow that prints as a light grey.
constexpr lxw_color_t editedFill = 0xFFF2CC;

std::string failure(const std::string& why) {
    const std::string end = "。";
    const bool ended =
        why.size() >= end.size() && why.compare(why.size() - end.size(), end.size(), end) == 0;
    return "生成 Excel 工作簿失败：" + why + (ended ? "" : end);
}

std::string errorText(lxw_error e) {
    switch (e) {
        case LXW_ERROR_MEMORY_MALLOC_FAILED:
            return "内存不足";
        case LXW_ERROR_CREATING_XLSX_FILE:
        case LXW_ERROR_CREATING_TMPFILE:
        case LXW_ERROR_READING_TMPFILE:
            return "无法写入临时文件";
        case LXW_ERROR_ZIP_FILE_OPERATION:
        case LXW_ERROR_ZIP_PARAMETER_ERROR:
        case LXW_ERROR_ZIP_BAD_ZIP_FILE:
        case LXW_ERROR_ZIP_INTERNAL_ERROR:
        case LXW_ERROR_ZIP_FILE_ADD:
        case LXW_ERROR_ZIP_CLOSE:
            return "无法压缩工作簿";
        case LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED:
        case LXW_ERROR_INVALID_SHEETNAME_CHARACTER:
        case LXW_ERROR_SHEETNAME_START_END_APOSTROPHE:
        case LXW_ERROR_SHEETNAME_ALREADY_USED:
            return "工作表名称无效或重复";
        case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
            return "有一格的文字超过 32767 个字符";
        case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
            return "表格超出了工作表的大小（1048576 行、16384 列）";
        default:
            return "写入工作簿出错（代码 " + std::to_string(static_cast<int>(e)) + "）";
    }
}

// The workbook closes (and with it frees everything) whatever way the writing ends.
struct WorkbookCloser {
    void operator()(lxw_workbook* w) const {
        if (w) workbook_close(w);
    }
};
using WorkbookPtr = std::unique_ptr<lxw_workbook, WorkbookCloser>;

class SheetWriter {
public:
    SheetWriter(lxw_workbook* workbook, const WorkbookSheet& sheet)
        : workbook_(workbook), sheet_(sheet) {}

    lxw_error write() {
        lxw_error e = workbook_validate_sheet_name(workbook_, sheet_.name.c_str());
        if (e != LXW_NO_ERROR) return e;
        ws_ = workbook_add_worksheet(workbook_, sheet_.name.c_str());
        if (!ws_) return LXW_ERROR_MEMORY_MALLOC_FAILED;
        layPage();
        for (std::size_t c = 0; c < sheet_.columnWidths.size() && e == LXW_NO_ERROR; ++c) {
            e = worksheet_set_column(ws_, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                     sheet_.columnWidths[c], nullptr);
        }
        for (auto it = sheet_.rowHeights.begin(); it != sheet_.rowHeights.end() && !e; ++it) {
            e = worksheet_set_row(ws_, static_cast<lxw_row_t>(it->first), it->second, nullptr);
        }
        for (auto cell = sheet_.cells.begin(); cell != sheet_.cells.end() && !e; ++cell) {
            e = writeCell(*cell);
        }
        return e;
    }

private:
    void layPage() {
        worksheet_set_paper(ws_, static_cast<std::uint8_t>(sheet_.paper));
        if (sheet_.landscape) {
            worksheet_set_landscape(ws_);
        } else {
            worksheet_set_portrait(ws_);
        }
        const double* m = sheet_.margins;
        worksheet_set_margins(ws_, m[0], m[2], m[1], m[3]);
        if (sheet_.repeatFirst >= 0) {
            worksheet_repeat_rows(ws_, static_cast<lxw_row_t>(sheet_.repeatFirst),
                                  static_cast<lxw_row_t>(sheet_.repeatLast));
        }
        if (!sheet_.footer.empty()) worksheet_set_footer(ws_, sheet_.footer.c_str());
        if (sheet_.fitToWidth) worksheet_fit_to_pages(ws_, 1, 0);
        if (sheet_.frozenRows > 0) {
            worksheet_freeze_panes(ws_, static_cast<lxw_row_t>(sheet_.frozenRows), 0);
        }
    }

    lxw_error writeCell(const SheetCell& cell) {
        lxw_format* f = format(cell.style, cell.align, cell.edited);
        const auto row = static_cast<lxw_row_t>(cell.row);
        const auto col = static_cast<lxw_col_t>(cell.column);
        if (!cell.note.empty()) {
            if (const lxw_error e = writeNote(row, col, cell.note); e != LXW_NO_ERROR) return e;
        }
        if (cell.merged()) {
            const lxw_error e =
                worksheet_merge_range(ws_, row, col, static_cast<lxw_row_t>(cell.lastRow),
                                      static_cast<lxw_col_t>(cell.lastColumn), "", f);
            if (e != LXW_NO_ERROR) return e;
        }
        if (const auto* n = std::get_if<std::int32_t>(&cell.value)) {
            return worksheet_write_number(ws_, row, col, *n, f);
        }
        if (const auto* text = std::get_if<std::string>(&cell.value)) {
            return worksheet_write_string(ws_, row, col, text->c_str(), f);
        }
        return cell.merged() ? LXW_NO_ERROR : worksheet_write_blank(ws_, row, col, f);
    }

    // The note box as high as its lines wrapped at its width: a CJK character one em wide, any
    // other half an em.
    lxw_error writeNote(lxw_row_t row, lxw_col_t col, const std::string& note) {
        std::string author = "Corvane", font = sheet_.fontFamily;  // the writer copies them
        lxw_comment_options options{};
        options.author = author.data();
        options.font_name = font.data();
        options.font_size = sheet_.tablePoints;
        constexpr double width = 300;
        const double em = sheet_.tablePoints * 96 / 72;  // pixels
        double lines = 0, ems = 0;
        for (std::size_t i = 0; i <= note.size(); ++i) {
            const auto byte = i < note.size() ? static_cast<unsigned char>(note[i]) : '\n';
            if (byte == '\n') {
                lines += std::max(1.0, std::ceil(ems * em / (width - 10)));
                ems = 0;
            } else if (byte < 0x80) {
                ems += 0.5;
            } else if (byte >= 0xC0) {
                ems += 1;  // the first byte of a character; the others follow it
            }
        }
        options.width = static_cast<std::uint16_t>(width);
        options.height = static_cast<std::uint16_t>(std::min(400.0, 12 + lines * em * 1.4));
        return worksheet_write_comment_opt(ws_, row, col, note.c_str(), &options);
    }

    lxw_format* format(SheetStyle style, SheetAlign align, bool edited) {
        lxw_format*& f = formats_[{style, align, edited}];
        if (f) return f;
        f = workbook_add_format(workbook_);
        if (edited) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, editedFill);
        }
        format_set_font_name(f, sheet_.fontFamily.c_str());
        double points = sheet_.tablePoints;
        bool ruled = true;
        bool wrapped = false;
        switch (style) {
            case SheetStyle::Title:
                points = sheet_.titlePoints;
                format_set_bold(f);
                ruled = false;
                break;
            case SheetStyle::Label:
            case SheetStyle::Value:
            case SheetStyle::ListCell:
                points = sheet_.textPoints;
                break;
            case SheetStyle::ListCaption:
                points = sheet_.textPoints;
                format_set_bold(f);
                wrapped = true;
                break;
            case SheetStyle::Signature:
                points = sheet_.textPoints;
                ruled = false;
                break;
            case SheetStyle::Caption:
            case SheetStyle::Note:
                wrapped = true;
                break;
            case SheetStyle::Cell:
                break;
        }
        format_set_font_size(f, points);
        if (ruled) format_set_border(f, LXW_BORDER_THIN);
        if (wrapped) format_set_text_wrap(f);
        format_set_align(f, align == SheetAlign::Left    ? LXW_ALIGN_LEFT
                            : align == SheetAlign::Right ? LXW_ALIGN_RIGHT
                                                         : LXW_ALIGN_CENTER);
        format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
        return f;
    }

    lxw_workbook* workbook_;
    const WorkbookSheet& sheet_;
    lxw_worksheet* ws_ = nullptr;
    std::map<std::tuple<SheetStyle, SheetAlign, bool>, lxw_format*> formats_;
};

}  // namespace

Result<std::string> XlsxWorkbook::bytes(const std::vector<WorkbookSheet>& sheets) {
    // Readable by its owner only: the tables may be a customer's.
    QTemporaryDir folder(QDir(QDir::tempPath()).filePath(QStringLiteral("corvane-xlsx-XXXXXX")));
    if (!folder.isValid()) {
        return Error{failure("无法在“" + QDir::toNativeSeparators(QDir::tempPath()).toStdString() +
                             "”中建立临时文件夹")};
    }
    const std::string path =
        QDir(folder.path()).filePath(QStringLiteral("book.xlsx")).toStdString();
    std::string scratch = folder.path().toStdString();
    lxw_workbook_options options{};
    options.tmpdir = scratch.data();
    WorkbookPtr workbook(workbook_new_opt(path.c_str(), &options));
    if (!workbook) return Error{failure(errorText(LXW_ERROR_MEMORY_MALLOC_FAILED))};

    for (const WorkbookSheet& sheet : sheets) {
        if (lxw_error e = SheetWriter(workbook.get(), sheet).write(); e != LXW_NO_ERROR) {
            return Error{failure("工作表“" + sheet.name + "”：" + errorText(e))};
        }
    }
    if (lxw_error e = workbook_close(workbook.release()); e != LXW_NO_ERROR) {
        return Error{failure(errorText(e))};
    }
    Result<std::string> written = FileIo::readAll(path);
    if (!written) return Error{failure(written.message())};
    return written;
}
