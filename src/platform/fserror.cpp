#include "platform/fserror.h"

#include <cerrno>

namespace vennic {

namespace {

std::string whatText(int number, const std::string& detail)
{
    std::string text = FsError::descriptionOf(number);
    if (!detail.empty())
        text += ": " + detail;
    return text;
}

} // namespace

FsError::FsError(int number, std::string detail)
    : std::runtime_error(whatText(number, detail)), m_number(number), m_detail(std::move(detail))
{
}

std::string FsError::description() const
{
    return descriptionOf(m_number);
}

std::string FsError::descriptionOf(int number)
{
    switch (number) {
    case FsErrorNumber::FileNotFound:
        return "File not found";
    case FsErrorNumber::DeviceIoError:
        return "Device I/O error";
    case FsErrorNumber::FileAlreadyExists:
        return "File already exists";
    case FsErrorNumber::DiskFull:
        return "Disk full";
    case FsErrorNumber::DeviceUnavailable:
        return "Device unavailable";
    case FsErrorNumber::PermissionDenied:
        return "Permission denied";
    case FsErrorNumber::DiskNotReady:
        return "Disk not ready";
    case FsErrorNumber::PathNotFound:
        return "Path not found";
    default:
        return "Path/File access error";
    }
}

FsError FsError::fromErrno(int err, bool folderPath, std::string detail)
{
    switch (err) {
    case ENOENT:
        return FsError(folderPath ? FsErrorNumber::PathNotFound : FsErrorNumber::FileNotFound,
                       std::move(detail));
    case EACCES:
    case EPERM:
    case EROFS:
        return FsError(FsErrorNumber::PermissionDenied, std::move(detail));
    case ENOSPC:
    case EDQUOT:
        return FsError(FsErrorNumber::DiskFull, std::move(detail));
    case EIO:
        return FsError(FsErrorNumber::DeviceIoError, std::move(detail));
    case EEXIST:
        return FsError(FsErrorNumber::FileAlreadyExists, std::move(detail));
    case ENOTDIR:
        return FsError(FsErrorNumber::PathNotFound, std::move(detail));
    default:
        return FsError(FsErrorNumber::PathFileAccessError, std::move(detail));
    }
}

} // namespace vennic
