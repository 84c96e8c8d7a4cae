#pragma once
#include <string>

// How a path is spelled. Both sets of rules are kept: Windows paths still arrive in report files
// and preferences written on Windows machines.
//
// Windows: folders are separated by '\'; a full path has a drive ("C:\...") or is a network path
// ("\\server\..."); '/' is not accepted; the characters * ? " < > | and any ':' that is not the
// drive's are invalid.
//
// POSIX, the rules of this platform and the default:
//   - folders are separated by '/'; a full path starts with '/'; a path holding '\' is refused by
//     getPathType as written on Windows;
//   - * ? " < > | are still taken out of names and folders, so that files stay usable on the
//     Windows machines that share them; ':' is an ordinary character (there are no drives);
//   - checkFilenameSyntax refuses (or strips) a leading '/' only; the two-colon rule does not
//     apply;
//   - checkPathSyntax ends a folder with '/';
//   - getPathType: 3 for "" or a path holding '\'; with '/' and '.': 2 when it starts with '/';
//     with '/' but no '.': when it starts with '/', repaired with checkPathSyntax and 1; with
//     neither: 0 for an acceptable file name holding '.'; 3 otherwise;
//   - directoryExists and ensureDirectoryExists drop one trailing '/' (not the root itself) and
//     take the parent of "/name" to be "/". A relative path with no '/' that does not exist
//     cannot be created, as a Windows path without '\' cannot.
enum class PathSyntax { Windows, Posix };

#ifdef _WIN32
inline constexpr PathSyntax kNativePathSyntax = PathSyntax::Windows;
#else
inline constexpr PathSyntax kNativePathSyntax = PathSyntax::Posix;
#endif

// Checks and repairs file and folder names, creates folders, asks for files.
class CFileUtilities {
public:
    static constexpr int kBareFileName = 0;
    static constexpr int kFolderPath = 1;
    static constexpr int kFullFilePath = 2;
    static constexpr int kUnusablePath = 3;

    // True when the file system knows the path (file or folder).
    static bool fileExists(const std::string& path);
    // True when the path, less one trailing separator, exists (a file of that name counts too).
    static bool directoryExists(const std::string& path, PathSyntax syntax = kNativePathSyntax);
    // Creates the folder and its missing parents; failures are printed and give false.
    static bool ensureDirectoryExists(const std::string& path, PathSyntax syntax = kNativePathSyntax);
    // False when the file system refuses; nothing is reported.
    static bool deleteFile(const std::string& path);
    // The trimmed path with its ending oldExtension (exact case) replaced by newExtension, or with
    // newExtension appended when it does not end so.
    static std::string swapFileExtension(const std::string& path, const std::string& oldExtension,
                                         const std::string& newExtension);
    // 1 when the name is acceptable or was repaired (repair = true), 0 when it is not.
    static int checkFilenameSyntax(std::string& name, bool repair, PathSyntax syntax = kNativePathSyntax);
    // Repairs a folder path: invalid characters out, a separator at the end. "" stays "".
    static void checkPathSyntax(std::string& path, PathSyntax syntax = kNativePathSyntax);
    // kBareFileName, kFolderPath (the path is repaired), kFullFilePath or kUnusablePath.
    static int getPathType(std::string& path, PathSyntax syntax = kNativePathSyntax);
    // The open-file dialog; "" when cancelled. A filter gets the closing "||" it lacks.
    static std::string browseForFile(const std::string& filter);
};
