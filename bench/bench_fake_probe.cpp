// A stand-in encoder that answers a probe at once: started as "bench_fake_probe -i PATH",
// it prints what the encoder prints for a one-minute 640x480 file and ends like the
// encoder does without an output file. No Qt, so that it starts as fast as a program can.
#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    const char *path = "";
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-i") == 0)
            path = argv[i + 1];
    }
    std::fprintf(stderr,
                 "Input #0, avi, from '%s':\n"
                 "  Duration: 00:01:00.00, start: 0.000000, bitrate: 1000 kb/s\n"
                 "  Stream #0:0: Video: mpeg4 (Simple Profile) (FMP4 / 0x34504D46), yuv420p, 640x480 "
                 "[SAR 1:1 DAR 4:3], 900 kb/s, 25 fps, 25 tbr, 25 tbn\n"
                 "  Stream #0:1: Audio: mp3 (U[0][0][0] / 0x0055), 44100 Hz, stereo, fltp, 128 kb/s\n"
                 "At least one output file must be specified\n",
                 path);
    return 1;
}
