// libFuzzer target: arbitrary bytes through loadObjMesh. The game reads OBJ
// models from files, so each input is written to a private temporary file
// and loaded from there. Checks that nothing is read out of bounds (by the
// sanitizers) and that the flattened mesh is whole triangles.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "framework/obj_mesh.h"

namespace {

const std::string& inputPath()
{
    static const std::string path = [] {
        const std::filesystem::path file =
            std::filesystem::temp_directory_path() / ("obj_mesh_fuzz_" + std::to_string(getpid()) + ".obj");
        std::atexit([] { std::remove(inputPath().c_str()); });
        return file.string();
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    // "mtllib" makes the reader open whatever file the input names, relative
    // to the working directory; a device file there can stall the run. The
    // material reader is not part of what the game uses.
    if (text.find("mtllib") != std::string::npos)
        return 0;

    {
        std::ofstream out(inputPath(), std::ios::binary | std::ios::trunc);
        out << text;
    }
    const ObjMesh mesh = loadObjMesh(inputPath());
    if (mesh.vertices.size() != 6 * static_cast<size_t>(mesh.vertexCount) || mesh.vertexCount % 3 != 0)
        std::abort();
    return 0;
}
