// Writes every medium of the program into the directory named on the command line.
#include <cstdio>
#include <string>

#include "bmp_file.h"
#include "burst_layout.h"
#include "bursts.h"
#include "dsp.h"
#include "icon.h"
#include "jpeg_file.h"
#include "music.h"
#include "rockets.h"
#include "sound_effects.h"
#include "wave_file.h"

namespace {

constexpr int kJpegQuality = 92;

bool Write(const std::string& directory, const char* name, const media::Bytes& bytes)
{
    const std::string path = directory + "/" + name;
    if (media::WriteFile(path, bytes)) {
        return true;
    }
    std::fprintf(stderr, "media_generator: cannot write %s\n", path.c_str());
    return false;
}

const media::WaveInfo kMusicInfo = {
    {"INAM", "Old Friends under the Fireworks"},
    {"IART", "The Lantern Street Players"},
    {"IGNR", "Festive"},
};

const media::WaveInfo kCrackleInfo = {
    {"INAM", "Star Shell Crackle"},
    {"IART", "The Lantern Street Players"},
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1];
    using namespace media;
    // Every medium is written even when an earlier one failed.
    bool ok = Write(directory, "bursts.jpg", EncodeJpeg(PaintBurstStrip(), kStripWidth, kStripHeight, kJpegQuality));
    ok &= Write(directory, "rockets.bmp", EncodeBmp(PaintRocketSheet(), kRocketSheetWidth, kRocketHeight));
    ok &= Write(directory, "launch.wav", EncodeWave({1, kLaunchSampleRate, 8}, LaunchWhoosh(), {}));
    ok &= Write(directory, "crackle.wav", EncodeWave({2, kSampleRate, 16}, PcmBytes(BurstCrackle()), kCrackleInfo));
    ok &= Write(directory, "music.wav",
                EncodeWave({kMusicChannels, kSampleRate, 16}, PcmBytes(ComposeMusic()), kMusicInfo));
    ok &= Write(directory, "fireworks.ico", BuildIcon());
    return ok ? 0 : 1;
}
