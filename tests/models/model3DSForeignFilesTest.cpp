// Files written by another program: Debian's assimp converts small models described in
// OBJ text into 3DS, and lib3ds, an independent reader, reads the same files. Counts,
// names, coordinates, groups, materials and bounding boxes must agree.
#include "models/model3DS.h"
#include "support/TestSupport.h"
#include "ObjShapes.h"
#include "Pictures.h"

#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace {

constexpr float SCALE = 2.0f;

const char* CUBE_OBJ = R"(mtllib shapes.mtl
o Box
v -1 -1 -1
v 1 -1 -1
v 1 1 -1
v -1 1 -1
v -1 -1 1
v 1 -1 1
v 1 1 1
v -1 1 1
vt 0 0
vt 1 0
vt 1 1
vt 0 1
usemtl Skin
f 1/1 2/2 3/3 4/4
f 5/1 8/4 7/3 6/2
usemtl Paint
f 1/1 5/2 6/3 2/4
f 2/1 6/2 7/3 3/4
f 3/1 7/2 8/3 4/4
f 5/1 1/2 4/3 8/4
)";

const char* SHAPES_MTL = R"(newmtl Skin
Kd 1 1 1
Ka 0.2 0.1 0
Ks 0.5 0.5 0.5
Ns 40
map_Kd skin.tga
newmtl Paint
Kd 0.1 0.3 0.9
newmtl Chrome
Kd 0.8 0.8 0.8
Ks 1 1 1
Ns 90
)";

// Writes `obj` (and the shared material file and picture) and converts it with assimp.
std::filesystem::path exportWithAssimp(const testsupport::ScratchDir& dir, const std::string& name,
                                       const std::string& obj)
{
    dir.write("shapes.mtl", SHAPES_MTL);
    dir.write("skin.tga", pictures::halves(4, {200, 0, 0}, {0, 0, 200}));
    const auto source = dir.write(name + ".obj", obj);
    const auto target = dir.path() / (name + ".3ds");
    const std::string command = "assimp export '" + source.string() + "' '" + target.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return target;
}

std::map<std::string, const ModelMesh*> meshesByName(const model3DS& model)
{
    std::map<std::string, const ModelMesh*> byName;
    for (const ModelMesh& mesh : model.meshes) {
        byName[mesh.name] = &mesh;
    }
    return byName;
}

// Loads `file` with both readers and compares everything they both know.
void compareWithLib3ds(const std::filesystem::path& file)
{
    SCOPED_TRACE(file.string());
    model3DS ours;
    {
        testsupport::StdoutCapture capture;
        ours.loadModel(file.string(), SCALE);
        EXPECT_EQ(capture.finish(), "[3DS] Model '" + file.string() + "' loaded\n");
    }
    Lib3dsFile* theirs = lib3ds_file_load(file.c_str());
    ASSERT_NE(theirs, nullptr);

    // Meshes: ours keeps those with faces.
    const auto byName = meshesByName(ours);
    std::size_t withFaces = 0;
    for (Lib3dsMesh* mesh = theirs->meshes; mesh != nullptr; mesh = mesh->next) {
        if (mesh->faces == 0) {
            continue;
        }
        ++withFaces;
        SCOPED_TRACE(mesh->name);
        auto found = byName.find(mesh->name);
        ASSERT_NE(found, byName.end());
        const ModelMesh& our = *found->second;
        ASSERT_EQ(our.vertexCount(), mesh->points);
        ASSERT_EQ(our.triangles.size(), 3 * std::size_t(mesh->faces));
        ASSERT_EQ(our.texCoords.size(), 2 * std::size_t(mesh->texels));
        for (std::size_t i = 0; i < mesh->points; ++i) {
            const float* p = mesh->pointL[i].pos;
            EXPECT_EQ(our.vertices[3 * i], p[0] * SCALE);
            EXPECT_EQ(our.vertices[3 * i + 1], p[2] * SCALE);
            EXPECT_EQ(our.vertices[3 * i + 2], -p[1] * SCALE);
        }
        for (std::size_t i = 0; i < mesh->texels; ++i) {
            EXPECT_EQ(our.texCoords[2 * i], mesh->texelL[i][0]);
            EXPECT_EQ(our.texCoords[2 * i + 1], mesh->texelL[i][1]);
        }
        // Each face's indices, and the faces of each material.
        std::map<std::string, std::vector<uint16_t>> groups;
        for (std::size_t f = 0; f < mesh->faces; ++f) {
            const Lib3dsFace& face = mesh->faceL[f];
            for (int k = 0; k < 3; ++k) {
                EXPECT_EQ(our.triangles[3 * f + k], face.points[k]);
            }
            if (face.material[0] != '\0') {
                groups[face.material].insert(groups[face.material].end(), face.points, face.points + 3);
            }
        }
        EXPECT_EQ(our.materialGroups, groups);
        EXPECT_EQ(our.normals.size(), our.vertices.size());
    }
    EXPECT_EQ(ours.meshes.size(), withFaces);
    EXPECT_GT(withFaces, 0u);

    // Materials.
    std::size_t materialCount = 0;
    for (Lib3dsMaterial* material = theirs->materials; material != nullptr; material = material->next) {
        ++materialCount;
        SCOPED_TRACE(material->name);
        auto found = ours.materials.find(material->name);
        ASSERT_NE(found, ours.materials.end());
        const ModelMaterial& our = found->second;
        for (int c = 0; c < 3; ++c) {
            EXPECT_FLOAT_EQ(our.diffuse[c], material->diffuse[c]);
            EXPECT_FLOAT_EQ(our.ambient[c], material->ambient[c]);
            EXPECT_FLOAT_EQ(our.specular[c], material->specular[c]);
        }
        // (lib3ds 1.3 takes shininess only from integer percentages; assimp writes floats.)
        EXPECT_EQ(our.twoSided, bool(material->two_sided));
        EXPECT_EQ(our.textured, material->texture1_map.name[0] != '\0');
    }
    EXPECT_EQ(ours.materials.size(), materialCount);

    // Bounding box of the points lib3ds read, in the file's z-up axes and unscaled. (Its own
    // bounding-box function starts the maxima at the smallest positive float, which is wrong
    // for a model lying entirely at negative coordinates.)
    float low[3] = {3.4e38f, 3.4e38f, 3.4e38f};
    float high[3] = {-3.4e38f, -3.4e38f, -3.4e38f};
    for (Lib3dsMesh* mesh = theirs->meshes; mesh != nullptr; mesh = mesh->next) {
        for (std::size_t i = 0; i < mesh->points; ++i) {
            for (int k = 0; k < 3; ++k) {
                low[k] = std::min(low[k], mesh->pointL[i].pos[k]);
                high[k] = std::max(high[k], mesh->pointL[i].pos[k]);
            }
        }
    }
    EXPECT_EQ(ours.minX, low[0] * SCALE);
    EXPECT_EQ(ours.maxX, high[0] * SCALE);
    EXPECT_EQ(ours.minY, low[2] * SCALE);
    EXPECT_EQ(ours.maxY, high[2] * SCALE);
    EXPECT_EQ(ours.minZ, -high[1] * SCALE);
    EXPECT_EQ(ours.maxZ, -low[1] * SCALE);
    EXPECT_EQ(ours.centreX, (ours.minX + ours.maxX) / 2);

    for (auto& [name, material] : ours.materials) {
        if (material.textured) {
            glDeleteTextures(1, &material.texture);
        }
    }
    lib3ds_file_free(theirs);
}

} // namespace

TEST(model3DSForeignFiles, AgreesWithLib3dsOnFilesWrittenByAssimp)
{
    ASSERT_TRUE(testsupport::ensureGlContext());
    testsupport::ScratchDir dir;
    compareWithLib3ds(exportWithAssimp(dir, "cube", CUBE_OBJ));
    compareWithLib3ds(exportWithAssimp(dir, "torus", "mtllib shapes.mtl\n" + objshapes::torus("Ring", -20, -5, -3, 24, 12)));
    compareWithLib3ds(exportWithAssimp(dir, "pair", std::string(CUBE_OBJ) + objshapes::torus("Wheel", 4, 0, 10, 16, 8)));
}

TEST(model3DSForeignFiles, TextureMapsNamedByAssimpAreLoaded)
{
    ASSERT_TRUE(testsupport::ensureGlContext());
    testsupport::ScratchDir dir;
    const auto file = exportWithAssimp(dir, "cube", CUBE_OBJ);
    model3DS model;
    testsupport::StdoutCapture capture;
    model.loadModel(file.string(), 1.0f);
    EXPECT_EQ(capture.finish(), "[3DS] Model '" + file.string() + "' loaded\n");
    EXPECT_TRUE(model.hasTexture);
    std::size_t textured = 0;
    for (auto& [name, material] : model.materials) {
        if (material.textured) {
            ++textured;
            glBindTexture(GL_TEXTURE_2D, material.texture);
            GLint width = 0;
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
            EXPECT_EQ(width, 4);
            glDeleteTextures(1, &material.texture);
        }
    }
    EXPECT_EQ(textured, 1u);
}
