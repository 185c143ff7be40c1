// Writes the level's three OBJ models (Wings.obj, flag.obj, cloud.obj) into
// the directory given on the command line. The output depends on nothing
// but this program, so the files in assets/objects can be checked against it.
#include <cstdio>
#include <fstream>
#include <string>

#include "models.h"

namespace {

bool writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "Cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1];
    const std::string origin = "Written by tools/model_generator; regenerate rather than edit.";
    bool written = writeText(directory + "/Wings.obj",
                             buildWings().toObjText("Wings", {"Fairy wings, two-sided, spreading along x.", origin}));
    written &= writeText(directory + "/flag.obj",
                         buildFlag().toObjText("Flag", {"Finish flag: pole on the y axis, cloth along +x.", origin}));
    written &= writeText(directory + "/cloud.obj",
                         buildCloud().toObjText("Cloud", {"Small puffy cloud centred at the origin.", origin}));
    return written ? 0 : 1;
}
