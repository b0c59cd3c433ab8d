// Reading valid 3DS files: conversion, bounding box, meshes, material groups, normals
// and materials.
#include "models/model3DS.h"
#include "support/TestSupport.h"
#include "Writer3ds.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace writer3ds;

namespace {

// Loads bytes through a buffer of exactly their size, so that any over-read is caught.
void load(model3DS& model, const std::string& bytes, float scale = 1.0f, const std::string& name = "data/test.3ds")
{
    std::vector<unsigned char> buffer(bytes.begin(), bytes.end());
    model.loadFromMemory(name, buffer.data(), buffer.size(), scale);
}

std::string oneTriangle(const std::vector<Vertex>& vertices, const std::string& material = "m")
{
    return file({object("tri", {vertexList(vertices), faceList({{0, 1, 2}}, {materialGroup(material, {0})})})});
}

} // namespace

TEST(model3DSReading, ConvertsToYUpAndScales)
{
    model3DS model;
    testsupport::StdoutCapture capture;
    load(model, oneTriangle({{1, 2, 3}, {3, 2, 3}, {1, 4, 5}}), 0.5f);
    EXPECT_EQ(capture.finish(), "[3DS] Model 'data/test.3ds' loaded\n");

    ASSERT_EQ(model.meshes.size(), 1u);
    const std::vector<float>& v = model.meshes[0].vertices;
    ASSERT_EQ(v.size(), 9u);
    EXPECT_FLOAT_EQ(v[0], 0.5f);
    EXPECT_FLOAT_EQ(v[1], 1.5f);
    EXPECT_FLOAT_EQ(v[2], -1.0f);
    // Bounding box of the converted vertices: x 0.5..1.5, y 1.5..2.5, z -2..-1.
    EXPECT_FLOAT_EQ(model.minX, 0.5f);
    EXPECT_FLOAT_EQ(model.maxX, 1.5f);
    EXPECT_FLOAT_EQ(model.minY, 1.5f);
    EXPECT_FLOAT_EQ(model.maxY, 2.5f);
    EXPECT_FLOAT_EQ(model.minZ, -2.0f);
    EXPECT_FLOAT_EQ(model.maxZ, -1.0f);
    EXPECT_FLOAT_EQ(model.centreX, 1.0f);
    EXPECT_FLOAT_EQ(model.centreY, 2.0f);
    EXPECT_FLOAT_EQ(model.centreZ, -1.5f);
}

TEST(model3DSReading, BoundingBoxEntirelyAtNegativeX)
{
    model3DS model;
    load(model, oneTriangle({{-5, 0, 0}, {-3, 1, 0}, {-4, 0, 2}}));
    EXPECT_FLOAT_EQ(model.minX, -5.0f);
    EXPECT_FLOAT_EQ(model.maxX, -3.0f);
    EXPECT_LT(model.maxX, 0.0f);
    EXPECT_FLOAT_EQ(model.centreX, -4.0f);
}

TEST(model3DSReading, BoundingBoxSpansAllMeshes)
{
    model3DS model;
    load(model, file({object("a", {vertexList({{-1, 0, 0}, {0, 0, 0}, {0, 1, 0}}), faceList({{0, 1, 2}})}),
                      object("b", {vertexList({{4, 0, 0}, {5, 0, 6}, {5, 1, 0}}), faceList({{0, 1, 2}})})}));
    ASSERT_EQ(model.meshes.size(), 2u);
    EXPECT_EQ(model.meshes[0].name, "a");
    EXPECT_EQ(model.meshes[1].name, "b");
    EXPECT_FLOAT_EQ(model.minX, -1.0f);
    EXPECT_FLOAT_EQ(model.maxX, 5.0f);
    EXPECT_FLOAT_EQ(model.maxY, 6.0f);
    EXPECT_FLOAT_EQ(model.centreX, 2.0f);
    EXPECT_FLOAT_EQ(model.centreY, 3.0f);
}

TEST(model3DSReading, TwoMaterialsGiveTwoGroupsOfVertexIndices)
{
    model3DS model;
    // Three faces; the group for "b" is listed first in the file; face 2 is in no group.
    load(model, file({object("obj", {vertexList({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 2, 0}}),
                                      faceList({{0, 1, 2}, {0, 2, 3}, {2, 3, 4}},
                                               {materialGroup("b", {1}), materialGroup("a", {0})})})}));
    ASSERT_EQ(model.meshes.size(), 1u);
    const ModelMesh& mesh = model.meshes[0];
    EXPECT_EQ(mesh.triangles, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3, 2, 3, 4}));
    ASSERT_EQ(mesh.materialGroups.size(), 2u);
    auto group = mesh.materialGroups.begin();
    EXPECT_EQ(group->first, "a");
    EXPECT_EQ(group->second, (std::vector<uint16_t>{0, 1, 2}));
    ++group;
    EXPECT_EQ(group->first, "b");
    EXPECT_EQ(group->second, (std::vector<uint16_t>{0, 2, 3}));
}

TEST(model3DSReading, GroupsOfOneMaterialAppendInFaceOrder)
{
    model3DS model;
    load(model, file({object("obj", {vertexList({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}),
                                      faceList({{0, 1, 2}, {0, 2, 3}},
                                               {materialGroup("m", {1}), materialGroup("m", {0})})})}));
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes[0].materialGroups.at("m"), (std::vector<uint16_t>{0, 2, 3, 0, 1, 2}));
}

TEST(model3DSReading, NormalsAreWeightedByTriangleArea)
{
    model3DS model;
    // Vertex 0 is shared by a large face lying in the file's xy plane (converted: facing +y)
    // and a small face in the file's yz plane (converted: facing +x). Vertex 5 is unused.
    load(model, file({object("obj", {vertexList({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 1, 0}, {0, 0, 1}, {9, 9, 9}}),
                                      faceList({{0, 1, 2}, {0, 3, 4}})})}));
    ASSERT_EQ(model.meshes.size(), 1u);
    const std::vector<float>& n = model.meshes[0].normals;
    ASSERT_EQ(n.size(), 18u);
    // Face 0: cross = (0, 16, 0); face 1: cross = (1, 0, 0). Vertex 0 gets their sum, normalised.
    const float length = std::sqrt(16.0f * 16.0f + 1.0f);
    EXPECT_NEAR(n[0], 1.0f / length, 1e-6f);
    EXPECT_NEAR(n[1], 16.0f / length, 1e-6f);
    EXPECT_NEAR(n[2], 0.0f, 1e-6f);
    // Vertex 1 belongs to face 0 only; vertex 3 to face 1 only.
    EXPECT_NEAR(n[3], 0.0f, 1e-6f);
    EXPECT_NEAR(n[4], 1.0f, 1e-6f);
    EXPECT_NEAR(n[9], 1.0f, 1e-6f);
    // An unused vertex keeps a zero normal.
    EXPECT_EQ(n[15], 0.0f);
    EXPECT_EQ(n[16], 0.0f);
    EXPECT_EQ(n[17], 0.0f);
}

TEST(model3DSReading, ObjectsWithoutTrianglesAreDropped)
{
    model3DS model;
    load(model, file({Chunk(0x4000).name("Camera01").add(Chunk(0x4700).f32(0).f32(0).f32(0)),
                      object("points", {vertexList({{0, 0, 0}})}),
                      object("solid", {vertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), faceList({{0, 1, 2}})})}));
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes[0].name, "solid");
    // The vertices of the dropped object still count for the bounding box.
    EXPECT_FLOAT_EQ(model.minX, 0.0f);
    EXPECT_FLOAT_EQ(model.maxX, 1.0f);
}

TEST(model3DSReading, TextureCoordinatesAreKeptAsRead)
{
    model3DS model;
    load(model, file({object("obj", {vertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                                      texCoords({{0.0f, 0.25f}, {1.0f, 0.5f}, {-2.0f, 3.0f}}), faceList({{0, 1, 2}})})}));
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes[0].texCoords, (std::vector<float>{0.0f, 0.25f, 1.0f, 0.5f, -2.0f, 3.0f}));
}

TEST(model3DSReading, UnknownChunksAreSkippedByTheirLength)
{
    model3DS model;
    Chunk faces = faceList({{0, 1, 2}}, {materialGroup("m", {0})});
    faces.add(Chunk(0x4150).u32(1));   // smoothing groups
    std::string bytes = file({Chunk(0x0100).f32(1.0f),   // master scale
                              object("obj", {Chunk(0x4160).raw(std::string(48, '\x40')),
                                             vertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), std::move(faces)}),
                              Chunk(0x4600).raw("light data that is not a name \xff\xff")});
    bytes += Chunk(0xB000).add(Chunk(0xB002).add(Chunk(0xB010).name("obj").u16(0).u16(0).u16(0xFFFF))).bytes();
    testsupport::StdoutCapture capture;
    load(model, bytes);
    EXPECT_EQ(capture.finish(), "[3DS] Model 'data/test.3ds' loaded\n");
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes[0].vertices.size(), 9u);
    EXPECT_EQ(model.meshes[0].materialGroups.at("m").size(), 3u);
}

TEST(model3DSMaterials, ColoursPercentagesAndFlags)
{
    model3DS model;
    Chunk shininessFloat = Chunk(0xA040).add(Chunk(0x0031).f32(25.0f));
    load(model, file({material("steel", {colourFloat(0xA010, 0.1f, 0.2f, 0.3f), colourBytes(0xA020, 255, 51, 0),
                                         colourFloat(0xA030, 0.5f, 0.5f, 1.0f), std::move(shininessFloat),
                                         percentInt(0xA041, 80), Chunk(0xA081)}),
                      material("plain", {colourBytes(0xA020, 0, 0, 255)})}));
    ASSERT_EQ(model.materials.size(), 2u);
    const ModelMaterial& steel = model.materials.at("steel");
    EXPECT_EQ(steel.name, "steel");
    EXPECT_FLOAT_EQ(steel.ambient[0], 0.1f);
    EXPECT_FLOAT_EQ(steel.ambient[2], 0.3f);
    EXPECT_FLOAT_EQ(steel.diffuse[0], 1.0f);
    EXPECT_FLOAT_EQ(steel.diffuse[1], 0.2f);
    EXPECT_FLOAT_EQ(steel.diffuse[2], 0.0f);
    EXPECT_FLOAT_EQ(steel.specular[2], 1.0f);
    EXPECT_FLOAT_EQ(steel.shininess, 0.25f);
    EXPECT_FLOAT_EQ(steel.shininessStrength, 0.8f);
    EXPECT_TRUE(steel.twoSided);
    EXPECT_FALSE(steel.textured);

    const ModelMaterial& plain = model.materials.at("plain");
    EXPECT_FALSE(plain.twoSided);
    EXPECT_FLOAT_EQ(plain.diffuse[2], 1.0f);
    EXPECT_FLOAT_EQ(plain.ambient[0], 0.0f);
    EXPECT_FALSE(model.hasTexture);
}

TEST(model3DSMaterials, ALaterMaterialOfTheSameNameReplacesTheFirst)
{
    model3DS model;
    load(model, file({material("m", {colourBytes(0xA020, 255, 0, 0), Chunk(0xA081)}),
                      material("m", {colourBytes(0xA020, 0, 255, 0)})}));
    ASSERT_EQ(model.materials.size(), 1u);
    EXPECT_FLOAT_EQ(model.materials.at("m").diffuse[1], 1.0f);
    EXPECT_FALSE(model.materials.at("m").twoSided);
}

TEST(model3DSMaterials, NamesLongerThanTwentyBytesStayWhole)
{
    model3DS model;
    const std::string longName = "a_material_name_of_forty_characters_long";
    std::string bytes = file({material(longName, {colourBytes(0xA020, 0, 255, 0)}),
                              object("obj", {vertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                                             faceList({{0, 1, 2}}, {materialGroup(longName, {0})})})});
    testsupport::StdoutCapture capture;
    load(model, bytes);
    EXPECT_EQ(capture.finish(), "[3DS] Model 'data/test.3ds' loaded\n");
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes[0].materialGroups.count(longName), 1u);
    EXPECT_EQ(model.materials.count(longName), 1u);
}

TEST(model3DSMaps, MapNamesWithoutAPictureExtensionAreRefused)
{
    model3DS model;
    testsupport::StdoutCapture capture;
    load(model, file({material("m", {map(0xA200, "wood.gif")})}), 1.0f, "data/die/die.3ds");
    EXPECT_EQ(capture.finish(),
              "[3DS] WARNING: Could not load map 'data/die/wood.gif'\n"
              "[3DS] WARNING: (texture must be TGA, PNG, JPG or BMP)\n"
              "[3DS] Model 'data/die/die.3ds' loaded\n");
    EXPECT_TRUE(model.hasTexture);
    EXPECT_FALSE(model.materials.at("m").textured);
}

TEST(model3DSFiles, PathAndFileNameSplitAtTheLastSeparator)
{
    model3DS model;
    const std::string bytes = oneTriangle({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    load(model, bytes, 1.0f, "data/model.3ds");
    EXPECT_EQ(model.path, "data/");
    EXPECT_EQ(model.fileName, "model.3ds");
    load(model, bytes, 1.0f, "model.3ds");
    EXPECT_EQ(model.path, "");
    EXPECT_EQ(model.fileName, "model.3ds");
    load(model, bytes, 1.0f, "a\\b/c\\d.3ds");
    EXPECT_EQ(model.path, "a\\b/c\\");
    EXPECT_EQ(model.fileName, "d.3ds");
}

TEST(model3DSFiles, LoadsBelowTheDataFolderAndReplacesWhatItHeld)
{
    testsupport::ScratchDir dir;
    testsupport::WorkingDir cwd(dir.path());
    dir.write("data/die/die.3ds", quadFile("a", "b"));
    dir.write("data/coin.3ds", oneTriangle({{-1, 0, 0}, {1, 0, 0}, {0, 1, 0}}, "gold"));

    model3DS model;
    testsupport::StdoutCapture capture;
    model.loadModel("die/die.3ds", 1.0f);
    EXPECT_EQ(capture.finish(), "[3DS] Model 'data/die/die.3ds' loaded\n");
    EXPECT_EQ(model.path, "data/die/");
    EXPECT_EQ(model.fileName, "die.3ds");
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes[0].materialGroups.size(), 2u);

    model.loadModel("coin.3ds", 2.0f);
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes[0].materialGroups.count("gold"), 1u);
    EXPECT_FLOAT_EQ(model.minX, -2.0f);
    EXPECT_FLOAT_EQ(model.scale, 2.0f);

    // The one-argument form has no scale to read with and does nothing.
    model.loadModel("die/die.3ds");
    EXPECT_EQ(model.meshes[0].materialGroups.count("gold"), 1u);
}
