// The one place the stb writer and font rasteriser are compiled.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#include <stb/stb_truetype.h>
