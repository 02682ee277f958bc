#pragma once
// Signal building blocks shared by the music and the sound effects.

#include <cmath>
#include <cstddef>

namespace media {

constexpr int kSampleRate = 44100;
constexpr double kTwoPi = 6.28318530717958647692;

inline double MidiFrequency(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// Two-pole state-variable filter (trapezoidal), stable under fast cutoff changes.
class StateVariableFilter {
public:
    void Tune(double cutoff, double resonance)
    {
        const double g = std::tan(kTwoPi * 0.5 * std::fmin(cutoff, kSampleRate * 0.45) / kSampleRate);
        k_ = 1.0 / resonance;
        a1_ = 1.0 / (1.0 + g * (g + k_));
        a2_ = g * a1_;
        a3_ = g * a2_;
    }

    void Process(double x)
    {
        const double v3 = x - ic2_;
        const double v1 = a1_ * ic1_ + a2_ * v3;
        const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
        ic1_ = 2.0 * v1 - ic1_;
        ic2_ = 2.0 * v2 - ic2_;
        low_ = v2;
        band_ = v1;
        high_ = x - k_ * v1 - v2;
    }

    double Low() const { return low_; }
    double Band() const { return band_; }
    double High() const { return high_; }

private:
    double k_ = 1, a1_ = 0, a2_ = 0, a3_ = 0;
    double ic1_ = 0, ic2_ = 0;
    double low_ = 0, band_ = 0, high_ = 0;
};

// Band-limited sawtooth (polynomial correction at the wrap).
class Sawtooth {
public:
    explicit Sawtooth(double phase = 0) : phase_(phase) {}

    double Next(double frequency)
    {
        const double step = frequency / kSampleRate;
        double value = 2.0 * phase_ - 1.0 - Correction(phase_, step);
        phase_ += step;
        if (phase_ >= 1.0) {
            phase_ -= 1.0;
        }
        return value;
    }

private:
    static double Correction(double t, double dt)
    {
        if (t < dt) {
            t /= dt;
            return t + t - t * t - 1.0;
        }
        if (t > 1.0 - dt) {
            t = (t - 1.0) / dt;
            return t * t + t + t + 1.0;
        }
        return 0.0;
    }

    double phase_;
};

// A slowly changing curve f(seconds), read sample by sample: evaluated every
// few samples and ramped in between, which is inaudible and much cheaper.
template <typename Curve>
class Control {
public:
    explicit Control(Curve curve) : curve_(curve), from_(curve_(0.0)), to_(curve_(Seconds(kStep))) {}

    double Next()
    {
        if (step_ == kStep) {
            step_ = 0;
            block_ += kStep;
            from_ = to_;
            to_ = curve_(Seconds(block_ + kStep));
        }
        return from_ + (to_ - from_) * static_cast<double>(step_++) / kStep;
    }

private:
    static constexpr std::size_t kStep = 16;
    static double Seconds(std::size_t sample) { return static_cast<double>(sample) / kSampleRate; }

    Curve curve_;
    double from_;
    double to_;
    std::size_t block_ = 0;
    std::size_t step_ = 0;
};

// Attack, decay to a sustain level, and release after `held` seconds.
inline double Adsr(double t, double held, double attack, double decay, double sustain, double release)
{
    auto level = [&](double time) {
        if (time < attack) return time / attack;
        return sustain + (1.0 - sustain) * std::exp(-(time - attack) / decay);
    };
    if (t < held) {
        return level(t);
    }
    return level(held) * std::exp(-(t - held) / release);
}

}  // namespace media
