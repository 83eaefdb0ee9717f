// Entry of the kolt-32 solver: the run driver over the process arguments and
// the raw environment block (in WINKOLT mode its entries carry no '=').
#include <cstdio>

#include "run_driver.h"

extern char** environ;

int main(int argc, char** argv) { return kolt::runSolver(argc, argv, environ, stdin); }
