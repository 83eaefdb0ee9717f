// Fuzz target for the file-to-model path: any bytes as a network definition
// file go through the line-end handling, the syntax analysis and, when a
// network results, its dump. Output goes to /dev/null.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "solver/frontend/command_line.h"
#include "solver/frontend/reporter.h"
#include "solver/language/parser.h"
#include "solver/model/network.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::FILE* sink = std::fopen("/dev/null", "w");
    kolt::Reporter reporter(kolt::Console{sink, sink});
    std::string text = kolt::normaliseLineEnds(std::string(reinterpret_cast<const char*>(data), size));
    try {
        kolt::Parser parser(reporter, std::move(text));
        if (const auto network = parser.parseNetwork()) network->writeDump();
    } catch (const kolt::RunEnded&) {
        // A flush after an error: the ordinary end of a run on bad input.
    }
    return 0;
}
