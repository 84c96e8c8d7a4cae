#include <gtest/gtest.h>

#include <fcntl.h>

#include <cstdio>
#include <string>

#include "engine/db/BlockTableRecord.h"
#include "engine/db/Line.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/dxf/DxfFile.h"
#include "engine/io/FileDescriptor.h"
#include "engine/io/SourceText.h"
#include "tests/engine/dxf/DxfTestSupport.h"

using namespace cad;

namespace {

// A drawing of `lines` lines, a little over 140 bytes each, as a file brinmo wrote.
std::string drawingOfLines(int lines) {
    auto drawing = readDxfDrawingText(
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n"
        "  0\nENDSEC\n  0\nEOF\n",
        "lines.dxf");
    Database& db = *drawing.database;
    auto* space = static_cast<BlockTableRecord*>(db.objectAt(db.modelSpaceId()));
    for (int i = 0; i < lines; ++i)
        EXPECT_EQ(space->appendEntity(std::make_unique<Line>(Point3d(i, 0, 0), Point3d(i, 1000.5, 0))), ErrorStatus::eOk);
    return writeDxfDrawing(db, drawing.file);
}

std::shared_ptr<const SourceText> textOf(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    return SourceText::fromFile(fd.get());
}

const BlockTableRecord& modelSpace(Database& db) {
    return *static_cast<const BlockTableRecord*>(db.objectAt(db.modelSpaceId()));
}

}  // namespace

TEST(DxfMappedFile, LargeFilesAreMappedAndStayReadableAfterTheirPagesAreHandedBack) {
    dxftest::TempDir dir;
    const std::string big(3u << 20, 'x');
    dxftest::spit(dir.file("big.txt"), big.substr(0, 100) + "middle" + big);
    dxftest::spit(dir.file("small.txt"), "0\nEOF\n");

    auto mapped = textOf(dir.file("big.txt"));
    EXPECT_TRUE(mapped->mapped());
    mapped->release(0, mapped->size());
    mapped->release(5, 7);                    // inside one page: nothing to hand back
    mapped->release(10, mapped->size() + 1);  // past the end: ignored
    EXPECT_EQ(mapped->view().substr(100, 6), "middle");
    EXPECT_EQ(mapped->size(), big.size() + 106);

    auto small = textOf(dir.file("small.txt"));
    EXPECT_FALSE(small->mapped());
    EXPECT_EQ(small->view(), "0\nEOF\n");
}

// The save replaces the very file the drawing's text is mapped from, and the text of unchanged
// objects is copied from pages handed back while reading: both must still give the file's bytes.
TEST(DxfMappedFile, ADrawingSavedOverItsOwnMappedFileComesBackWhole) {
    dxftest::TempDir dir;
    const std::string text = drawingOfLines(20000);
    ASSERT_GT(text.size(), 2u << 20);
    const std::string path = dir.file("lines.dxf");
    dxftest::spit(path, text);

    auto drawing = readDxfDrawing(path);
    EXPECT_TRUE(drawing.readInOnePass);
    saveDxfDrawing(*drawing.database, drawing.file, path);
    EXPECT_TRUE(dxftest::slurp(path) == text);

    // Changed objects are written anew among copied ones.
    std::size_t changed = 0;
    for (ObjectId id : modelSpace(*drawing.database).entityIds()) {
        if (++changed % 1000 != 0) continue;
        auto* line = static_cast<Line*>(drawing.database->objectAt(id));
        line->setEndPoint(Point3d(0, 0, 0));
    }
    saveDxfDrawing(*drawing.database, drawing.file, path);
    auto again = readDxfDrawing(path);
    std::size_t collapsed = 0;
    for (ObjectId id : modelSpace(*again.database).entityIds()) {
        const auto* line = static_cast<const Line*>(again.database->objectAt(id));
        if (line->endPoint() == Point3d(0, 0, 0)) ++collapsed;
    }
    EXPECT_EQ(collapsed, 20u);
    EXPECT_EQ(modelSpace(*again.database).entityIds().size(), 20000u);
}
