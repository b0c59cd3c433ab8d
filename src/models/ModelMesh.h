#pragma once
// One object of a 3DS model: flat vertex, normal and texture-coordinate arrays and
// its triangles grouped by material, ready to be drawn with one call per group.

#include "models/ModelMaterial.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class ModelMesh {
public:
    std::string name;
    std::vector<float> vertices;        // x, y, z per vertex, converted to y-up and scaled
    std::vector<float> normals;         // x, y, z per vertex, unit length (or zero)
    std::vector<uint16_t> triangles;    // three vertex indices per face, as read
    std::vector<float> texCoords;       // u, v per vertex, as read
    // Material name -> face numbers while loading; three vertex indices per face after build().
    std::map<std::string, std::vector<uint16_t>> materialGroups;

    std::size_t vertexCount() const { return vertices.size() / 3; }

    // Computes area-weighted vertex normals and turns each material group's face numbers
    // into vertex indices. Faces whose indices reach past the vertices, and face numbers
    // past the face list, are dropped with one console line each naming modelName, so
    // that drawing never indexes past an array.
    void build(const std::string& modelName);

    // Draws every material group in name order with its material; a material missing
    // from `materials` is drawn with a default (all zero) one.
    void draw(const std::map<std::string, ModelMaterial>& materials) const;

private:
    void computeNormals(const std::vector<bool>& validFaces);
};
