// The one definition of the PNG writer in the headless tests.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "tests/unit/render_test_files.h"
