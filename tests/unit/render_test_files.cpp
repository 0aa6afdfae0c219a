// The one definition of the PNG writer in each test program that makes images.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "tests/unit/render_test_files.h"
