#include "models/ModelMesh.h"

#include "models/ConsoleName.h"

#include <cmath>
#include <cstdio>

void ModelMesh::build(const std::string& modelName)
{
    const std::size_t faceCount = triangles.size() / 3;
    const std::size_t vertexTotal = vertexCount();
    const std::string shownName = consoleName(name);

    // A face is usable only when all three of its corners exist.
    std::vector<bool> validFaces(faceCount, true);
    std::size_t badFaces = 0;
    for (std::size_t f = 0; f < faceCount; ++f) {
        const uint16_t* t = &triangles[3 * f];
        if (t[0] >= vertexTotal || t[1] >= vertexTotal || t[2] >= vertexTotal) {
            validFaces[f] = false;
            ++badFaces;
        }
    }
    if (badFaces > 0) {
        std::printf("[3DS] WARNING: Model '%s': object '%s' has %zu faces with a vertex index beyond its %zu vertices; dropped\n",
                    modelName.c_str(), shownName.c_str(), badFaces, vertexTotal);
    }

    computeNormals(validFaces);

    // Face numbers become the three vertex indices of each face, in the order listed.
    std::size_t strayNumbers = 0;
    for (auto& [material, faces] : materialGroups) {
        std::vector<uint16_t> indices;
        indices.reserve(faces.size() * 3);
        for (uint16_t f : faces) {
            if (f >= faceCount) {
                ++strayNumbers;
                continue;
            }
            if (!validFaces[f]) {
                continue;
            }
            indices.insert(indices.end(), &triangles[3 * f], &triangles[3 * f] + 3);
        }
        faces = std::move(indices);
    }
    if (strayNumbers > 0) {
        std::printf("[3DS] WARNING: Model '%s': object '%s' names %zu faces beyond its %zu faces in material groups; dropped\n",
                    modelName.c_str(), shownName.c_str(), strayNumbers, faceCount);
    }

    if (badFaces > 0) {
        std::size_t kept = 0;
        for (std::size_t f = 0; f < faceCount; ++f) {
            if (validFaces[f]) {
                for (int k = 0; k < 3; ++k) {
                    triangles[3 * kept + k] = triangles[3 * f + k];
                }
                ++kept;
            }
        }
        triangles.resize(3 * kept);
    }

    if (!texCoords.empty() && texCoords.size() / 2 < vertexTotal) {
        std::printf("[3DS] WARNING: Model '%s': object '%s' has %zu texture coordinates for %zu vertices; not used\n",
                    modelName.c_str(), shownName.c_str(), texCoords.size() / 2, vertexTotal);
    }
}

// Each face adds its unnormalised normal to its corners, so larger faces weigh more.
void ModelMesh::computeNormals(const std::vector<bool>& validFaces)
{
    normals.assign(vertices.size(), 0.0f);
    const float* v = vertices.data();
    float* n = normals.data();
    for (std::size_t f = 0; f < validFaces.size(); ++f) {
        if (!validFaces[f]) {
            continue;
        }
        const std::size_t a = 3 * std::size_t(triangles[3 * f]);
        const std::size_t b = 3 * std::size_t(triangles[3 * f + 1]);
        const std::size_t c = 3 * std::size_t(triangles[3 * f + 2]);
        const float e1[3] = {v[b] - v[a], v[b + 1] - v[a + 1], v[b + 2] - v[a + 2]};
        const float e2[3] = {v[c] - v[a], v[c + 1] - v[a + 1], v[c + 2] - v[a + 2]};
        const float cross[3] = {
            e1[1] * e2[2] - e1[2] * e2[1],
            e1[2] * e2[0] - e1[0] * e2[2],
            e1[0] * e2[1] - e1[1] * e2[0],
        };
        for (std::size_t corner : {a, b, c}) {
            n[corner] += cross[0];
            n[corner + 1] += cross[1];
            n[corner + 2] += cross[2];
        }
    }
    for (std::size_t i = 0; i < normals.size(); i += 3) {
        const float length = std::sqrt(n[i] * n[i] + n[i + 1] * n[i + 1] + n[i + 2] * n[i + 2]);
        if (!std::isfinite(length)) {
            // Faces too large for floats leave no direction to light by.
            n[i] = n[i + 1] = n[i + 2] = 0.0f;
        } else if (length > 0.0f) {
            n[i] /= length;
            n[i + 1] /= length;
            n[i + 2] /= length;
        }
    }
}

void ModelMesh::draw(const std::map<std::string, ModelMaterial>& materials) const
{
    static const ModelMaterial defaultMaterial;
    // Coordinates are used only when every vertex has a pair.
    const bool haveTexCoords = !texCoords.empty() && texCoords.size() / 2 >= vertexCount();

    for (const auto& [materialName, indices] : materialGroups) {
        auto found = materials.find(materialName);
        const ModelMaterial& material = found != materials.end() ? found->second : defaultMaterial;

        glBindTexture(GL_TEXTURE_2D, material.textured ? material.texture : 0);

        glPushAttrib(GL_LIGHTING_BIT);
        {
            GLenum face = GL_FRONT;
            if (material.twoSided) {
                glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
                face = GL_FRONT_AND_BACK;
            } else {
                glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
            }

            if (glIsEnabled(GL_LIGHTING)) {
                const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
                const GLfloat diffuse[4] = {material.diffuse[0], material.diffuse[1], material.diffuse[2], 1.0f};
                const GLfloat ambient[4] = {material.ambient[0], material.ambient[1], material.ambient[2], 1.0f};
                const float strength = material.shininessStrength;
                const GLfloat specular[4] = {material.specular[0] * strength, material.specular[1] * strength,
                                             material.specular[2] * strength, 1.0f};
                glMaterialfv(face, GL_DIFFUSE, material.textured ? white : diffuse);
                glMaterialfv(face, GL_AMBIENT, ambient);
                glMaterialfv(face, GL_SPECULAR, specular);
                glMaterialf(face, GL_SHININESS, material.shininess * 128.0f);
            } else {
                glColor3fv(material.diffuse);
            }

            const bool useTexCoords = material.textured && haveTexCoords;
            glEnableClientState(GL_VERTEX_ARRAY);
            glEnableClientState(GL_NORMAL_ARRAY);
            if (useTexCoords) {
                glEnableClientState(GL_TEXTURE_COORD_ARRAY);
                glTexCoordPointer(2, GL_FLOAT, 0, texCoords.data());
            }
            glVertexPointer(3, GL_FLOAT, 0, vertices.data());
            glNormalPointer(GL_FLOAT, 0, normals.data());
            glDrawElements(GL_TRIANGLES, GLsizei(indices.size()), GL_UNSIGNED_SHORT, indices.data());
            glDisableClientState(GL_VERTEX_ARRAY);
            glDisableClientState(GL_NORMAL_ARRAY);
            if (useTexCoords) {
                glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            }
        }
        glPopAttrib();
    }
}
