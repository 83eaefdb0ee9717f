// The syntax analysis' driver: the first line, the loop over blocks, the
// declaration items and the checks at the end of the file.
#include <climits>
#include <cstdio>
#include <string_view>

#include "keyword_table.h"
#include "parser.h"
#include "solver/core/text.h"
#include "solver/model/net_object.h"

namespace kolt {
namespace {

enum BlockKeyword { kNoBlock = 0, kDeclarationBlock = 1, kDescriptionBlock = 2, kEndBlock = 3 };

enum ObjectKeyword {
    kNoObject = 0,
    kClassItem = 1,
    kSubnetworkItem,
    kSubendItem,
    kSourceItem,
    kForkItem,
    kForkIItem,
    kStationItem,
    kResourceItem,
    kSemaphoreItem,
    kQueueItem,
    kJoinItem,
    kJoinIItem,
    kOutItem = 13
};

constexpr std::string_view kBlockKeywords[] = {"DECLARATION", "DESCRIPTION", "END"};
constexpr std::string_view kObjectKeywords[] = {"CLASS",  "SUBNETWORK", "SUBEND",   "SOURCE",    "FORK",
                                                "FORK-I", "STATION",    "RESOURCE", "SEMAPHORE", "QUEUE",
                                                "JOIN",   "JOIN-I",     "OUT"};

bool containsBlank(const std::string& name) { return name.find_first_of(" \t") != std::string::npos; }

// The customer count [n]: an optionally signed decimal integer at the start
// of the word; a decimal fraction after it is dropped. False when the word
// does not begin with one, when anything but a fraction follows it (1e3 is
// a thousand, not 1), or when the count is negative or does not fit a 32-bit
// integer.
bool parseCustomerCount(const std::string& word, int& count) {
    size_t at = 0;
    bool negative = false;
    if (at < word.size() && (word[at] == '+' || word[at] == '-')) negative = word[at++] == '-';
    const size_t digitsStart = at;
    long long value = 0;
    while (at < word.size() && word[at] >= '0' && word[at] <= '9') {
        value = value * 10 + (word[at] - '0');
        if (value > INT_MAX) return false;
        ++at;
    }
    if (at == digitsStart) return false;
    if (at < word.size() && word[at] == '.') ++at;
    while (at < word.size() && word[at] >= '0' && word[at] <= '9') ++at;
    if (at != word.size()) return false;
    if (negative && value != 0) return false;
    count = static_cast<int>(value);
    return true;
}

}  // namespace

Parser::Parser(Reporter& reporter, std::string text) : reporter_(reporter), scanner_(reporter, std::move(text)) {}

std::unique_ptr<Network> Parser::parseNetwork() {
    writeFixed(reporter_.stream(Target::Err), "Analiza syntaktyczna...");
    readNetworkHeader();
    parseBlocks();
    if (inBlock_) scanner_.reportFixedAt(Level::Warning, "Brak *END* kończącego blok opisu sieci");
    checkDescriptionCounts();
    reporter_.flush(Target::Err);
    writeFixed(reporter_.stream(Target::Err), "OK\n");
    return std::move(network_);
}

// First line:  SOUR network-name
// The name is the rest of the line, blanks inside and at its end included.
void Parser::readNetworkHeader() {
    scanner_.readToken(kPlainWord);
    if (scanner_.token() != "SOUR")
        scanner_.reportFixedAt(Level::Warning, "Nieznany identyfikator pliku z definicją sieci");
    std::string name;
    // The blanks after the word have already carried the scanner past the
    // first line when nothing follows SOUR on it.
    if (scanner_.line() != 0) {
        scanner_.reportFixedAt(Level::Warning, "Brak nazwy sieci");
    } else {
        scanner_.readToken(kRestOfLine);
        name = scanner_.token();
    }
    if (reporter_.noErrorSoFar()) {
        network_ = std::make_unique<Network>(name, reporter_);
        // An object takes far more than a hundred bytes of a file (its
        // declaration and its description): room for this many names keeps
        // the name index from growing again and again in a large file.
        network_->reserveObjects(scanner_.textLength() / 128);
    }
}

// file   := header block*
// block  := '*' DECLARATION '*' declaration-item* | '*' DESCRIPTION '*' description-item*
//         | '*' END '*'
void Parser::parseBlocks() {
    scanner_.skipToMarker('*');
    if (scanner_.atEnd()) {
        scanner_.reportFixedAt(Level::Error, "W definicji sieci nie odnaleziono żadnego bloku");
        return;
    }
    while (scanner_.current() == '*') {
        scanner_.readToken(kBlockKeyword);
        switch (lookUp(kBlockKeywords, scanner_.token())) {
            case kDeclarationBlock:
                inBlock_ = true;
                declarationSeen_ = true;
                scanner_.skipToMarker('/');
                while (scanner_.current() == '/') parseDeclarationItem();
                break;
            case kDescriptionBlock:
                if (!declarationSeen_) {
                    scanner_.reportFixedAt(Level::Error, "Brak bloku deklaracji!");
                    reporter_.flush(Target::Err);
                }
                if (inBlock_) scanner_.reportFixedAt(Level::Warning, "Brak *END* kończącego blok deklaracji");
                inBlock_ = true;
                scanner_.skipToMarker('/');
                parseDescriptionItems();
                break;
            case kEndBlock:
                if (!inBlock_) scanner_.reportFixedAt(Level::Warning, "Niespodziewane *END*");
                inBlock_ = false;
                scanner_.skipToMarker('*');
                break;
            default:
                scanner_.reportFixedAt(Level::Error, "Nieznany identyfikator bloku. Dalsza analiza zostaje wstrzymana");
                break;
        }
    }
}

// description-item := '/' SOURCE '/' source-description | '/' STATION '/' station-description
// Items of other object keywords have no description: they are reported and
// skipped, so that the rest of the block is still analysed.
void Parser::parseDescriptionItems() {
    while (scanner_.current() == '/') {
        scanner_.readToken(kObjectKeyword);
        switch (lookUp(kObjectKeywords, scanner_.token())) {
            case kSourceItem: describeSource(); break;
            case kStationItem: describeStation(); break;
            default:
                scanner_.reportFixedAt(Level::Warning, "Nieznany identyfikator obiektu");
                scanner_.skipToNextItem(true);
                break;
        }
    }
}

// declaration-item := '/' CLASS '/' NAME '=' class-name ['[' [customers] ']']
//                   | '/' SOURCE '/' NAME '=' object-name
//                   | '/' STATION '/' NAME '=' object-name
//                   | '/' OUT '/' NAME '=' [object-name]
void Parser::parseDeclarationItem() {
    if (scanner_.readToken(kObjectKeyword) != '/') scanner_.skipToMarker('/');
    switch (lookUp(kObjectKeywords, scanner_.token())) {
        case kClassItem: declareClass(); break;
        case kSourceItem:
            ++sourcesDeclared_;
            declareObject(kSourceType);
            break;
        case kStationItem:
            ++stationsDeclared_;
            declareObject(kStationType);
            break;
        case kOutItem: declareExit(); break;
        default:
            scanner_.reportFixedAt(Level::Warning, "Nieznany identyfikator obiektu");
            scanner_.skipToNextItem(true);
            break;
    }
}

// NAME '='
// False (after skipping the item) when another word stands there.
bool Parser::expectName() {
    scanner_.readToken(kParameterName);
    if (scanner_.token() == "NAME") return true;
    scanner_.reportFixedAt(Level::Error, "Oczekiwano NAME");
    scanner_.skipToNextItem(true);
    return false;
}

// NAME '=' class-name ['[' [customers] ']']
// The class name runs to '[' or the line end; blanks in it are refused later.
void Parser::declareClass() {
    if (scanner_.atBoundary(true)) return;
    if (!expectName()) return;
    if (scanner_.atBoundary(true)) return;
    scanner_.readToken(kClassName);
    const std::string name = scanner_.token();
    if (name.size() > static_cast<size_t>(kMaxClassNameLength))
        scanner_.reportFixedAt(Level::Warning, "Za długa nazwa klasy została skrócona do 20 znaków");
    if (containsBlank(name)) scanner_.reportFixedAt(Level::Error, "Nazwa klasy nie może zawierać znaków białych");
    int classIndex = -1;
    if (buildingModel()) {
        // Results name classes by their first 20 characters only.
        const std::string shortened = name.substr(0, kMaxClassNameLength);
        const int sameShortName = name.size() > shortened.size() ? network_->findClass(shortened) : -1;
        classIndex = network_->addClass(name);
        if (classIndex < 0)
            scanner_.reportFixedAt(Level::Error, "Błąd semantyczny");
        else if (sameShortName >= 0)
            scanner_.reportAt(Level::Warning,
                              formatText("Nazwa klasy %s po skróceniu do 20 znaków jest taka sama jak nazwa klasy %s",
                                         name.c_str(), shortened.c_str()));
    }

    int customers = 0;
    if (!scanner_.atBoundary(false)) {
        scanner_.readToken(kCustomerCount);
        if (scanner_.checkNameEnd(Scanner::NameKind::Value)) return;
        const std::string count = scanner_.token();
        if (!count.empty() && !parseCustomerCount(count, customers)) {
            scanner_.reportFixedAt(Level::Error, "Liczba klientów musi być liczbą naturalną");
            customers = 0;
        }
    }
    if (buildingModel() && classIndex >= 0) network_->setCustomers(classIndex, customers);
}

// NAME '=' object-name        (a source or a station)
void Parser::declareObject(int objectType) {
    if (scanner_.atBoundary(true)) return;
    if (!expectName()) return;
    if (scanner_.atBoundary(true)) return;
    scanner_.readToken(kPlainWord);
    const std::string name = scanner_.token();
    if (scanner_.checkNameEnd(Scanner::NameKind::Object)) return;
    if (buildingModel()) network_->createObject(objectType, name);
}

// NAME '=' [object-name]      (the exit; an empty name means "OUT")
void Parser::declareExit() {
    if (scanner_.atBoundary(true)) return;
    if (!expectName()) return;
    if (scanner_.atBoundary(true)) return;
    scanner_.readToken(kPlainWord);
    std::string name = scanner_.token();
    if (scanner_.checkNameEnd(Scanner::NameKind::Object)) return;
    if (name.empty()) name = "OUT";
    if (buildingModel()) {
        if (!exitDeclared_)
            network_->createObject(kExitType, name);
        else
            scanner_.reportFixedAt(Level::Warning, "Zignorowano powtórną definicję OUT");
        exitDeclared_ = true;
    }
}

void Parser::checkDescriptionCounts() {
    if (sourcesDeclared_ > sourcesDescribed_)
        scanner_.reportFixedAt(Level::Error, "Liczba zadeklarowanych źródeł większa od liczby źródeł opisanych");
    if (stationsDeclared_ > stationsDescribed_)
        scanner_.reportFixedAt(Level::Error, "Liczba zadeklarowanych stanowisk większa od liczby stanowisk opisanych");
}

}  // namespace kolt
