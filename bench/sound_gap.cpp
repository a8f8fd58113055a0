// Reads a recording of raw 16-bit stereo at 44.1 kHz (as parec writes it)
// and prints, in milliseconds, the longest stretch in which no sample of
// either channel rises above the level of sound (about -50 dBFS), counted
// from the first sound on; "none" when nothing sounds at all.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s recording.raw\n", argv[0]);
        return 2;
    }
    constexpr int audible = 100;
    constexpr long rate = 44100;
    std::ifstream in(argv[1], std::ios::binary);
    std::int16_t frame[2];
    bool heard = false;
    long run = 0, longest = 0;
    while (in.read(reinterpret_cast<char*>(frame), sizeof frame)) {
        const bool sound = std::abs(int(frame[0])) > audible || std::abs(int(frame[1])) > audible;
        heard = heard || sound;
        if (!heard)
            continue;
        run = sound ? 0 : run + 1;
        if (run > longest)
            longest = run;
    }
    if (!heard)
        std::printf("none\n");
    else
        std::printf("%ld\n", longest * 1000 / rate);
    return 0;
}
