#include "core/FileUtilities.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "engine/api/Dialogs.h"
#include "engine/api/Editor.h"

namespace {

constexpr const char* kFile = __FILE__;
constexpr std::string_view kInvalidNameCharacters = "*?\"<>|";

char separator(PathSyntax syntax) { return syntax == PathSyntax::Windows ? '\\' : '/'; }

bool contains(const std::string& text, char c) { return text.find(c) != std::string::npos; }

bool hasStatus(const std::string& path) {
    struct stat status{};
    return ::stat(path.c_str(), &status) == 0;
}

std::string withoutTrailingSeparator(std::string path, PathSyntax syntax) {
    const char sep = separator(syntax);
    // The POSIX root keeps its only character.
    const bool root = syntax == PathSyntax::Posix && path.size() == 1;
    if (!path.empty() && path.back() == sep && !root) path.pop_back();
    return path;
}

bool ensureDirectory(const std::string& requested, PathSyntax syntax) {
    const std::string path = withoutTrailingSeparator(requested, syntax);
    if (hasStatus(path)) return true;
    const std::size_t last = path.rfind(separator(syntax));
    if (last == std::string::npos) return false;
    const std::string parent = (syntax == PathSyntax::Posix && last == 0) ? std::string("/") : path.substr(0, last);
    if (!ensureDirectory(parent, syntax)) return false;
    if (::mkdir(path.c_str(), 0777) != 0) {
        if (errno == EACCES || errno == EPERM)
            cad::printf("Cannot create %s - Access denied\n", path);
        else
            cad::printf("Cannot create %s\n", path);
        return false;
    }
    return true;
}

}  // namespace

bool CFileUtilities::fileExists(const std::string& path) {
    return korvaWrap(kFile, "CFileUtilities::fileExists", [&] { return hasStatus(path); });
}

bool CFileUtilities::directoryExists(const std::string& path, PathSyntax syntax) {
    return korvaWrap(kFile, "CFileUtilities::directoryExists",
                     [&] { return hasStatus(withoutTrailingSeparator(path, syntax)); });
}

bool CFileUtilities::ensureDirectoryExists(const std::string& path, PathSyntax syntax) {
    return korvaWrap(kFile, "CFileUtilities::ensureDirectoryExists", [&] { return ensureDirectory(path, syntax); });
}

bool CFileUtilities::deleteFile(const std::string& path) {
    return korvaWrap(kFile, "CFileUtilities::deleteFile", [&] { return ::unlink(path.c_str()) == 0; });
}

std::string CFileUtilities::swapFileExtension(const std::string& path, const std::string& oldExtension,
                                              const std::string& newExtension) {
    return korvaWrap(kFile, "CFileUtilities::swapFileExtension", [&] {
        static constexpr const char* kBlanks = " \t\r\n\v\f";
        const std::size_t first = path.find_first_not_of(kBlanks);
        std::string result = first == std::string::npos
                                 ? std::string()
                                 : path.substr(first, path.find_last_not_of(kBlanks) - first + 1);
        if (result.size() >= oldExtension.size() &&
            result.compare(result.size() - oldExtension.size(), oldExtension.size(), oldExtension) == 0)
            result.erase(result.size() - oldExtension.size());
        return result + newExtension;
    });
}

int CFileUtilities::checkFilenameSyntax(std::string& name, bool repair, PathSyntax syntax) {
    return korvaWrap(kFile, "CFileUtilities::checkFilenameSyntax", [&] {
        if (name.find_first_of(kInvalidNameCharacters) != std::string::npos) {
            if (!repair) return 0;
            std::erase_if(name, [](char c) { return kInvalidNameCharacters.find(c) != std::string_view::npos; });
        }
        if (syntax == PathSyntax::Windows && CUtilities::occurrenceCount(":", name) >= 2) {
            if (!repair) return 0;
            const std::size_t firstColon = name.find(':');
            std::string rest = name.substr(firstColon + 1);
            std::erase(rest, ':');
            name = name.substr(0, firstColon + 1) + rest;
        }
        const bool leadingSeparator =
            !name.empty() && (name[0] == '/' || (syntax == PathSyntax::Windows && name[0] == '\\'));
        if (leadingSeparator) {
            if (!repair) return 0;
            name.erase(0, 1);
        }
        return 1;
    });
}

void CFileUtilities::checkPathSyntax(std::string& path, PathSyntax syntax) {
    korvaWrap(kFile, "CFileUtilities::checkPathSyntax", [&] {
        if (path.empty()) return;
        std::string repaired;
        for (std::size_t i = 0; i < path.size(); ++i) {
            const char c = path[i];
            if (kInvalidNameCharacters.find(c) != std::string_view::npos) continue;
            if (c == ':' && syntax == PathSyntax::Windows && i != 1) continue;
            repaired += c;
        }
        if (repaired.empty() || repaired.back() != separator(syntax)) repaired += separator(syntax);
        path = std::move(repaired);
    });
}

int CFileUtilities::getPathType(std::string& path, PathSyntax syntax) {
    return korvaWrap(kFile, "CFileUtilities::getPathType", [&] {
        const char sep = separator(syntax);
        const char foreign = syntax == PathSyntax::Windows ? '/' : '\\';
        if (path.empty() || contains(path, foreign)) return kUnusablePath;
        const bool full = syntax == PathSyntax::Windows ? (contains(path, ':') || path.starts_with("\\\\"))
                                                        : path.starts_with('/');
        if (contains(path, sep)) {
            if (contains(path, '.')) return full ? kFullFilePath : kUnusablePath;
            if (!full) return kUnusablePath;
            checkPathSyntax(path, syntax);
            return kFolderPath;
        }
        std::string name = path;
        if (contains(path, '.') && checkFilenameSyntax(name, false, syntax) == 1) return kBareFileName;
        return kUnusablePath;
    });
}

std::string CFileUtilities::browseForFile(const std::string& filter) {
    return korvaWrap(kFile, "CFileUtilities::browseForFile", [&] {
        std::string fullFilter = filter;
        if (!fullFilter.ends_with("||")) fullFilter += "||";
        return cad::openFileDialog(fullFilter);
    });
}
