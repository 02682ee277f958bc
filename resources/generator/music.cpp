#include "music.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "dsp.h"
#include "instruments.h"
#include "mix_bus.h"
#include "random.h"

namespace media {

namespace {

constexpr double kBeatsPerMinute = 96.0;
constexpr double kBeatSeconds = 60.0 / kBeatsPerMinute;
constexpr int kBeatsPerBar = 4;
constexpr int kBarsPerPass = 16;
constexpr int kPasses = 2;
constexpr int kLoopBeats = kBeatsPerBar * kBarsPerPass * kPasses;
// Peak level of the finished mix: -1.5 dBFS.
constexpr double kPeak = 0.8414;

// The tune in F major, one pass: verse and chorus, eighth notes as the unit,
// B meaning B flat, lower case an octave up. Each pass ends with the pickup
// into the next.
constexpr const char* kTune =
    "F3 F F2 A2 | G3 F G2 A2 | F3 F A2 c2 | d6 d2 | c3 A A2 F2 | G3 F G2 A2 | F3 D D2 C2 | F6 d2 |"
    "c3 A A2 F2 | G3 F G2 d2 | c3 A A2 c2 | d6 f2 | c3 A A2 F2 | G3 F G2 A2 | F3 D D2 C2 | F6 C2";

// Two chords a bar.
constexpr const char* kChords[kBarsPerPass * 2] = {
    "F", "F", "C",  "C7", "F", "F7", "Bb", "Bb", "F", "Dm", "Gm7", "C7", "Bb", "C7", "F", "F",
    "F", "F", "C7", "C7", "F", "F7", "Bb", "Bb", "F", "Dm", "Gm7", "C7", "Bb", "C7", "F", "F",
};

struct Note {
    double beat;    // from the start of the pass
    double length;  // beats
    int pitch;      // MIDI note number
};

struct Chord {
    int root;                  // pitch class
    std::vector<int> voicing;  // close position around middle C
    int third;                 // semitones above the root
};

std::vector<Note> ParseTune(const std::string& tune)
{
    static const int kLetters[7] = {69, 70, 60, 62, 64, 65, 67};  // A B(flat) C D E F G
    std::vector<Note> notes;
    double beat = 0;
    for (std::size_t i = 0; i < tune.size(); ++i) {
        const char c = tune[i];
        const bool upper = c >= 'A' && c <= 'G';
        const bool lower = c >= 'a' && c <= 'g';
        if (!upper && !lower) {
            continue;
        }
        int pitch = kLetters[(upper ? c - 'A' : c - 'a')] + (lower ? 12 : 0);
        int eighths = 0;
        while (i + 1 < tune.size() && tune[i + 1] >= '0' && tune[i + 1] <= '9') {
            eighths = eighths * 10 + (tune[++i] - '0');
        }
        eighths = std::max(eighths, 1);
        notes.push_back({beat, eighths * 0.5, pitch});
        beat += eighths * 0.5;
    }
    return notes;
}

Chord ChordNamed(const std::string& name)
{
    if (name == "F") return {5, {57, 60, 65}, 4};
    if (name == "F7") return {5, {57, 60, 63}, 4};
    if (name == "C") return {0, {55, 60, 64}, 4};
    if (name == "C7") return {0, {55, 58, 64}, 4};
    if (name == "Bb") return {10, {58, 62, 65}, 4};
    if (name == "Dm") return {2, {57, 62, 65}, 3};
    return {7, {55, 58, 62, 65}, 3};  // Gm7
}

// The pitch two steps down the F major scale: the harmony a third below.
int ThirdBelow(int pitch)
{
    static const bool kInScale[12] = {true, false, true, false, true, true, false, true, false, true, true, false};
    int steps = 0;
    while (steps < 2) {
        --pitch;
        if (kInScale[pitch % 12]) {
            ++steps;
        }
    }
    return pitch;
}

// `low` and the eleven semitones above it hold one note of each pitch class.
int InRange(int pitchClass, int low) { return low + ((pitchClass - low) % 12 + 12) % 12; }

class Arranger {
public:
    Arranger() : mix_(Frames(kLoopBeats)), send_(Frames(kLoopBeats)), random_(0x5EA50F0C0FFEEull) {}

    void Arrange()
    {
        const std::vector<Note> tune = ParseTune(kTune);
        for (int pass = 0; pass < kPasses; ++pass) {
            const double offset = pass * kBarsPerPass * kBeatsPerBar;
            PlayMelody(tune, offset, pass);
            for (int half = 0; half < kBarsPerPass * 2; ++half) {
                PlayHarmony(half, offset + half * 2.0, pass);
            }
            PlayPercussion(offset, pass);
        }
    }

    std::vector<std::int16_t> Master()
    {
        mix_.Add(Reverberate(send_, 0.86, 0.3), 1.0);
        double peak = 1e-9;
        for (std::int64_t i = 0; i < mix_.Frames(); ++i) {
            peak = std::max({peak, std::abs(mix_.Left()[i]), std::abs(mix_.Right()[i])});
        }
        const double gain = kPeak * 32767.0 / peak;
        std::vector<std::int16_t> frames(static_cast<std::size_t>(mix_.Frames()) * kMusicChannels);
        for (std::int64_t i = 0; i < mix_.Frames(); ++i) {
            frames[2 * i] = static_cast<std::int16_t>(std::lround(mix_.Left()[i] * gain));
            frames[2 * i + 1] = static_cast<std::int16_t>(std::lround(mix_.Right()[i] * gain));
        }
        return frames;
    }

private:
    static std::int64_t Frames(double beats) { return std::llround(beats * kBeatSeconds * kSampleRate); }

    // A player is never exactly on the beat.
    std::int64_t Humanised(double beat, double spread)
    {
        return Frames(beat) + static_cast<std::int64_t>(random_.Gaussian() * spread * kSampleRate);
    }

    void Play(const std::vector<double>& sound, std::int64_t start, double pan, double gain, double reverb)
    {
        mix_.Place(sound, start, pan, gain);
        send_.Place(sound, start, pan, gain * reverb);
    }

    void PlayMelody(const std::vector<Note>& tune, double offset, int pass)
    {
        for (const Note& note : tune) {
            const double accent = std::fmod(note.beat, 2.0) == 0.0 ? 1.0 : 0.85;
            const double velocity = accent * random_.Range(0.92, 1.0);
            const std::int64_t start = Humanised(offset + note.beat, 0.004);
            const double frequency = MidiFrequency(note.pitch);
            if (pass == 0) {
                Play(Bell(frequency * 2.0, velocity), start, 0.15, 0.30, 0.35);
            } else {
                const double seconds = note.length * kBeatSeconds * 0.92;
                Play(Horn(frequency, seconds, velocity), start, 0.0, 0.42, 0.3);
                Play(Bell(frequency * 4.0, velocity), start, 0.35, 0.07, 0.4);
                if (note.beat >= kBarsPerPass * 2.0) {
                    const double harmony = MidiFrequency(ThirdBelow(note.pitch));
                    Play(Horn(harmony, seconds, velocity * 0.8), start + 220, -0.3, 0.22, 0.35);
                }
            }
        }
    }

    void PlayHarmony(int half, double beat, int pass)
    {
        const Chord chord = ChordNamed(kChords[half]);
        // half is below kBarsPerPass * 2: the test of half > 0 guards only the chord before.
        // cppcheck-suppress arrayIndexOutOfBoundsCond
        const bool sameAsBefore = half > 0 && std::string(kChords[half]) == kChords[half - 1];
        const bool sameAsNext = half + 1 < kBarsPerPass * 2 && std::string(kChords[half + 1]) == kChords[half];

        // Strings hold each chord for as long as it lasts.
        if (!sameAsBefore) {
            const double beats = sameAsNext ? 4.0 : 2.0;
            const double seconds = beats * kBeatSeconds - 0.05;
            const double level = pass == 0 ? 0.13 : 0.2;
            for (int pitch : chord.voicing) {
                const double f = MidiFrequency(pitch);
                const std::int64_t start = Frames(beat);
                const std::vector<double> left = Strings(f, seconds, 1.0, 0.0);
                const std::vector<double> right = Strings(f, seconds, 1.0, 1.0);
                mix_.PlaceStereo(left, right, start, level);
                send_.PlaceStereo(left, right, start, level * 0.5);
            }
        }

        // Harp: root, fifth, octave and tenth, rising in eighths.
        const int root = InRange(chord.root, 50);
        const int pattern[4] = {root, root + 7, root + 12, root + 12 + chord.third};
        for (int i = 0; i < 4; ++i) {
            const double velocity = (i == 0 ? 1.0 : 0.8) * random_.Range(0.9, 1.0);
            const double f = MidiFrequency(pattern[i] + (pass == 1 ? 12 : 0));
            const std::vector<double> pluck = Harp(f, velocity, random_);
            Play(pluck, Humanised(beat + i * 0.5, 0.003), -0.4, pass == 0 ? 0.45 : 0.32, 0.3);
        }

        // Bass: the root on the half bar, walking in quarters the second time.
        const int bass = InRange(chord.root, 36);
        if (pass == 0) {
            Play(Bass(MidiFrequency(bass), 2.0 * kBeatSeconds - 0.05, 1.0), Frames(beat), 0.0, 0.28, 0.05);
        } else {
            const int walk[2] = {bass, bass + 7};
            for (int i = 0; i < 2; ++i) {
                Play(Bass(MidiFrequency(walk[i]), kBeatSeconds - 0.05, i == 0 ? 1.0 : 0.85), Frames(beat + i), 0.0,
                     0.28, 0.05);
            }
        }
    }

    void PlayPercussion(double offset, int pass)
    {
        const int firstBar = pass == 0 ? kBarsPerPass / 2 : 0;
        for (int bar = firstBar; bar < kBarsPerPass; ++bar) {
            const double barBeat = offset + bar * kBeatsPerBar;
            for (int eighth = 0; eighth < 8; ++eighth) {
                const double velocity = (eighth % 2 == 0 ? 0.6 : 1.0) * random_.Range(0.85, 1.0);
                const std::vector<double> shake = SleighBells(velocity, random_);
                Play(shake, Humanised(barBeat + eighth * 0.5, 0.003), 0.45, pass == 0 ? 0.12 : 0.18, 0.3);
            }
            if (pass == 1) {
                for (int beat = 0; beat < kBeatsPerBar; beat += 2) {
                    Play(Drum(beat == 0 ? 1.0 : 0.8), Frames(barBeat + beat), 0.0, 0.3, 0.1);
                }
            }
        }
        if (pass == 1) {
            for (int bar : {0, kBarsPerPass / 2}) {
                Play(Cymbal(1.0, random_), Frames(offset + bar * kBeatsPerBar), -0.2, 0.12, 0.4);
            }
        }
    }

    LoopMix mix_;
    LoopMix send_;
    Random random_;
};

}  // namespace

std::vector<std::int16_t> ComposeMusic()
{
    Arranger arranger;
    arranger.Arrange();
    return arranger.Master();
}

}  // namespace media
