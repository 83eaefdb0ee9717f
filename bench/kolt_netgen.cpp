// Writes a generated network definition file to standard output:
//   kolt-netgen FAMILY STATIONS [CLASSES] [FANOUT] [SEED] [ring] [comments] [reach=N]
// FAMILY is mva, mvap, hmva, jackson or diff, or bench for the exact MVA
// benchmark ring (then only STATIONS and CLASSES count); CLASSES is a comma-separated
// list of populations for a closed family (default 5) or the number of
// classes for an open one (default 1).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/network_generator.h"

using kolt::bench::NetworkFamily;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs(
            "kolt-netgen mva|mvap|hmva|jackson|diff|bench STATIONS [CLASSES] [FANOUT] [SEED] [ring] [comments]\n",
            stderr);
        return 2;
    }
    kolt::bench::NetworkShape shape;
    const std::string family = argv[1];
    if (family == "mva")
        shape.family = NetworkFamily::ExactMva;
    else if (family == "mvap")
        shape.family = NetworkFamily::Priority;
    else if (family == "hmva")
        shape.family = NetworkFamily::Hmva;
    else if (family == "jackson")
        shape.family = NetworkFamily::Jackson;
    else if (family == "diff")
        shape.family = NetworkFamily::Diffusion;
    else if (family != "bench") {
        std::fprintf(stderr, "unknown family %s\n", argv[1]);
        return 2;
    }
    shape.stations = std::atoi(argv[2]);
    if (argc > 3) {
        shape.population.clear();
        for (char* item = std::strtok(argv[3], ","); item; item = std::strtok(nullptr, ","))
            shape.population.push_back(std::atoi(item));
        shape.openClasses = shape.population.empty() ? 1 : shape.population.front();
    }
    if (argc > 4) shape.fanOut = std::atoi(argv[4]);
    if (argc > 5) shape.seed = static_cast<std::uint32_t>(std::strtoul(argv[5], nullptr, 10));
    for (int i = 6; i < argc; ++i) {
        if (std::strcmp(argv[i], "ring") == 0) shape.ring = true;
        if (std::strcmp(argv[i], "comments") == 0) shape.comments = true;
        if (std::strncmp(argv[i], "reach=", 6) == 0) shape.reach = std::atoi(argv[i] + 6);
    }
    const std::string text = family == "bench" ? kolt::bench::ringBenchmarkNetwork(shape.stations, shape.population)
                                               : kolt::bench::generateNetwork(shape);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
