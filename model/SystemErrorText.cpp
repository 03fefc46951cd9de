#include "model/SystemErrorText.h"

#include <cerrno>

std::string systemErrorText(int errorNumber) {
    switch (errorNumber) {
        case EACCES:
        case EPERM:
            return "没有访问权限";
        case ENOENT:
            return "文件或文件夹不存在";
        case ENOSPC:
            return "磁盘空间不足";
#ifdef EDQUOT
        case EDQUOT:
            return "超出磁盘配额";
#endif
        case EFBIG:
            return "文件过大，超出了允许的大小";
        case EROFS:
            return "文件系统是只读的";
        case EISDIR:
            return "这是一个文件夹";
        case ENOTDIR:
            return "路径中有一部分不是文件夹";
        case ENAMETOOLONG:
            return "文件名过长";
        case EIO:
            return "读写设备出错";
        case EMFILE:
        case ENFILE:
            return "打开的文件过多";
        case EBUSY:
        case ETXTBSY:
            return "文件正被占用";
        case ELOOP:
            return "符号链接层数过多";
        case EEXIST:
            return "文件已存在";
        case EINVAL:
            return "参数无效";
        case EPIPE:
            return "读取的一方已关闭";
        case EXDEV:
            return "不能跨文件系统移动文件";
        default:
            return "系统错误（代码 " + std::to_string(errorNumber) + "）";
    }
}
