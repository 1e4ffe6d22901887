#pragma once

#include <stdexcept>
#include <string>

namespace vennic {

/// Error numbers that cross the file-system interface. The handlers show an error as its
/// description immediately followed by its number ("Path not found76").
namespace FsErrorNumber {
constexpr int FileNotFound = 53;
constexpr int DeviceIoError = 57;
constexpr int FileAlreadyExists = 58;
constexpr int DiskFull = 61;
constexpr int DeviceUnavailable = 68;
constexpr int PermissionDenied = 70;
constexpr int DiskNotReady = 71;
constexpr int PathFileAccessError = 75;
constexpr int PathNotFound = 76;
} // namespace FsErrorNumber

/// The one exception type of the file-system services: a number, its fixed description, and
/// an optional detail (the system's own reason) for messages that need more than the number.
class FsError : public std::runtime_error {
public:
    FsError(int number, std::string detail = {});

    int number() const { return m_number; }
    /// The fixed text for the number, such as "Path not found".
    std::string description() const;
    /// The error as the window shows it: the description immediately followed by the number.
    std::string shown() const { return description() + std::to_string(m_number); }
    /// The system's reason when one is known (may be empty).
    const std::string& detail() const { return m_detail; }

    /// Maps an errno value. ENOENT means "Path not found" for a folder path and "File not
    /// found" for a file path.
    static FsError fromErrno(int err, bool folderPath, std::string detail = {});
    static std::string descriptionOf(int number);

private:
    int m_number;
    std::string m_detail;
};

} // namespace vennic
