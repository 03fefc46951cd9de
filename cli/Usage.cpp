#include "cli/Commands.h"

const char* usageText() {
    return "用法:\n"
           "  corvane-cli show FILE [--json]\n"
           "      显示工程文件(.pro)或上传数据文件(.vexo)的内容\n"
           "  corvane-cli new-project OUT.pro --name TEXT [--basis TEXT] [--unit TEXT]\n"
           "                          [--instrument TEXT] [--add UPLOAD.vexo]...\n"
           "      新建工程，并按 H、Z、W、P 顺序加入各上传数据文件的全部构件\n"
           "  corvane-cli export-csv FILE [-o OUT.csv]\n"
           "      把每个测点导出为一行 CSV（UTF-8，带字节顺序标记）\n"
           "  corvane-cli transfer (--simulate IMAGE | --demo | --usb [VID:PID]) -o OUT.vexo\n"
           "                       [--save-image FILE]\n"
           "      从仪器（或模拟仪器）读取全部测量数据并保存为上传数据文件\n"
           "  corvane-cli report PROJECT.pro --table thickness|diameter|spacing\n"
           "                     [--components CODE,...] (-o OUT.pdf | --json)\n"
           "      生成检测记录表（保护层厚度、公称直径、间距）的 PDF，\n"
           "      或以 JSON 列出填入记录表的参数和明细行；不给 --components 时选中全部构件\n"
           "  corvane-cli chart FILE --component CODE [--occurrence N] [--size WxH]\n"
           "                    [--scale F] -o OUT.png\n"
           "      按程序的样子画出构件面板（图表和属性表），不需要显示器；--size 为面板大小\n"
           "      （默认 870x370），--scale 为显示比例（默认 1），--occurrence 选第 N "
           "个同编号构件\n";
}
