#pragma once
// Distance networks of known geometry for the adjustment's tests and benchmark: stations on a
// ring around a block of object points, every station measuring every point, exact distances
// (or distances with Gaussian noise of a given σ). Stations 1 to 3 start at their true places,
// so that the held datum coordinates are true; the others and the points start displaced.
#include <cmath>
#include <random>
#include <string>

#include "shared/JobState.h"

namespace kal::testing {

struct SyntheticNetwork {
    Matrix trueStations, truePoints;
};

inline SyntheticNetwork fillSyntheticNetwork(JobState& job, std::int32_t stations, std::int32_t points,
                                             double noiseSigma = 0.0, double startOffset = 2.0,
                                             unsigned seed = 7) {
    SyntheticNetwork net;
    net.trueStations.resize(stations, 3);
    net.truePoints.resize(points, 3);
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::normal_distribution<double> noise(0.0, 1.0);
    for (std::int32_t s = 1; s <= stations; ++s) {
        const double angle = 2.0 * 3.14159265358979 * (s - 1) / stations + 0.3;
        net.trueStations(s, 1) = 4000.0 * std::cos(angle) + 100.0 * unit(random);
        net.trueStations(s, 2) = 3000.0 * std::sin(angle) + 100.0 * unit(random);
        net.trueStations(s, 3) = 1500.0 + 800.0 * unit(random);
    }
    for (std::int32_t p = 1; p <= points; ++p) {
        net.truePoints(p, 1) = 1500.0 * unit(random);
        net.truePoints(p, 2) = 1200.0 * unit(random);
        net.truePoints(p, 3) = 600.0 * unit(random);
    }
    job.AnzBuendelStation = stations;
    job.AnzBuendelPunkt = points;
    job.AnzBuendelBeob = stations * points;
    job.BuendelStation.assign(1, std::string());
    job.BuendelPunkt.assign(1, std::string());
    job.BuendelStationDaten.resize(stations, 3);
    job.BuendelPunktDaten.resize(points, 3);
    for (std::int32_t s = 1; s <= stations; ++s) {
        job.BuendelStation.push_back("S" + std::to_string(s));
        for (int a = 1; a <= 3; ++a)
            job.BuendelStationDaten(s, a) =
                net.trueStations(s, a) + (s > 3 ? startOffset * unit(random) : 0.0);
    }
    for (std::int32_t p = 1; p <= points; ++p) {
        job.BuendelPunkt.push_back("P" + std::to_string(p));
        for (int a = 1; a <= 3; ++a)
            job.BuendelPunktDaten(p, a) = net.truePoints(p, a) + startOffset * unit(random);
    }
    job.BuendelBeob.assign(1, {});
    job.BuendelBeobWert.assign(1, 0.0);
    for (std::int32_t s = 1; s <= stations; ++s)
        for (std::int32_t p = 1; p <= points; ++p) {
            double d2 = 0.0;
            for (int a = 1; a <= 3; ++a) d2 += std::pow(net.trueStations(s, a) - net.truePoints(p, a), 2);
            job.BuendelBeob.push_back({std::string(), "S" + std::to_string(s), "P" + std::to_string(p)});
            job.BuendelBeobWert.push_back(std::sqrt(d2) +
                                          (noiseSigma > 0 ? noiseSigma * noise(random) : 0.0));
        }
    return net;
}

}  // namespace kal::testing
