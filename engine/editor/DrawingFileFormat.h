#pragma once
#include <memory>
#include <string>

namespace cad {

class Database;

// Reads and writes drawing files for the document manager; the DXF support provides the real one.
class DrawingFileFormat {
public:
    virtual ~DrawingFileFormat() = default;
    // Nothing, with error set to a message naming the file (and line where it can), on failure.
    virtual std::unique_ptr<Database> read(const std::string& path, std::string& error) = 0;
    virtual bool write(Database& database, const std::string& path, std::string& error) = 0;
};

}  // namespace cad
