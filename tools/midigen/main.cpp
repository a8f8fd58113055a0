// Writes the game's background music beside the program:
//   tangrix_midigen <directory>
#include "tools/midigen/Pieces.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1];
    try {
        for (const Piece& piece : GamePieces()) {
            const SmfBytes bytes = Arrange(piece);
            const std::string path = directory + "/" + piece.fileName;
            std::ofstream out(path, std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            if (!out) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                return 1;
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "midigen: %s\n", error.what());
        return 1;
    }
    return 0;
}
