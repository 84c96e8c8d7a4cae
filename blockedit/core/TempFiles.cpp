#include "core/TempFiles.h"

#include "core/FileUtilities.h"
#include "core/KorvaWrap.h"

namespace {
constexpr const char* kFile = __FILE__;
}

void CTempFiles::add(const std::string& path) {
    korvaWrap(kFile, "CTempFiles::add", [&] { paths_.push_back(path); });
}

void CTempFiles::deleteTempFiles() {
    korvaWrap(kFile, "CTempFiles::deleteTempFiles", [&] {
        for (const std::string& path : paths_) CFileUtilities::deleteFile(path);
        paths_.clear();
    });
}
