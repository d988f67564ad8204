// The stb_image_write and stb_truetype declarations, included with the project's warnings silenced
// (third-party code); their implementations are compiled once, in stb_implementation.cpp.
#pragma once

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb/stb_image_write.h>
#include <stb/stb_truetype.h>
#pragma GCC diagnostic pop
