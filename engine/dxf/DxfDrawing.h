#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/db/Database.h"
#include "engine/db/RawTags.h"

namespace cad {

// File-level facts a drawing keeps between reading and writing, beyond its database.
struct DxfFileInfo {
    std::string version = "AC1032";    // $ACADVER of the file read; new drawings AC1032
    std::string codePage = "ANSI_1252";
    std::string lineEnding = "\r\n";
    std::string fileName;
    // Sections the engine does not model, in file order with the section before which each stood:
    // CLASSES, THUMBNAILIMAGE, ACDSDATA and any unknown one, kept as their text.
    struct RawSection {
        std::string name;
        SourceSpan text;  // from `0 SECTION` to `0 ENDSEC` inclusive
    };
    std::vector<RawSection> rawSections;
    // Tables the engine does not know, kept as text and written at the end of TABLES.
    std::vector<SourceSpan> rawTables;
    // Handles of the OBJECTS section in file order; objects not listed follow in database order.
    std::vector<Handle> objectOrder;
};

struct DxfDrawing {
    std::unique_ptr<Database> database;
    DxfFileInfo file;
    std::vector<std::string> warnings;  // repairs made while reading, each naming its line
    bool readInOnePass = false;  // objects were built as the text was scanned, none read twice
};

// Reads an ASCII DXF file (R12 to R2018). Damage that can be repaired safely (duplicate or empty
// handles, missing owners, lost table heads, a missing EOF) is repaired and listed in warnings;
// anything else throws DxfError naming the file and line.
DxfDrawing readDxfDrawing(const std::string& path);
DxfDrawing readDxfDrawingText(std::string text, const std::string& fileName);

// The file text of a drawing. Unchanged objects read from a file are copied from their source
// text; new or changed ones are generated. R12 drawings are written as R2000.
std::string writeDxfDrawing(Database& database, const DxfFileInfo& file);
// Writes atomically (temporary file beside the target, synced, renamed over it).
void saveDxfDrawing(Database& database, const DxfFileInfo& file, const std::string& path);

}  // namespace cad
