#include "DataFiles.h"
#include "ModelFile.h"

#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>

using namespace datafiles;

namespace {

struct ShippedModel {
    const char* file;
    float scale;     // the scale the stage draws it at
};

const ShippedModel MODELS[] = {{"die/die.3ds", 0.024f}, {"coin/coin.3ds", 0.08f}, {"target/target.3ds", 0.09f}};

std::string folderOf(const std::string& file)
{
    return file.substr(0, file.find('/') + 1);
}

// Extent of the model on each game axis at the scale it is drawn.
std::array<float, 3> drawnSize(const ModelFile& model, float scale)
{
    auto lo = model.low();
    auto hi = model.high();
    return {(hi[0] - lo[0]) * scale, (hi[1] - lo[1]) * scale, (hi[2] - lo[2]) * scale};
}

} // namespace

TEST(ModelFiles, HoldOnlyChunksTheGameReadsEachExactlyAsLongAsItsContents)
{
    for (const ShippedModel& shipped : MODELS) {
        ModelFile model = readModelFile(dataDir() / shipped.file);
        for (const std::string& problem : model.problems) {
            ADD_FAILURE() << shipped.file << " " << problem;
        }
        EXPECT_FALSE(model.meshes.empty()) << shipped.file;
        EXPECT_FALSE(model.materialMaps.empty()) << shipped.file;
    }
}

TEST(ModelFiles, EveryFaceIsDrawnWithADefinedTexturedMaterial)
{
    for (const ShippedModel& shipped : MODELS) {
        ModelFile model = readModelFile(dataDir() / shipped.file);
        for (const auto& [material, map] : model.materialMaps) {
            std::string lower = map;
            std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
            bool known = false;
            for (const char* ext : {".png", ".jpg", ".tga", ".bmp"}) {
                known = known || lower.find(ext) != std::string::npos;
            }
            EXPECT_TRUE(known) << shipped.file << ": map '" << map << "' of material " << material;
            // Colour material is on while the models are drawn, so their colour is the map's.
            Picture picture;
            EXPECT_TRUE(loadPicture(dataDir() / (folderOf(shipped.file) + map), picture)) << shipped.file << ": " << map;
        }
        for (const ModelFile::Mesh& mesh : model.meshes) {
            EXPECT_EQ(mesh.texcoords.size(), mesh.vertices.size()) << shipped.file << " " << mesh.name;
            for (const auto& t : mesh.triangles) {
                for (unsigned index : t) {
                    ASSERT_LT(index, mesh.vertices.size()) << shipped.file << " " << mesh.name;
                }
            }
            // Faces outside every material group are never drawn; a face in two is drawn twice.
            std::vector<int> uses(mesh.triangles.size(), 0);
            for (const auto& [material, faces] : mesh.groups) {
                EXPECT_TRUE(model.materialMaps.count(material)) << shipped.file << ": undefined material " << material;
                for (unsigned f : faces) {
                    ASSERT_LT(f, uses.size()) << shipped.file;
                    ++uses[f];
                }
            }
            EXPECT_EQ(std::count(uses.begin(), uses.end(), 1), static_cast<long>(uses.size())) << shipped.file << " " << mesh.name;
        }
    }
}

TEST(ModelFiles, Lib3dsReadsTheSameMeshesAndMaterials)
{
    for (const ShippedModel& shipped : MODELS) {
        ModelFile model = readModelFile(dataDir() / shipped.file);
        Lib3dsFile* file = lib3ds_file_load((dataDir() / shipped.file).c_str());
        ASSERT_NE(file, nullptr) << shipped.file;
        size_t meshes = 0;
        for (Lib3dsMesh* mesh = file->meshes; mesh != nullptr; mesh = mesh->next, ++meshes) {
            ASSERT_LT(meshes, model.meshes.size()) << shipped.file;
            const ModelFile::Mesh& ours = model.meshes[meshes];
            EXPECT_EQ(ours.name, mesh->name);
            EXPECT_EQ(ours.vertices.size(), mesh->points);
            EXPECT_EQ(ours.texcoords.size(), mesh->texels);
            ASSERT_EQ(ours.triangles.size(), mesh->faces);
            for (size_t f = 0; f < mesh->faces; ++f) {
                EXPECT_EQ(ours.triangles[f][0], mesh->faceL[f].points[0]);
                EXPECT_EQ(ours.triangles[f][2], mesh->faceL[f].points[2]);
                EXPECT_TRUE(ours.groups.count(mesh->faceL[f].material)) << shipped.file << " face " << f;
            }
        }
        EXPECT_EQ(meshes, model.meshes.size());
        size_t materials = 0;
        for (Lib3dsMaterial* m = file->materials; m != nullptr; m = m->next, ++materials) {
            ASSERT_TRUE(model.materialMaps.count(m->name)) << shipped.file << ": " << m->name;
            EXPECT_EQ(model.materialMaps[m->name], m->texture1_map.name);
        }
        EXPECT_EQ(materials, model.materialMaps.size());
        lib3ds_file_free(file);
    }
}

TEST(ModelFiles, SolidsAreClosedAndFaceOutwards)
{
    // Back faces are culled when the models are drawn: a triangle wound the wrong way is a
    // hole, and so is a missing one. Every edge must be met once in each direction.
    for (const ShippedModel& shipped : MODELS) {
        ModelFile model = readModelFile(dataDir() / shipped.file);
        for (const ModelFile::Mesh& mesh : model.meshes) {
            using Key = std::tuple<long, long, long>;
            auto key = [&](unsigned i) {
                const auto& v = mesh.vertices[i];
                return Key(std::lround(v[0] * 1000), std::lround(v[1] * 1000), std::lround(v[2] * 1000));
            };
            std::map<std::pair<Key, Key>, int> edges;
            double volume = 0.0;
            for (const auto& t : mesh.triangles) {
                for (int e = 0; e < 3; ++e) {
                    Key a = key(t[e]), b = key(t[(e + 1) % 3]);
                    if (a != b) {
                        ++edges[{a, b}];
                    }
                }
                const auto& a = mesh.vertices[t[0]];
                const auto& b = mesh.vertices[t[1]];
                const auto& c = mesh.vertices[t[2]];
                volume += (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) + a[2] * (b[0] * c[1] - b[1] * c[0])) / 6.0;
            }
            int unmatched = 0;
            for (const auto& [edge, count] : edges) {
                auto back = edges.find({edge.second, edge.first});
                unmatched += back == edges.end() || back->second != count;
            }
            EXPECT_EQ(unmatched, 0) << shipped.file << " " << mesh.name;
            EXPECT_GT(volume, 0.0) << shipped.file << " " << mesh.name << " is wound inside out";
        }
    }
}

TEST(ModelFiles, SizesAtTheScalesTheStageDrawsThem)
{
    ModelFile die = readModelFile(dataDir() / "die/die.3ds");
    for (float side : drawnSize(die, 0.024f)) {
        EXPECT_NEAR(side, 0.6f, 0.05f);
    }

    // A coin is a disc about 0.55 across, standing on any axis.
    std::array<float, 3> coin = drawnSize(readModelFile(dataDir() / "coin/coin.3ds"), 0.08f);
    std::sort(coin.begin(), coin.end());
    EXPECT_LT(coin[0], 0.1f);
    EXPECT_NEAR(coin[1], 0.55f, 0.05f);
    EXPECT_NEAR(coin[2], 0.55f, 0.05f);

    // The finish stands upright in the world (z) and fits on one face of a cube.
    std::array<float, 3> finish = drawnSize(readModelFile(dataDir() / "target/target.3ds"), 0.09f);
    EXPECT_GE(finish[2], 1.2f);
    EXPECT_LE(finish[2], 1.5f);
    EXPECT_LE(finish[0], 1.5f);
    EXPECT_LE(finish[1], 1.5f);

    for (const ShippedModel& shipped : MODELS) {
        size_t triangles = 0;
        for (const auto& mesh : readModelFile(dataDir() / shipped.file).meshes) {
            triangles += mesh.triangles.size();
        }
        EXPECT_GE(triangles, 12u) << shipped.file;
        EXPECT_LE(triangles, 4000u) << shipped.file << ": drawn every frame for every collectible";
    }
}
