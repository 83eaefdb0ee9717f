// One run of the solver, from the mode decision to the exit status.
#pragma once

#include <cstdio>

namespace kolt {

// Runs the solver with the process arguments and environment block and
// returns the exit status (0, or 50 after any error). In WINKOLT mode (first
// environment entry exactly "WINKOLT") standard error and standard output are
// redirected to the files named by the second and third entries; otherwise
// standard output goes to "wyniki.txt" and the run ends by waiting for ENTER
// on `input`.
int runSolver(int argc, const char* const* argv, const char* const* envp, std::FILE* input);

}  // namespace kolt
