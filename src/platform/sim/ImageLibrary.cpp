// The image library's own code, compiled once here with its formats cut to
// those a desktop's image files come in. It is not ours to fix, so it is
// built without our warnings.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_WRITE_NO_STDIO
#define STBI_MAX_DIMENSIONS 65536

#include <stb_image.h>
#include <stb_image_write.h>
