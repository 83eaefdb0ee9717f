// The syntax analysis of a network definition file.
//
// A file is the line "SOUR <network name>" followed by blocks: *DECLARATION*
// declares classes and objects, *DESCRIPTION* gives sources and stations their
// service, discipline and routing, *END* closes a block. The parser builds the
// Network while it goes, but only as long as no error has been reported:
// after the first error it keeps checking without building, so that one run
// reports every problem of the file.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "scanner.h"
#include "solver/core/reporter.h"
#include "solver/model/network.h"

namespace kolt {

class Station;

class Parser {
  public:
    // `text` is the whole network file as loaded: CR LF already turned into LF,
    // no terminating NUL needed (the end of the string, and any NUL byte
    // inside it, end the text). The first character is read at once.
    Parser(Reporter& reporter, std::string text);

    // The syntax analysis: writes "Analiza syntaktyczna..." to standard error,
    // parses, flushes the reporter to standard error (which throws RunEnded
    // after any error), writes "OK\n" and returns the network. Null only if
    // the network was never created.
    std::unique_ptr<Network> parseNetwork();

  private:
    // Declaration block (declaration_block.cpp).
    void readNetworkHeader();
    void parseBlocks();
    void parseDeclarationItem();
    bool expectName();
    void declareClass();
    void declareObject(int objectType);
    void declareExit();
    void parseDescriptionItems();
    void checkDescriptionCounts();

    // Description block (description_block.cpp).
    void describeSource();
    void describeStation();
    bool describeHead(int expectedType);
    void readSourceParameter();
    void readStationParameter();
    int parameterKeyword(const char* unknownMessage);
    void readParameterValue(int parameter, bool inStation);
    void readDiscipline();
    void readServiceValue();
    char readClassList(bool single);

    // The values of one service as they are read: the place of the next value
    // in its group, whether the rest of the list is only read, the values of
    // the group so far, the last histogram bound and the sum of the
    // hyperexponential branch probabilities.
    struct ServiceReading {
        int position = 0;
        bool ignoreRest = false;
        double group[2] = {0, 0};
        double previousBound = 0;
        double branchProbabilities = 0;
    };
    void parseService();
    void startServiceValue(ServiceReading& reading);
    void parseServiceNumber(ServiceReading& reading);
    bool serviceValueInRange(double value, ServiceReading& reading);
    void storeServiceGroup(const ServiceReading& reading);
    void checkServiceComplete(const ServiceReading& reading);
    void parseTransit();
    void setAllClassFlags(bool value);
    bool buildingModel() const { return network_ && reporter_.noErrorSoFar(); }
    Station* currentStation() const;
    bool currentIsSource() const;
    bool histogramBoundAllowed(double bound, double previousInValue);

    Reporter& reporter_;
    Scanner scanner_;
    std::unique_ptr<Network> network_;

    // Driver state.
    bool inBlock_ = false;
    bool declarationSeen_ = false;
    bool exitDeclared_ = false;
    int sourcesDeclared_ = 0;
    int sourcesDescribed_ = 0;
    int stationsDeclared_ = 0;
    int stationsDescribed_ = 0;

    // Description state: the object being described, the classes the current
    // parameter applies to, how often each parameter keyword was used in the
    // item, and the distribution keyword being read (index into its table).
    NetObject* currentObject_ = nullptr;
    std::array<bool, kMaxClasses> classFlags_{};
    std::array<int, 9> parameterUses_{};
    int distribution_ = 0;
};

}  // namespace kolt
