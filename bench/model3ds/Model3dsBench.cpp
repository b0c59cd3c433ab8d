// Loads one large 3DS file with our reader (reading, converting, normals and material
// groups) and with lib3ds (reading only), in the same run, and prints both times and
// their ratio. Usage: bench_model3ds [file.3ds] [repetitions]
// Without a file, one is made: OBJ tori converted by Debian's assimp (over 1 MB).
#include "models/model3DS.h"

#include "../../tests/models/ObjShapes.h"

#include <lib3ds/file.h>
#include <lib3ds/mesh.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Four tori of 120 x 120 quads: assimp gives each 57,600 vertices and 28,800 triangles,
// within the 16-bit counts of the format.
fs::path makeLargeFile(const fs::path& folder)
{
    fs::create_directories(folder);
    const fs::path target = folder / "tori.3ds";
    if (fs::exists(target)) {
        return target;
    }
    std::ofstream(folder / "tori.mtl") << "newmtl Chrome\nKd 0.8 0.8 0.8\nKs 1 1 1\nNs 90\n";
    std::ofstream obj(folder / "tori.obj");
    obj << "mtllib tori.mtl\n";
    for (int i = 0; i < 4; ++i) {
        obj << objshapes::torus("Torus" + std::to_string(i), 10.0f * i, 0, 0, 120, 120);
    }
    obj.close();
    const std::string command =
        "assimp export '" + (folder / "tori.obj").string() + "' '" + target.string() + "' >/dev/null";
    if (std::system(command.c_str()) != 0 || !fs::exists(target)) {
        std::fprintf(stderr, "bench_model3ds: could not convert with assimp: %s\n", command.c_str());
        std::exit(1);
    }
    return target;
}

// Median of `repetitions` timings of `load`, in milliseconds.
template <typename Load>
double medianMillis(int repetitions, Load load)
{
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = Clock::now();
        load();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Our reader prints a line per load; the timing loop sends it nowhere.
class QuietStdout {
public:
    QuietStdout()
    {
        std::fflush(stdout);
        saved = dup(STDOUT_FILENO);
        FILE* null = std::fopen("/dev/null", "w");
        dup2(fileno(null), STDOUT_FILENO);
        std::fclose(null);
    }
    ~QuietStdout()
    {
        std::fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        close(saved);
    }

private:
    int saved;
};

} // namespace

int main(int argc, char** argv)
{
    const fs::path file = argc > 1 ? fs::path(argv[1]) : makeLargeFile(fs::temp_directory_path() / "tumbrix-bench-model3ds");
    const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
    const std::string name = fs::absolute(file).string();

    // Both readers must see the same model, or the comparison means nothing.
    std::size_t ourVertices = 0;
    std::size_t ourFaces = 0;
    {
        model3DS model;
        model.loadModel(name, 1.0f);
        for (const ModelMesh& mesh : model.meshes) {
            ourVertices += mesh.vertexCount();
            ourFaces += mesh.triangles.size() / 3;
        }
    }
    std::size_t theirVertices = 0;
    std::size_t theirFaces = 0;
    {
        Lib3dsFile* model = lib3ds_file_load(name.c_str());
        for (Lib3dsMesh* mesh = model != nullptr ? model->meshes : nullptr; mesh != nullptr; mesh = mesh->next) {
            theirVertices += mesh->points;
            theirFaces += mesh->faces;
        }
        if (model != nullptr) {
            lib3ds_file_free(model);
        }
    }
    std::printf("file: %s, %.2f MB; ours %zu vertices, %zu faces; lib3ds %zu vertices, %zu faces\n", name.c_str(),
                double(fs::file_size(file)) / (1024.0 * 1024.0), ourVertices, ourFaces, theirVertices, theirFaces);
    if (ourVertices != theirVertices || ourFaces != theirFaces || ourFaces == 0) {
        std::printf("the readers disagree; no timing\n");
        return 1;
    }

    double ours = 0;
    double theirs = 0;
    {
        QuietStdout quiet;
        ours = medianMillis(repetitions, [&] {
            model3DS model;
            model.loadModel(name, 1.0f);
        });
        theirs = medianMillis(repetitions, [&] { lib3ds_file_free(lib3ds_file_load(name.c_str())); });
    }
    std::printf("median of %d loads: model3DS %.2f ms (with normals and material groups), lib3ds %.2f ms\n",
                repetitions, ours, theirs);
    std::printf("ratio lib3ds / model3DS: %.2f (target: at least 5)\n", theirs / ours);
    return 0;
}
