#pragma once
// Small statistics over 1-based lists (entries 1..n of a std::vector<double>, entry 0 unused)
// and normally distributed random numbers. Arithmetic that has no answer (no entries, a
// logarithm of x <= 0) throws NumericError.
#include <cstdint>
#include <random>
#include <vector>

namespace kal {

// log(x) / log(2.71828182845905), the natural logarithm as the program computes it (LnE). x <= 0 throws.
double naturalLog(double x);

// (list(1) + ... + list(n)) / n; n = 0 throws (Mean).
double meanOf(const std::vector<double>& list);

// Sample standard deviation of entries 1..n (divisor n - 1); n < 2 throws (StdDev).
double standardDeviation(const std::vector<double>& list);

// A source of uniform numbers in [0, 1).
class UniformSource {
  public:
    virtual ~UniformSource() = default;
    virtual double next() = 0;
};

// The program's uniform generator: 64-bit Mersenne Twister from a fixed seed, never the clock,
// so every start of the program draws the same sequence. The conversion r = (bits >> 11)·2^-53
// is done by hand because std::uniform_real_distribution differs between standard libraries.
class UniformRandom : public UniformSource {
  public:
    static constexpr std::uint64_t kDefaultSeed = std::mt19937_64::default_seed;

    explicit UniformRandom(std::uint64_t seed = kDefaultSeed) : engine_(seed) {}
    double next() override;
    void reseed(std::uint64_t seed = kDefaultSeed) { engine_.seed(seed); }

  private:
    std::mt19937_64 engine_;
};

// The one generator of the running program; its sequence runs on across calculations (the Monte
// Carlo series draws from it) (ProgramRandom). Tests reseed it.
UniformRandom& programRandom();

// Normally distributed number with the given mean and standard deviation by the polar method:
// pairs u = 2·r1 - 1, v = 2·r2 - 1 of successive uniforms are drawn until 0 < s = u² + v² < 1,
// and the result is u·√(-2·naturalLog(s) / s)·sigma + mean; v's normal number is discarded, so every
// call takes at least two uniforms (GaussRandom). Sigma 0 gives the mean exactly.
double gaussRandom(double mean, double sigma, UniformSource& uniform);
double gaussRandom(double mean, double sigma);  // from programRandom()

}  // namespace kal
