// Running the parser in-process against a captured console and keeping
// everything it produced.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "solver/language/parser.h"
#include "solver/model/network.h"
#include "tests/solver/captured_console.h"

namespace kolt::testing {

// The whole outcome of one syntax analysis.
struct ParseOutcome {
    std::unique_ptr<CapturedConsole> console = std::make_unique<CapturedConsole>();
    std::unique_ptr<Network> network;  // destroyed before the console it reports to
    std::optional<int> endStatus;      // set when the run was ended
    std::string errText;               // all of standard error, as UTF-8
    // The diagnostic lines, without the stage text before them and the "OK" after.
    std::vector<std::string> messages;
};

inline ParseOutcome parseText(std::string text) {
    ParseOutcome outcome;
    try {
        Parser parser(outcome.console->reporter(), std::move(text));
        outcome.network = parser.parseNetwork();
    } catch (const RunEnded& ended) {
        outcome.endStatus = ended.status;
    }
    outcome.errText = outcome.console->err();
    outcome.messages = nonEmptyLines(outcome.errText);
    if (!outcome.messages.empty() && outcome.messages.front() == "Analiza syntaktyczna...")
        outcome.messages.erase(outcome.messages.begin());
    if (!outcome.endStatus && !outcome.messages.empty() && outcome.messages.back() == "OK") outcome.messages.pop_back();
    return outcome;
}

// A file with the given declaration and description items: the declarations
// begin on line 3, the descriptions on the line after "*DESCRIPTION*".
inline std::string networkFile(const std::string& declarations, const std::string& descriptions) {
    return "SOUR Test\n*DECLARATION*\n" + declarations + "*END*\n*DESCRIPTION*\n" + descriptions + "*END*\n";
}

}  // namespace kolt::testing
