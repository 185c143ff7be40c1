// Compiles tinyobjloader's parser into the fuzzer itself, so that libFuzzer's
// coverage guidance and the sanitizers reach inside the parser too.
#define TINYOBJLOADER_IMPLEMENTATION
#include <tiny_obj_loader.h>
