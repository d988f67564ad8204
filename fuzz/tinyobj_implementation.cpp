// The OBJ library's own code, compiled into the OBJ fuzzer so that its parser is instrumented too
// (the packaged shared library is not); the definitions here take precedence over the library's.
#define TINYOBJLOADER_IMPLEMENTATION
#include <tiny_obj_loader.h>
