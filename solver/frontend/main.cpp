// Entry of the kolt-32 solver: the run driver over the process arguments and
// the raw environment block (in WINKOLT mode its entries carry no '='), after
// the one question the solver answers without a run, --help or --version.
#include <cstdio>

#include "program_info.h"
#include "run_driver.h"

extern char** environ;

int main(int argc, char** argv) {
    if (kolt::isInfoRequest(argc, argv)) return kolt::writeInfo(argv[1], stdout);
    return kolt::runSolver(argc, argv, environ, stdin);
}
