// artgen OUTDIR: draws the program's bitmaps and icon into OUTDIR (which must exist). The output
// depends on nothing but this program's code, so every run writes the same bytes.
#include <cstdio>

#include "artwork.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen OUTDIR\n");
        return 2;
    }
    if (!WriteArtwork(argv[1])) {
        std::fprintf(stderr, "artgen: cannot write the artwork into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
