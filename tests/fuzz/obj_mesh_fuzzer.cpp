// libFuzzer target: arbitrary bytes through the game's OBJ parsing and
// flattening. Checks that nothing is read out of bounds (by the sanitizers)
// and that the flattened mesh is whole triangles.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/obj_mesh.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ObjMesh mesh = parseObjMesh(text, "fuzz.obj");
    if (mesh.vertices.size() != 6 * static_cast<size_t>(mesh.vertexCount) || mesh.vertexCount % 3 != 0)
        std::abort();
    return 0;
}
