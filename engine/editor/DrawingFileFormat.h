#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cad {

class Database;

// What a file format keeps about a drawing between reading and writing it (version, code page,
// sections it does not model); opaque to the document manager.
class DrawingFileData {
public:
    virtual ~DrawingFileData() = default;
};

struct LoadedDrawing {
    std::unique_ptr<Database> database;
    std::unique_ptr<DrawingFileData> fileData;
    std::vector<std::string> warnings;  // repairs made while reading, each naming its line
};

// Reads and writes drawing files for the document manager.
class DrawingFileFormat {
public:
    virtual ~DrawingFileFormat() = default;
    // Nothing, with error set to a message naming the file (and line where it can), on failure.
    virtual std::optional<LoadedDrawing> read(const std::string& path, std::string& error) = 0;
    // fileData is what read gave for this drawing, or nullptr for a new one. The write replaces
    // the file atomically (engine/io/AtomicFile.h): when it fails, the old file is as it was.
    virtual bool write(Database& database, const DrawingFileData* fileData, const std::string& path,
                       std::string& error) = 0;
};

// The DXF format of this engine.
std::unique_ptr<DrawingFileFormat> makeDxfFileFormat();

}  // namespace cad
