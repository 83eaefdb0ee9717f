// The description items of sources and stations: service distributions,
// scheduling disciplines and routing.
#include <climits>
#include <cmath>
#include <string_view>

#include "keyword_table.h"
#include "parser.h"
#include "solver/core/text.h"
#include "solver/model/station.h"

namespace kolt {
namespace {

enum ParameterKeyword {
    kNoParameter = 0,
    kCopyParameter = 1,
    kMaxParameter,
    kSizeParameter,
    kQueueParameter,
    kScheduleParameter,
    kServiceParameter,
    kTransitParameter,
    kExitParameter = 8
};
constexpr std::string_view kParameterKeywords[] = {"COPY",     "MAX",     "SIZE",    "QUEUE",
                                                   "SCHEDULE", "SERVICE", "TRANSIT", "EXIT"};

enum DistributionKeyword { kDet = 1, kUni, kExp, kCox, kErl, kHip, kGen, kHist = 8 };
constexpr std::string_view kDistributionKeywords[] = {"DET", "UNI", "EXP", "COX", "ERL", "HIP", "G", "HIST"};

constexpr std::string_view kDisciplineKeywords[] = {"FIFO", "LIFO", "PS", "IS", "LIFO-PR", "PRIOR", "PRIOR-PR"};

// What one value inside DIST[...] stands for; decides which range it must meet.
enum class ValueKind {
    Time,         // a mean or a bound of time: not negative
    Probability,  // 0..1
    Phases,       // Erlang phase count: a whole number of at least 1
    Variation,    // coefficient of variation: not negative
    Bound,        // histogram bin bound: not negative, not below the previous one
    Weight        // histogram bin weight: not negative
};

struct DistributionForm {
    int values;      // values in one group
    bool repeating;  // groups may follow one another (COX, HIP, HIST)
    ValueKind kinds[2];
};

const DistributionForm& formOf(int distribution) {
    static const DistributionForm forms[] = {
        {1, false, {ValueKind::Time, ValueKind::Time}},        // DET m
        {2, false, {ValueKind::Time, ValueKind::Time}},        // UNI a, b
        {1, false, {ValueKind::Time, ValueKind::Time}},        // EXP m
        {2, true, {ValueKind::Probability, ValueKind::Time}},  // COX a_i, t_i
        {2, false, {ValueKind::Phases, ValueKind::Time}},      // ERL k, m
        {2, true, {ValueKind::Probability, ValueKind::Time}},  // HIP p_i, t_i
        {2, false, {ValueKind::Time, ValueKind::Variation}},   // G m, c
        {2, true, {ValueKind::Bound, ValueKind::Weight}},      // HIST x_i, w_i
    };
    return forms[distribution - 1];
}

// Branch probabilities of a hyperexponential law are often written as
// decimal fractions whose sum is 1 only up to rounding (0.7 + 0.2 + 0.1).
constexpr double kBranchSumTolerance = 1e-9;

// Parameters that may stand only once in a station's description.
bool repeatableInStation(int parameter) { return parameter >= kScheduleParameter; }

}  // namespace

Station* Parser::currentStation() const { return dynamic_cast<Station*>(currentObject_); }

bool Parser::currentIsSource() const { return currentObject_ && currentObject_->type() == kSourceType; }

void Parser::setAllClassFlags(bool value) {
    const int classes = network_ ? network_->numberOfClasses() : 0;
    classFlags_.fill(false);
    for (int r = 0; r < classes && r < kMaxClasses; ++r) classFlags_[r] = value;
}

// Head of both items:  NAME '=' object-name
// False when the item ends here.
bool Parser::describeHead(int expectedType) {
    if (scanner_.atBoundary(true)) return false;
    if (!expectName()) return false;
    if (scanner_.atBoundary(true)) return false;
    scanner_.readToken(kPlainWord);
    currentObject_ = network_ ? network_->findObject(scanner_.token()) : &NotFoundObject::instance();
    if (currentObject_->type() == kNotFoundType) {
        scanner_.reportFixedAt(Level::Error, "Obiekt o podanej nazwie nie został wcześniej zadeklarowany");
        scanner_.skipToNextItem(true);
        return false;
    }
    if (currentObject_->type() != expectedType)
        scanner_.reportFixedAt(Level::Error, "Podana nazwa została już użyta dla obiektu innego typu");
    if (scanner_.atBoundary(true)) return false;
    parameterUses_.fill(0);
    return true;
}

// source-description := NAME '=' name { SERVICE '=' service | TRANSIT '=' transit }
void Parser::describeSource() {
    ++sourcesDescribed_;
    if (!describeHead(kSourceType)) return;
    while (!scanner_.atEnd() && scanner_.current() != '/' && scanner_.current() != '*') readSourceParameter();
    if (parameterUses_[kTransitParameter] == 0)
        scanner_.reportFixedAt(Level::Error, "Brak definicji tranzycji w SOURCE");
    if (parameterUses_[kServiceParameter] == 0) scanner_.reportFixedAt(Level::Error, "Brak rozkładu w SOURCE");
}

// source-parameter := SERVICE '=' service | TRANSIT '=' transit
// Each may stand once; the other parameter keywords are refused.
void Parser::readSourceParameter() {
    scanner_.readToken(kParameterName);
    const int parameter = parameterKeyword("Nieznany identyfikator parametru");
    if (parameter == kNoParameter) return;
    if (parameterUses_[parameter] > 0)
        scanner_.reportFixedAt(Level::Error,
                               "W definicji obiektu SOURCE każdy użyty parametr może wystąpić tylko jeden raz");
    ++parameterUses_[parameter];
    readParameterValue(parameter, false);
}

// station-description := NAME '=' name { station-parameter }
// A station without SCHEDULE is served FIFO.
void Parser::describeStation() {
    ++stationsDescribed_;
    if (!describeHead(kStationType)) return;
    while (!scanner_.atEnd() && scanner_.current() != '/' && scanner_.current() != '*') readStationParameter();
    if (parameterUses_[kServiceParameter] == 0) scanner_.reportFixedAt(Level::Error, "Brak rozkladu w STATION");
    if (parameterUses_[kTransitParameter] == 0)
        scanner_.reportFixedAt(Level::Error, "Brak definicji tranzycji w STATION");
    if (parameterUses_[kScheduleParameter] == 0 && buildingModel())
        if (Station* station = currentStation()) station->setDiscipline(SchedulingKind::Fifo);
}

// station-parameter := SCHEDULE '=' discipline
//                    | SERVICE ['(' class-list ')'] '=' service
//                    | TRANSIT ['(' class-list ')'] '=' transit
// Without a class list the parameter applies to every class.
void Parser::readStationParameter() {
    const char ending = scanner_.readToken(kStationParameter);
    const int parameter = parameterKeyword("Nieznany identyfikator obiektu");
    if (parameter == kNoParameter) return;
    if (ending == '(') {
        if (parameter == kServiceParameter || parameter == kTransitParameter)
            readClassList(false);
        else
            scanner_.reportFixedAt(Level::Error, "Dla danego parametru nie moze byc definiowana klasa");
    } else {
        setAllClassFlags(true);
    }
    if (!repeatableInStation(parameter) && parameterUses_[parameter] > 0)
        scanner_.reportFixedAt(Level::Error,
                               "W definicji obiektu STATION użyty parametr może wystąpić tylko jeden raz");
    ++parameterUses_[parameter];
    readParameterValue(parameter, true);
}

// The parameter keyword just read; an unknown one is reported with
// `unknownMessage` and the rest of the item skipped (kNoParameter).
int Parser::parameterKeyword(const char* unknownMessage) {
    const int parameter = lookUp(kParameterKeywords, scanner_.token());
    if (parameter == kNoParameter) {
        scanner_.reportFixedAt(Level::Error, unknownMessage);
        scanner_.skipToNextItem(true);
    }
    return parameter;
}

// What follows the parameter keyword, read alike in both items except
// SCHEDULE, which only a station may have.
void Parser::readParameterValue(int parameter, bool inStation) {
    switch (parameter) {
        case kScheduleParameter:
            if (inStation)
                readDiscipline();
            else
                scanner_.reportFixedAt(Level::Error,
                                       "W obiektach typu SOURCE definicja regulaminu obsługi nie jest dozwolona");
            break;
        case kServiceParameter: readServiceValue(); break;
        case kTransitParameter:
            if (!scanner_.atBoundary(true)) parseTransit();
            break;
        default: scanner_.reportFixedAt(Level::Error, "Niedozwolony parametr"); break;
    }
}

// discipline := FIFO | LIFO | PS | IS | LIFO-PR | PRIOR | PRIOR-PR
void Parser::readDiscipline() {
    if (scanner_.atBoundary(true)) return;
    scanner_.readToken(kPlainWord);
    const int discipline = lookUp(kDisciplineKeywords, scanner_.token());
    if (discipline == 0)
        scanner_.reportFixedAt(Level::Error, "Nieprawidłowa nazwa regulaminu szeregowania");
    else if (buildingModel())
        if (Station* station = currentStation()) station->setDiscipline(static_cast<SchedulingKind>(discipline - 1));
}

// service := distribution '[' value {',' value} ']'
// distribution := DET | UNI | EXP | COX | ERL | HIP | G | HIST
void Parser::readServiceValue() {
    if (scanner_.atBoundary(true)) return;
    scanner_.readToken(kDistributionName);
    distribution_ = lookUp(kDistributionKeywords, scanner_.token());
    if (distribution_ == 0)
        scanner_.reportFixedAt(Level::Error, "Nieprawidłowa nazwa rozkładu");
    else
        parseService();
}

// class-list := class-name {',' class-name} ')' '='      (single: one class-name)
// Keeps the token that preceded the list; returns the character that ended
// the last class name.
char Parser::readClassList(bool single) {
    std::string saved = scanner_.token();
    setAllClassFlags(false);
    char ending = 0;
    do {
        ending = scanner_.readToken(kClassListEntry);
        std::string name = scanner_.token();
        if (!name.empty() && name.front() == ':') name.erase(0, 1);
        const int classIndex = network_ ? network_->findClass(name) : -1;
        if (classIndex < 0 || classIndex >= kMaxClasses)
            scanner_.reportFixedAt(Level::Error, "Klasa o podanej nazwie nie została wcześniej zadeklarowana");
        else
            classFlags_[classIndex] = true;
    } while (ending == ',' && !single);
    if (!single) scanner_.readToken(kParameterName);
    scanner_.restoreToken(std::move(saved));
    return ending;
}

// Checks that a histogram bound does not fall below the bound before it: the
// previous value of this list, and, while the model is built, the last bound
// already stored for each class the value applies to. An equal bound (a point
// mass) is allowed.
bool Parser::histogramBoundAllowed(double bound, double previousInValue) {
    if (bound < previousInValue) return false;
    Station* station = currentStation();
    if (!buildingModel() || !station) return true;
    const int classes = network_->numberOfClasses();
    for (int r = 0; r < classes && r < kMaxClasses; ++r) {
        if (!classFlags_[r] && !currentIsSource()) continue;
        const auto* histogram = dynamic_cast<const HistDistribution*>(station->serviceTable().at(r));
        if (histogram && histogram->count() > 0 && bound < histogram->first().back()) return false;
    }
    return true;
}

// service-values := '[' value {',' value} ']'
// DET[m]  EXP[m]  UNI[a,b]  ERL[k,m]  G[m,c]  COX[a,t {,a,t}]  HIP[p,t {,p,t}]
// HIST[x,w {,x,w}]
// Surplus values are warned about and ignored; an incomplete last group is an
// error. After the first refused value the rest are read but not used.
void Parser::parseService() {
    const DistributionForm& form = formOf(distribution_);
    ServiceReading reading;
    char ending = 0;
    do {
        startServiceValue(reading);
        if (scanner_.atBoundary(true)) break;
        ending = scanner_.readToken(kDistributionValue);
        if (!reading.ignoreRest) parseServiceNumber(reading);
        ++reading.position;

        if (reading.position == form.values && !reading.ignoreRest) reading.branchProbabilities += reading.group[0];
        if (reading.position == form.values && buildingModel()) storeServiceGroup(reading);
    } while (ending == ',');
    checkServiceComplete(reading);
}

// Before each value: a value beyond a form of one or two values is surplus,
// warned about and ignored with all that follow; a form of repeating groups
// starts its next group.
void Parser::startServiceValue(ServiceReading& reading) {
    const DistributionForm& form = formOf(distribution_);
    if (reading.position >= 1 && form.values == 1) {
        scanner_.reportFixedAt(Level::Warning,
                               "Definiowany rozkład ma tylko jeden parametr, pozostałe zostaną zignorowane");
        reading.ignoreRest = true;
    }
    if (reading.position >= 2) {
        if (!form.repeating) {
            scanner_.reportFixedAt(Level::Warning,
                                   "Definiowany rozkład ma tylko dwa parametry, pozostałe zostaną zignorowane");
            reading.ignoreRest = true;
        } else {
            reading.position = 0;
        }
    }
}

// value := number, within the range its place in the group requires. A word
// that is no number, or a value out of its range, makes the rest of the list
// be read but not used.
void Parser::parseServiceNumber(ServiceReading& reading) {
    double value = 0;
    if (!scanner_.readNumber(value) || !serviceValueInRange(value, reading)) {
        reading.ignoreRest = true;
        return;
    }
    if (reading.position < 2) reading.group[reading.position] = value;
}

// Reports the Error of a value outside the range of its place and answers
// false; a histogram bound that is accepted becomes the previous bound.
bool Parser::serviceValueInRange(double value, ServiceReading& reading) {
    const int i = reading.position;
    switch (formOf(distribution_).kinds[i < 2 ? i : 1]) {
        case ValueKind::Probability:
            if (value < 0 || value > 1) {
                scanner_.reportFixedAt(
                    Level::Error,
                    "Podana liczba jest wartością prawdopodobieństwa i musi mieścić się w zakresie <0:1>");
                return false;
            }
            break;
        case ValueKind::Phases:
            if (value != std::trunc(value))
                scanner_.reportFixedAt(Level::Warning,
                                       "Wymagana liczba naturalna. Wartość po przecinku zostanie zignorowana");
            if (value < 1 || value >= static_cast<double>(INT_MAX) + 1) {
                scanner_.reportFixedAt(Level::Error, "Nieprawidłowa liczba faz rozkładu Erlanga");
                return false;
            }
            break;
        case ValueKind::Time:
            if (value < 0) {
                scanner_.reportFixedAt(Level::Error, "Czas nie może być liczbą ujemną");
                return false;
            }
            if (distribution_ == kUni && i == 1 && value < reading.group[0]) {
                scanner_.reportFixedAt(Level::Error, "Dolna granica rozkładu równomiernego większa od górnej");
                return false;
            }
            break;
        case ValueKind::Variation:
            if (value < 0) {
                scanner_.reportFixedAt(Level::Error, "Współczynnik zmienności nie może być liczbą ujemną");
                return false;
            }
            break;
        case ValueKind::Bound:
            if (value < 0) {
                scanner_.reportFixedAt(Level::Error, "Czas nie może być liczbą ujemną");
                return false;
            }
            if (!histogramBoundAllowed(value, reading.previousBound)) {
                scanner_.reportFixedAt(Level::Error, "Granice przedziałów histogramu nie mogą maleć");
                return false;
            }
            reading.previousBound = value;
            break;
        case ValueKind::Weight:
            if (value < 0) {
                scanner_.reportFixedAt(Level::Error, "Waga przedziału histogramu nie może być liczbą ujemną");
                return false;
            }
            break;
    }
    return true;
}

// A complete group of values goes to the described object, for every class
// the parameter applies to.
void Parser::storeServiceGroup(const ServiceReading& reading) {
    Station* station = currentStation();
    const int classes = network_->numberOfClasses();
    const double* p = reading.group;
    // A source's service is its arrival stream, the same for every class.
    const bool everyClass = currentIsSource();
    for (int r = 0; station && r < classes && r < kMaxClasses; ++r) {
        if (!everyClass && !classFlags_[r]) continue;
        switch (distribution_) {
            case kDet: station->setDet(r, p[0]); break;
            case kUni: station->setUni(r, p[0], p[1]); break;
            case kExp: station->setExp(r, p[0]); break;
            case kCox: station->addCoxPhase(r, p[0], p[1]); break;
            case kErl: station->setErl(r, static_cast<int>(p[0]), p[1]); break;
            case kHip: station->addHipBranch(r, p[0], p[1]); break;
            case kGen: station->setGen(r, p[0], p[1]); break;
            case kHist: station->addHistBin(r, p[0], p[1]); break;
        }
    }
}

// The list must end with a whole group, and the branch probabilities of a
// hyperexponential law must add up to 1.
void Parser::checkServiceComplete(const ServiceReading& reading) {
    if (reading.position < formOf(distribution_).values)
        scanner_.reportFixedAt(Level::Error, "Za mało parametrów rozkładu.");
    else if (distribution_ == kHip && !reading.ignoreRest &&
             std::fabs(reading.branchProbabilities - 1.0) > kBranchSumTolerance)
        scanner_.reportFixedAt(Level::Error, "Suma prawdopodobieństw gałęzi rozkładu hiperwykładniczego różna od 1");
}

// transit := target {',' target} ';'
// target  := ['[' probability ']'] object-name [':' class-name]
// A target without a probability has probability 1; the probabilities of one
// value must add up to exactly 1. Only a source names the class of a target.
void Parser::parseTransit() {
    double sum = 0;
    bool probabilityRefused = false;
    char ending = 0;
    do {
        double probability = 1;
        bool probabilityGiven = false;
        bool refusedHere = false;
        if (scanner_.current() == '[') {
            scanner_.readToken(kProbability);
            std::string word = scanner_.token();
            if (!word.empty()) word.erase(0, 1);
            scanner_.restoreToken(std::move(word));
            if (scanner_.readNumber(probability))
                probabilityGiven = true;
            else
                refusedHere = probabilityRefused = true;
        }
        sum += probability;
        if (probabilityGiven && (probability <= 0 || probability > 1))
            scanner_.reportFixedAt(
                Level::Error, "Podana liczba jest wartością prawdopodobieństwa i musi mieścić się w zakresie (0:1>");
        if (scanner_.atBoundary(true)) break;

        ending = scanner_.readToken(kTransitTarget);
        NetObject* target = network_ ? network_->findObject(scanner_.token()) : &NotFoundObject::instance();
        const int targetType = target->type();
        if (targetType == kNotFoundType)
            scanner_.reportFixedAt(Level::Error, "Obiekt o podanej nazwie nie został wcześniej zadeklarowany");
        // A refused probability is no certain return to the object itself.
        if (target == currentObject_ && probability == 1 && !refusedHere)
            scanner_.reportFixedAt(Level::Warning, "Rekurencyjna tranzycja obiektu z prawdopodobieństem 1!");
        if (targetType == kSourceType)
            scanner_.reportFixedAt(Level::Error, "Niedozwolona tranzycja do obiektu typu SOURCE");
        // The customers of a closed class circulate for ever: none may leave.
        if (targetType == kExitType && !currentIsSource() && network_) {
            const int classes = network_->numberOfClasses();
            for (int r = 0; r < classes && r < kMaxClasses; ++r)
                if (classFlags_[r] && network_->customers(r) > 0)
                    scanner_.reportAt(Level::Error, formatText("Klienci klasy zamkniętej %s nie mogą opuścić sieci",
                                                               network_->className(r).c_str()));
        }
        if (ending == ':') {
            ending = readClassList(true);
            if (!currentIsSource())
                scanner_.reportFixedAt(
                    Level::Error,
                    "Jawne określenie klasy dla obiektu docelowego możliwe jest tylko w obiektach typu SOURCE");
        } else if (currentIsSource()) {
            setAllClassFlags(true);
        }

        if (buildingModel() && currentObject_ && currentObject_->routing()) {
            const int classes = network_->numberOfClasses();
            for (int r = 0; r < classes && r < kMaxClasses; ++r) {
                if (!classFlags_[r]) continue;
                if (!currentObject_->routing()->addTransition(r, target, probability, reporter_)) {
                    scanner_.reportFixedAt(Level::Error, "Blad tranzycji");
                    break;
                }
            }
        }
    } while (ending == ',');
    // A refused probability has already ended the run; its sum would only
    // add a misleading second message.
    if (!probabilityRefused && sum != 1.0) scanner_.reportFixedAt(Level::Error, "Suma prawdopodobieństw różna od 1");
}

}  // namespace kolt
