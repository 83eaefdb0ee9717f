#include "bench/network_generator.h"

#include <algorithm>
#include <cstdio>
#include <random>

namespace kolt::bench {
namespace {

bool isOpen(NetworkFamily family) { return family == NetworkFamily::Jackson || family == NetworkFamily::Diffusion; }

std::string stationName(int m) { return "S" + std::to_string(m + 1); }
std::string className(int r) { return "K" + std::to_string(r + 1); }

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

// Sixteenths of probability: n shares that add up to `total`, each at least 1.
std::vector<int> shares(int n, int total, std::mt19937& random) {
    std::vector<int> parts(n, 1);
    for (int left = total - n; left > 0; --left) ++parts[random() % n];
    return parts;
}

std::string probability(int sixteenths) { return "[" + number(sixteenths / 16.0) + "]"; }

const char* discipline(NetworkFamily family, std::mt19937& random) {
    switch (family) {
        case NetworkFamily::Diffusion: return "FIFO";
        case NetworkFamily::Priority: {
            static const char* const kinds[] = {"FIFO", "PS", "PRIOR", "PRIOR-PR", "IS"};
            return kinds[random() % 5];
        }
        default: {
            static const char* const kinds[] = {"FIFO", "PS", "LIFO-PR", "FIFO", "IS"};
            return kinds[random() % 5];
        }
    }
}

std::string service(NetworkFamily family, double mean, std::mt19937& random) {
    const std::string m = number(mean);
    switch (family) {
        case NetworkFamily::Jackson:
            if (random() % 3 == 0) return "COX[1," + number(mean / 2) + ",0.5," + m + "]";
            return "EXP[" + m + "]";
        case NetworkFamily::Diffusion:
        case NetworkFamily::Hmva:
            switch (random() % 6) {
                case 0: return "DET[" + m + "]";
                case 1: return "ERL[3," + m + "]";
                case 2: return "UNI[" + number(mean / 2) + "," + number(mean * 1.5) + "]";
                case 3: return "G[" + m + ",1.5]";
                case 4: return "HIP[0.5," + number(mean / 2) + ",0.5," + number(mean * 1.5) + "]";
                default: return "EXP[" + m + "]";
            }
        default: return "EXP[" + m + "]";
    }
}

// One TRANSIT list of station m for one class: the ring successor, random
// further targets, and for an open network the exit with 4 sixteenths.
std::string transitList(const NetworkShape& shape, int m, std::mt19937& random) {
    const int M = shape.stations;
    const bool open = isOpen(shape.family);
    std::vector<int> targets{(m + 1) % M};
    if (!shape.ring)
        for (int tries = 0; static_cast<int>(targets.size()) < shape.fanOut && tries < 4 * shape.fanOut; ++tries) {
            const int t =
                shape.reach > 0 && shape.reach < M
                    ? static_cast<int>((m + M + static_cast<int>(random() % (2 * shape.reach + 1)) - shape.reach) % M)
                    : static_cast<int>(random() % M);
            if (std::find(targets.begin(), targets.end(), t) == targets.end()) targets.push_back(t);
        }
    const int onward = open ? 12 : 16;
    const int n = std::min<int>(static_cast<int>(targets.size()), onward);
    targets.resize(n);
    const std::vector<int> parts = shares(n, onward, random);
    std::string text;
    for (int i = 0; i < n; ++i) {
        if (i > 0) text += ",";
        text += probability(parts[i]) + stationName(targets[i]);
    }
    if (open) text += "," + probability(4) + "OUT";
    return text + ";";
}

}  // namespace

std::string generateNetwork(const NetworkShape& shape) {
    std::mt19937 random(shape.seed);
    const bool open = isOpen(shape.family);
    const int M = shape.stations;
    const int R = open ? shape.openClasses : static_cast<int>(shape.population.size());
    const int sources = open ? (M + 15) / 16 : 0;
    std::string text = "SOUR Siec wygenerowana\n*DECLARATION*\n";
    text.reserve(static_cast<std::size_t>(M) * (60 + 40 * R * shape.fanOut));
    for (int r = 0; r < R; ++r)
        text += "\t/CLASS/ NAME=" + className(r) + "[" + (open ? "" : std::to_string(shape.population[r])) + "]\n";
    for (int s = 0; s < sources; ++s) text += "\t/SOURCE/ NAME=Z" + std::to_string(s + 1) + "\n";
    for (int m = 0; m < M; ++m) text += "\t/STATION/ NAME=" + stationName(m) + "\n";
    if (open) text += "\t/OUT/ NAME=OUT\n";
    text += "*END*\n*DESCRIPTION*\n";

    // Each source feeds 16 stations (the last one fewer) at a rate that
    // keeps every station well below saturation.
    for (int s = 0; s < sources; ++s) {
        const int first = 16 * s;
        const int count = std::min(16, M - first);
        text +=
            "\t/SOURCE/ NAME=Z" + std::to_string(s + 1) + "\n\t\tSERVICE=EXP[" + number(1.0 * R) + "]\n\t\tTRANSIT=";
        for (int i = 0; i < count; ++i) {
            if (i > 0) text += ",";
            text += probability(i + 1 < count ? 1 : 16 - (count - 1)) + stationName(first + i);
        }
        text += ";\n";
    }
    std::uniform_real_distribution<double> meanOf(0.2, 0.8);
    for (int m = 0; m < M; ++m) {
        if (shape.comments) text += "\t! stanowisko " + std::to_string(m + 1) + " sieci wygenerowanej !\n";
        text += "\t/STATION/ NAME=" + stationName(m) + "\n\t\tSCHEDULE=" + discipline(shape.family, random) + "\n";
        for (int r = 0; r < R; ++r) {
            const std::string which = R == 1 ? "" : "(" + className(r) + ")";
            // Open stations serve at most a quarter of what would saturate them.
            const double mean = open ? meanOf(random) / 4 : meanOf(random);
            text += "\t\tSERVICE" + which + "=" + service(shape.family, mean, random) + "\n";
            text += "\t\tTRANSIT" + which + "=" + transitList(shape, m, random) + "\n";
        }
    }
    text += "*END*\n";
    return text;
}

double ringBenchmarkServiceTime(int r, int m) { return 0.05 + 0.01 * ((m + 3 * r) % 7); }

bool ringBenchmarkDelayStation(int m) { return m == 0; }

std::string ringBenchmarkNetwork(int stations, const std::vector<int>& population) {
    const int R = static_cast<int>(population.size());
    std::string text = "SOUR Pierscien\n*DECLARATION*\n";
    for (int r = 0; r < R; ++r) text += "\t/CLASS/ NAME=" + className(r) + "[" + std::to_string(population[r]) + "]\n";
    for (int m = 0; m < stations; ++m) text += "\t/STATION/ NAME=" + stationName(m) + "\n";
    text += "*END*\n*DESCRIPTION*\n";
    for (int m = 0; m < stations; ++m) {
        const char* kind = ringBenchmarkDelayStation(m) ? "IS" : m % 2 == 0 ? "PS" : "FIFO";
        text += "\t/STATION/ NAME=" + stationName(m) + "\n\t\tSCHEDULE=" + kind + "\n";
        for (int r = 0; r < R; ++r) {
            char service[64];
            std::snprintf(service, sizeof service, "%.2f", ringBenchmarkServiceTime(r, m));
            text += "\t\tSERVICE(" + className(r) + ")=EXP[" + service + "]\n";
        }
        text += "\t\tTRANSIT=" + stationName((m + 1) % stations) + ";\n";
    }
    return text + "*END*\n";
}

}  // namespace kolt::bench
