#pragma once

#include "platform/filesystem.h"

#include <memory>

namespace vennic::test {

/// The folder at `path` as a command opens it again after listing it now.
inline std::unique_ptr<FolderHandle> openListed(FileSystem& fileSystem, const NativeString& path)
{
    return fileSystem.OpenListedFolder(fileSystem.GetFolder(path)->Identity());
}

} // namespace vennic::test
