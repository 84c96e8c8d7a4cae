#include <exception>

#include "engine/db/Database.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/editor/DrawingFileFormat.h"

namespace cad {

namespace {

class DxfFileData : public DrawingFileData {
public:
    explicit DxfFileData(DxfFileInfo info) : info(std::move(info)) {}
    DxfFileInfo info;
};

class DxfFileFormat : public DrawingFileFormat {
public:
    std::optional<LoadedDrawing> read(const std::string& path, std::string& error) override {
        try {
            DxfDrawing drawing = readDxfDrawing(path);
            LoadedDrawing loaded;
            loaded.database = std::move(drawing.database);
            loaded.fileData = std::make_unique<DxfFileData>(std::move(drawing.file));
            loaded.warnings = std::move(drawing.warnings);
            return loaded;
        } catch (const std::exception& e) {
            error = e.what();
            return std::nullopt;
        }
    }

    bool write(Database& database, const DrawingFileData* fileData, const std::string& path,
               std::string& error) override {
        auto* dxf = dynamic_cast<const DxfFileData*>(fileData);
        DxfFileInfo info = dxf ? dxf->info : DxfFileInfo{};
        try {
            saveDxfDrawing(database, info, path);
            return true;
        } catch (const std::exception& e) {
            error = e.what();
            return false;
        }
    }
};

}  // namespace

std::unique_ptr<DrawingFileFormat> makeDxfFileFormat() { return std::make_unique<DxfFileFormat>(); }

}  // namespace cad
