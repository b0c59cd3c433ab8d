// Files that are missing, foreign, cut short or lying: each loads without a crash or a
// hang, says what was wrong in "[3DS] " lines, and keeps what could be read.
#include "models/model3DS.h"
#include "support/TestSupport.h"
#include "Writer3ds.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace writer3ds;

namespace {

// Loads through a buffer of exactly the file's size, so that an over-read is caught.
std::string loadCapturing(model3DS& model, const std::string& bytes)
{
    std::vector<unsigned char> buffer(bytes.begin(), bytes.end());
    testsupport::StdoutCapture capture;
    model.loadFromMemory("data/bad.3ds", buffer.data(), buffer.size(), 1.0f);
    return capture.finish();
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

Chunk goodObject(const std::string& name)
{
    return object(name, {vertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), faceList({{0, 1, 2}}, {materialGroup("m", {0})})});
}

// Replaces the u32 length of the chunk whose header starts at `offset`.
void setLength(std::string& bytes, std::size_t offset, uint32_t length)
{
    for (int i = 0; i < 4; ++i) {
        bytes[offset + 2 + i] = char((length >> (8 * i)) & 0xFF);
    }
}

} // namespace

TEST(model3DSBadFiles, MissingEmptyAndForeignFilesLeaveAnEmptyModel)
{
    testsupport::ScratchDir dir;
    testsupport::WorkingDir cwd(dir.path());
    dir.write("data/empty.3ds", "");
    dir.write("data/picture.3ds", "\x89PNG\r\n\x1a\n not a model at all");
    dir.write("data/short.3ds", "MM\x10");
    std::filesystem::create_directories(dir.path() / "data/folder.3ds");

    model3DS model;
    testsupport::StdoutCapture capture;
    model.loadModel("missing.3ds", 1.0f);
    model.loadModel("empty.3ds", 1.0f);
    model.loadModel("picture.3ds", 1.0f);
    model.loadModel("short.3ds", 1.0f);
    model.loadModel("folder.3ds", 1.0f);
    EXPECT_EQ(capture.finish(),
              "[3DS] ERROR: Could not open 'data/missing.3ds'\n"
              "[3DS] ERROR: Model 'data/empty.3ds' is empty\n"
              "[3DS] ERROR: Model 'data/picture.3ds' is not a valid 3DS file\n"
              "[3DS] ERROR: Model 'data/short.3ds' is not a valid 3DS file\n"
              "[3DS] ERROR: Could not open 'data/folder.3ds'\n");
    EXPECT_TRUE(model.meshes.empty());
    EXPECT_TRUE(model.materials.empty());
}

TEST(model3DSBadFiles, AFailedLoadEmptiesAModelThatHeldAnother)
{
    model3DS model;
    loadCapturing(model, file({goodObject("obj")}));
    ASSERT_EQ(model.meshes.size(), 1u);
    loadCapturing(model, "not a 3ds file");
    EXPECT_TRUE(model.meshes.empty());
}

// A model cut short anywhere keeps every material and object lying wholly before the cut,
// with one line saying where the file stops short.
TEST(model3DSBadFiles, TruncatedAtEveryByte)
{
    const Chunk mat = material("m", {colourBytes(0xA020, 51, 102, 255), map(0xA200, "x.gif")});
    const Chunk a = goodObject("a");
    const std::string whole = file({mat, a, goodObject("b")});
    const std::size_t materialEnd = 22 + mat.bytes().size();   // main, version and editor headers come first
    const std::size_t aEnd = materialEnd + a.bytes().size();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        model3DS model;
        const std::string text = loadCapturing(model, whole.substr(0, size));
        SCOPED_TRACE("cut at " + std::to_string(size));
        if (size == 0) {
            EXPECT_EQ(text, "[3DS] ERROR: Model 'data/bad.3ds' is empty\n");
            continue;
        }
        if (size < 6) {
            EXPECT_EQ(text, "[3DS] ERROR: Model 'data/bad.3ds' is not a valid 3DS file\n");
            continue;
        }
        ASSERT_EQ(model.materials.size(), size >= materialEnd ? 1u : 0u);
        if (size >= materialEnd) {
            EXPECT_FLOAT_EQ(model.materials.at("m").diffuse[2], 1.0f);
        }
        ASSERT_EQ(model.meshes.size(), size >= aEnd ? 1u : 0u);
        if (size >= aEnd) {
            EXPECT_EQ(model.meshes[0].name, "a");
            EXPECT_EQ(model.meshes[0].materialGroups.at("m").size(), 3u);
            EXPECT_FLOAT_EQ(model.maxX, 1.0f);
        } else {
            EXPECT_GT(model.minX, model.maxX);
        }
        // One line on the cut (besides the unsupported map of a whole material), then the load.
        const std::string prefix = "[3DS] WARNING: Model 'data/bad.3ds': ";
        std::size_t lines = 0;
        for (std::size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 1)) {
            ++lines;
        }
        EXPECT_EQ(lines, 1u) << text;
        EXPECT_TRUE(contains(text, "bytes left in the file") || contains(text, "is cut off")) << text;
        EXPECT_TRUE(contains(text, "[3DS] Model 'data/bad.3ds' loaded\n")) << text;
    }
}

TEST(model3DSBadFiles, ALyingChunkStopsTheReadingAndKeepsWhatWasRead)
{
    const std::string first = goodObject("first").bytes();
    const std::string second = goodObject("second").bytes();
    const std::string bytes = Chunk(0x4D4D).add(Chunk(0x3D3D).raw(first + second)).bytes();
    const std::size_t secondObject = 12 + first.size();
    const std::size_t secondVertexList = secondObject + 6 + 7 + 6;   // header, "second\0", mesh header

    model3DS model;
    std::string lying = bytes;
    setLength(lying, secondVertexList, 5000);
    std::string text = loadCapturing(model, lying);
    EXPECT_EQ(text, "[3DS] WARNING: Model 'data/bad.3ds': chunk 0x4110 at offset " + std::to_string(secondVertexList) +
                        " has length 5000 (" + std::to_string(bytes.size() - secondVertexList) +
                        " bytes left in its parent); stopped reading\n"
                        "[3DS] Model 'data/bad.3ds' loaded\n");
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes[0].name, "first");

    // A length below the header's own size would read the same chunk forever.
    std::string zero = bytes;
    setLength(zero, secondVertexList, 0);
    text = loadCapturing(model, zero);
    EXPECT_TRUE(contains(text, "chunk 0x4110 at offset " + std::to_string(secondVertexList) + " has length 0"));
    EXPECT_EQ(model.meshes.size(), 1u);

    // An object that claims to reach past the file.
    std::string object = bytes;
    setLength(object, secondObject, uint32_t(bytes.size()));
    text = loadCapturing(model, object);
    EXPECT_TRUE(contains(text, "chunk 0x4000 at offset " + std::to_string(secondObject)));
    EXPECT_EQ(model.meshes.size(), 1u);
}

TEST(model3DSBadFiles, AMainChunkShorterThanItsHeaderEndsTheReading)
{
    for (uint32_t length : {0u, 5u}) {
        std::string bytes = file({goodObject("obj")});
        setLength(bytes, 0, length);
        model3DS model;
        EXPECT_EQ(loadCapturing(model, bytes),
                  "[3DS] WARNING: Model 'data/bad.3ds': chunk 0x4D4D at offset 0 has length " + std::to_string(length) +
                      " (" + std::to_string(bytes.size()) + " bytes left in the file); stopped reading\n"
                      "[3DS] Model 'data/bad.3ds' loaded\n");
        EXPECT_TRUE(model.meshes.empty());
    }
}

TEST(model3DSBadFiles, ZeroPaddingAfterTheMainChunkIsReportedNotLooped)
{
    model3DS model;
    std::string text = loadCapturing(model, file({goodObject("obj")}) + std::string(64, '\0'));
    EXPECT_TRUE(contains(text, "chunk 0x0000 at offset"));
    EXPECT_TRUE(contains(text, "stopped reading"));
    EXPECT_TRUE(contains(text, "[3DS] Model 'data/bad.3ds' loaded"));
}

TEST(model3DSBadFiles, CountsLargerThanTheirChunksReadOnlyWhatIsThere)
{
    Chunk vertices(0x4110);
    vertices.u16(100).f32(0).f32(0).f32(0).f32(1).f32(0).f32(0).f32(0).f32(1).f32(0);
    Chunk coords(0x4140);
    coords.u16(1000).f32(0.5f).f32(0.5f);
    Chunk group(0x4130);
    group.name("m").u16(50).u16(0);
    Chunk faces(0x4120);
    faces.u16(9).u16(0).u16(1).u16(2).u16(0);
    model3DS model;
    const std::string text = loadCapturing(
        model, file({object("a", {std::move(vertices), std::move(coords), faceList({{0, 1, 2}}, {std::move(group)})}),
                     object("b", {vertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), std::move(faces)})}));
    EXPECT_TRUE(contains(text, "100 vertices need 1200 bytes, 36 left; read 3\n"));
    EXPECT_TRUE(contains(text, "1000 pairs need 8000 bytes, 8 left; read 1\n"));
    EXPECT_TRUE(contains(text, "material group 'm' at offset"));
    EXPECT_TRUE(contains(text, "50 faces need 100 bytes, 2 left; read 1\n"));
    EXPECT_TRUE(contains(text, "object 'a' has 1 texture coordinates for 3 vertices; not used\n"));
    EXPECT_TRUE(contains(text, "9 faces need 72 bytes, 8 left; read 1\n"));
    ASSERT_EQ(model.meshes.size(), 2u);
    EXPECT_EQ(model.meshes[0].vertexCount(), 3u);
    EXPECT_EQ(model.meshes[0].materialGroups.at("m"), (std::vector<uint16_t>{0, 1, 2}));
    EXPECT_EQ(model.meshes[1].triangles, (std::vector<uint16_t>{0, 1, 2}));
}

// One infinite vertex would move the centre out of sight; NaN would spread into the normals.
// Vertices too large for floats once scaled count the same. Faces so large that their
// normals overflow leave those normals zero rather than NaN.
TEST(model3DSBadFiles, VerticesThatAreNotFiniteNumbersDropTheirObject)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    auto triangle = [](const std::string& name, Vertex last) {
        return object(name, {vertexList({{0, 0, 0}, {1, 0, 0}, last}), faceList({{0, 1, 2}}, {materialGroup("m", {0})})});
    };
    auto load = [](model3DS& model, const std::string& whole) {
        std::vector<unsigned char> bytes(whole.begin(), whole.end());
        testsupport::StdoutCapture capture;
        model.loadFromMemory("data/bad.3ds", bytes.data(), bytes.size(), 2.0f);
        return capture.finish();
    };
    model3DS model;
    const std::string text = load(model, file({triangle("far", {inf, 0, 0}), goodObject("kept"),
                                              triangle("nan", {0, nan, 0}), triangle("huge", {3e38f, 0, 0})}));
    EXPECT_TRUE(contains(text, "object 'far' has a vertex that is not a finite number (vertex 2 at offset ")) << text;
    EXPECT_TRUE(contains(text, "object 'nan' has a vertex that is not a finite number (vertex 2 at offset ")) << text;
    EXPECT_TRUE(contains(text, "object 'huge' has a vertex that is not a finite number")) << text;
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes[0].name, "kept");
    EXPECT_FLOAT_EQ(model.maxX, 2.0f);
    EXPECT_FLOAT_EQ(model.centreX, 1.0f);
    EXPECT_FLOAT_EQ(model.centreZ, -1.0f);

    load(model, file({object("wide", {vertexList({{0, 0, 0}, {1e20f, 0, 0}, {0, 1e20f, 0}}), faceList({{0, 1, 2}})})}));
    ASSERT_EQ(model.meshes.size(), 1u);
    for (float component : model.meshes[0].normals) {
        EXPECT_TRUE(std::isfinite(component));
    }
}

// The map file name is scratch shared by every map chunk: a map chunk that names no file,
// because it is cut short or written without one, must not load an earlier material's map.
TEST(model3DSBadFiles, AMapChunkNamingNoFileLoadsNoEarlierMap)
{
    std::string bytes = file({material("first", {map(0xA200, "first.png")}), material("second", {map(0xA200, "second.png")})});
    setLength(bytes, bytes.find("second.png") - 6, 5000);
    model3DS model;
    std::string text = loadCapturing(model, bytes);
    EXPECT_TRUE(contains(text, "chunk 0xA300 at offset ")) << text;
    EXPECT_TRUE(model.materials.at("first").textured);
    ASSERT_EQ(model.materials.count("second"), 1u);
    EXPECT_FALSE(model.materials.at("second").textured);
    // One attempt at first.png: the first material's own.
    const std::string attempt = "Could not open data/first.png";
    EXPECT_NE(text.find(attempt), std::string::npos) << text;
    EXPECT_EQ(text.find(attempt), text.rfind(attempt)) << text;

    text = loadCapturing(model, file({material("first", {map(0xA200, "first.png")}), material("third", {Chunk(0xA200)})}));
    EXPECT_TRUE(contains(text, "[3DS] WARNING: Model 'data/bad.3ds': texture map in material 'third' names no file; none "
                               "loaded\n"))
        << text;
    EXPECT_FALSE(model.materials.at("third").textured);
}

TEST(model3DSBadFiles, IndicesBeyondTheirArraysAreDropped)
{
    model3DS model;
    // Face 1 names vertex 7 of 4; the group names faces 0, 1 (dropped with its face), 2 and 40.
    const std::string text = loadCapturing(
        model, file({object("obj", {vertexList({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}),
                                    faceList({{0, 1, 2}, {0, 2, 7}, {0, 2, 3}}, {materialGroup("m", {0, 1, 2, 40})})})}));
    EXPECT_EQ(text,
              "[3DS] WARNING: Model 'data/bad.3ds': object 'obj' has 1 faces with a vertex index beyond its 4 vertices; dropped\n"
              "[3DS] WARNING: Model 'data/bad.3ds': object 'obj' names 1 faces beyond its 3 faces in material groups; dropped\n"
              "[3DS] Model 'data/bad.3ds' loaded\n");
    ASSERT_EQ(model.meshes.size(), 1u);
    const ModelMesh& mesh = model.meshes[0];
    EXPECT_EQ(mesh.triangles, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
    EXPECT_EQ(mesh.materialGroups.at("m"), (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
}

TEST(model3DSBadFiles, FacesWithoutVerticesGiveAnEmptyButSafeMesh)
{
    model3DS model;
    const std::string text = loadCapturing(model, file({object("obj", {faceList({{0, 1, 2}}, {materialGroup("m", {0})})})}));
    EXPECT_TRUE(contains(text, "beyond its 0 vertices; dropped"));
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_TRUE(model.meshes[0].triangles.empty());
    EXPECT_TRUE(model.meshes[0].materialGroups.at("m").empty());
}

TEST(model3DSBadFiles, NamesWithoutATerminatingZeroStopAtTheirChunk)
{
    model3DS model;
    std::string bytes = file({Chunk(0xAFFF).add(Chunk(0xA000).raw("unterminated")).add(colourBytes(0xA020, 0, 0, 255)),
                              Chunk(0x4000).raw("objectname")});
    std::string text = loadCapturing(model, bytes);
    EXPECT_TRUE(contains(text, "name in chunk at offset"));
    EXPECT_TRUE(contains(text, "has no terminating zero"));
    ASSERT_EQ(model.materials.count("unterminated"), 1u);
    EXPECT_FLOAT_EQ(model.materials.at("unterminated").diffuse[2], 1.0f);
    EXPECT_TRUE(model.meshes.empty());
}

TEST(model3DSBadFiles, ControlCharactersInNamesDoNotBreakConsoleLines)
{
    model3DS model;
    const std::string text = loadCapturing(
        model, file({material("m", {map(0xA200, "evil\n\x1b[2Jname.gif")}),
                     object("a\rb", {vertexList({{0, 0, 0}}), faceList({{0, 1, 2}})})}));
    EXPECT_TRUE(contains(text, "Could not load map 'data/evil??[2Jname.gif'\n"));
    EXPECT_TRUE(contains(text, "object 'a?b' has 1 faces"));
    EXPECT_EQ(model.meshes.at(0).name, "a\rb");
}

TEST(model3DSBadFiles, DeepNestingIsBounded)
{
    Chunk nested(0xA010);
    for (int i = 0; i < 200; ++i) {
        Chunk outer(i % 2 == 0 ? 0xAFFF : 0x4000);
        if (i % 2 == 1) {
            outer.name("o");
        }
        outer.add(std::move(nested));
        nested = std::move(outer);
    }
    model3DS model;
    const std::string text = loadCapturing(model, file({std::move(nested)}));
    EXPECT_TRUE(contains(text, "nested deeper than 32 chunks; stopped reading"));
    EXPECT_TRUE(contains(text, "loaded"));
}

TEST(model3DSBadFiles, DataOutsideItsBlockIsIgnored)
{
    model3DS model;
    const std::string text = loadCapturing(
        model, file({vertexList({{100, 100, 100}}), faceList({{0, 0, 0}}), materialGroup("m", {0}), texCoords({{0, 0}}),
                     Chunk(0xA000).name("stray"), Chunk(0xA081), map(0xA200, "stray.png"), colourFloat(0xA020, 1, 1, 1)}));
    EXPECT_EQ(text, "[3DS] Model 'data/bad.3ds' loaded\n");
    EXPECT_TRUE(model.meshes.empty());
    EXPECT_TRUE(model.materials.empty());
    EXPECT_FALSE(model.hasTexture);
    EXPECT_GT(model.minX, model.maxX);   // no vertex was taken
}

TEST(model3DSBadFiles, ShortColourAndPercentageChunksKeepThePreviousValues)
{
    model3DS model;
    const std::string text = loadCapturing(
        model, file({material("m", {colourBytes(0xA020, 255, 0, 0), Chunk(0xA020).add(Chunk(0x0010).f32(0.5f)),
                                    percentInt(0xA040, 50), Chunk(0xA041).add(Chunk(0x0031).u16(1))})}));
    EXPECT_TRUE(contains(text, "colour chunk 0x0010 at offset"));
    EXPECT_TRUE(contains(text, "holds 4 bytes, needs 12; skipped"));
    EXPECT_TRUE(contains(text, "percentage chunk 0x0031"));
    const ModelMaterial& m = model.materials.at("m");
    // Each property copies the last colour or percentage that could be read.
    EXPECT_FLOAT_EQ(m.diffuse[0], 1.0f);
    EXPECT_FLOAT_EQ(m.shininess, 0.5f);
    EXPECT_FLOAT_EQ(m.shininessStrength, 0.5f);
}
