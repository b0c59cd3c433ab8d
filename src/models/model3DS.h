#pragma once
// A model read from a 3D Studio (.3ds) file: its objects as meshes, its materials and
// texture maps, centred on its bounding box when drawn.
//
// The reader never trusts the file: every length, count, index and name is checked
// against the bytes and arrays that exist. A malformed chunk stops the reading with one
// "[3DS] " line naming the file, the chunk and its offset; what was read before it is kept.
// A file cut short keeps every material and object lying wholly before the cut; an object
// with a vertex that is not a finite number is dropped.

#include "models/ModelMaterial.h"
#include "models/ModelMesh.h"
#include "models/ofx3DBaseLoader.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class model3DS : public ofx3DBaseLoader {
public:
    model3DS();

    void loadModel(std::string name) override;   // does nothing: a scale is needed
    // Reads ofToDataPath(name) scaled by `scale`; prints "[3DS] " lines on the console.
    // A missing, empty or foreign file leaves the model empty.
    void loadModel(std::string name, float scale) override;
    // The same reading from bytes already in memory; `name` stands for the file in the
    // console lines and its folder is where texture maps are looked for.
    void loadFromMemory(const std::string& name, const unsigned char* data, std::size_t size, float scale);
    // Draws every mesh, translated so that the bounding box is centred on the origin.
    void draw() override;

    std::string fileName;                             // without its folder
    std::string path;                                 // folder with its final separator, or empty
    std::vector<ModelMesh> meshes;                    // objects with triangles, in file order
    std::map<std::string, ModelMaterial> materials;   // by name
    // Bounding box of all converted, scaled vertices; inverted (min > max) while empty.
    float minX, maxX, minY, maxY, minZ, maxZ;
    float scale = 1.0f;
    float centreX = 0.0f, centreY = 0.0f, centreZ = 0.0f;

    // Files above this size are refused rather than read into memory.
    static constexpr std::size_t MAX_FILE_BYTES = 256u * 1024u * 1024u;
    // Chunks that hold sub-chunks may nest this deep, counting the file itself.
    static constexpr std::size_t MAX_NESTING = 32;

private:
    struct Frame;
    struct Span;
    struct ChunkRule;

    static const ChunkRule* ruleFor(uint16_t id);

    void clear();
    void readFile(const std::string& name);
    void readModel(const std::string& name, const unsigned char* data, std::size_t size);
    void readChunks(const unsigned char* data, std::size_t size);
    void closeFrame(const Frame& frame);

    // What opening a chunk does: reads its own data and leaves chunk.pos where its
    // sub-chunks start (model3DS.cpp for blocks, model3DSChunks.cpp for data).
    void openObject(Span& chunk);
    void openMaterial(Span& chunk);
    void openMap(Span& chunk);
    void readVertices(Span& chunk);
    void readFaces(Span& chunk);
    void readMaterialGroup(Span& chunk);
    void readTexCoords(Span& chunk);
    void readMaterialName(Span& chunk);
    void setTwoSided(Span& chunk);
    void readMapFileName(Span& chunk);
    void readColour(Span& chunk);
    void readPercentage(Span& chunk);
    // What closing a chunk does, once its last sub-chunk is read.
    void closeObject();
    void closeMaterial();
    void closeAmbient();
    void closeDiffuse();
    void closeSpecular();
    void closeShininess();
    void closeShininessStrength();
    void closeTextureMap();
    void closeBumpMap();
    void closeMap(bool bump);

    std::string readName(Span& chunk);
    void loadMap(bool bump);
    void warn(const char* format, ...) const __attribute__((format(printf, 2, 3)));

    // Scratch state shared by the chunk handlers while a file is read.
    std::string readingName;                      // the file as named in console lines
    struct OpenObject {
        ModelMesh mesh;
        bool refused = false;   // holds a vertex that is not a finite number: dropped when closed
    };
    std::vector<OpenObject> openObjects;          // object blocks being read, innermost last
    std::vector<ModelMaterial> openMaterials;     // material blocks being read, innermost last
    float colour[3] = {0.0f, 0.0f, 0.0f};         // last colour sub-chunk
    float percentage = 0.0f;                      // last percentage sub-chunk, as a fraction
    std::string mapFileName;                      // map file name of the map chunk being read, relative to path
    bool mapNamed = false;                        // the map chunk being read has named its file
    bool readingStopped = false;                  // a chunk that cannot be read ended the reading
};
