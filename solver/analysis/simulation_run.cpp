// The simulator's run inside the analysis: the progress line, the outcome
// messages and the result tables.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <string>

#include "solver/analysis/analysis_context.h"
#include "solver/analysis/presentation_module.h"
#include "solver/analysis/result_derivation.h"
#include "solver/analysis/simulation_analysis.h"
#include "solver/core/reporter.h"
#include "solver/core/text.h"
#include "solver/methods/traffic_equations.h"
#include "solver/model/network.h"
#include "solver/model/station.h"

namespace kolt {
namespace {

using Clock = std::chrono::steady_clock;
using methods::SimulationFailure;

// The line after "Analiza sieci..." rewritten in place a few times a second.
struct ProgressLine {
    std::FILE* err;
    Clock::time_point next;
    bool shown = false;
};

constexpr auto kProgressInterval = std::chrono::milliseconds(250);

void showProgress(void* context, std::int64_t events, double precision) {
    auto& line = *static_cast<ProgressLine*>(context);
    const Clock::time_point now = Clock::now();
    if (now < line.next) return;
    line.next = now + kProgressInterval;
    const long long count = events;
    const std::string text =
        precision < 0 ? formatText("\rAnaliza sieci... %lld zdarzeń", count)
                      : formatText("\rAnaliza sieci... %lld zdarzeń, dokładność %.2f%%   ", count, 100.0 * precision);
    std::fputs(text.c_str(), line.err);
    std::fflush(line.err);
    line.shown = true;
}

std::string percent(double fraction) {
    return std::isfinite(fraction) ? formatText("%.2f%%", 100.0 * fraction) : fixedText("nieznana");
}

// "stanowisko NAME, wszystkie klasy" or "stanowisko NAME, klasa NAME".
std::string whereWorst(const AnalysisContext& c, const Network* network) {
    const methods::SimulationResult& r = c.simulationResult;
    const char* station = c.stations[r.worstStation]->name().c_str();
    if (r.worstClass < 0 || network == nullptr) return formatText("stanowisko %s, wszystkie klasy", station);
    return formatText("stanowisko %s, klasa %s", station, network->className(r.worstClass).c_str());
}

}  // namespace

void runSimulation(AnalysisContext& c, Reporter& reporter) {
    std::FILE* err = reporter.stream(Target::Err);
    ProgressLine line{err, Clock::now() + kProgressInterval};
    // The console in a UTF-8 locale is a re-encoding stream without a file
    // descriptor of its own; it writes to standard error.
    const int descriptor = fileno(err) >= 0 ? fileno(err) : STDERR_FILENO;
    const bool terminal = isatty(descriptor) != 0;
    methods::simulate(c.simulationModel, c.simulationControl, c.simulationResult, terminal ? showProgress : nullptr,
                      &line);
    if (line.shown) {
        std::fputs(("\r" + std::string(72, ' ') + "\r").c_str(), err);
        writeFixed(err, "Analiza sieci...");
    }
    // A station that cannot keep up is the overload the open methods report.
    if (c.simulationResult.failure == SimulationFailure::Unstable) {
        c.openCode = methods::kOverloaded;
        c.openStation = c.simulationResult.station + 1;
    }
}

void reportSimulationOutcome(const AnalysisContext& c, Reporter& reporter) {
    const methods::SimulationResult& r = c.simulationResult;
    switch (r.failure) {
        case SimulationFailure::Unstable: return;  // reported through the open-network code
        case SimulationFailure::OutOfMemory:
            reporter.report(Level::Fatal, formatText("Blad allokacji pamięci (%s)", r.what));
            return;
        case SimulationFailure::NoTime:
            reporter.report(
                Level::Error,
                fixedText("Czas symulacji nie postępuje: klienci krążą przez stanowiska bez czasu obsługi"));
            return;
        case SimulationFailure::None: break;
    }
    const Network* network = c.stations.empty() ? nullptr : c.stations.front()->network();
    reporter.report(Level::Info, formatText("Symulacja: %lld zdarzeń, czas symulowany %.6g, ziarno generatora %llu",
                                            static_cast<long long>(r.events), r.simulatedTime,
                                            static_cast<unsigned long long>(c.simulationControl.seed)));
    reporter.report(Level::Info, formatText("Odrzucony okres przejściowy: czas %.6g, %lld zdarzeń", r.warmupTime,
                                            static_cast<long long>(r.warmupEvents)));
    reporter.report(Level::Info,
                    formatText("Dokładność (względna połowa 95%% przedziału ufności średniej liczby "
                               "klientów): %s, cel %s",
                               percent(r.precision).c_str(), percent(c.simulationControl.precision).c_str()));
    reporter.report(Level::Info, formatText("Najmniej dokładna: %s; średnie z %d przedziałów",
                                            whereWorst(c, network).c_str(), r.batches));
    if (!r.precisionReached)
        reporter.report(
            Level::Warning,
            formatText("Nie osiągnięto dokładności %s w limicie %lld zdarzeń; osiągnięta dokładność %s (%s)",
                       percent(c.simulationControl.precision).c_str(),
                       static_cast<long long>(c.simulationControl.eventCap), percent(r.precision).c_str(),
                       whereWorst(c, network).c_str()));
}

void deriveSimulationResults(const Network& network, AnalysisContext& c, PresentationModule& results,
                             Reporter& reporter) {
    using Measure = PresentationModule::Measure;
    initResults(network, c, results, reporter);
    if (!results.enableHalfWidths())
        reporter.report(Level::Fatal, fixedText("Blad allokacji pamięci (Modul prezentacyjny)"));
    const methods::SimulationResult& r = c.simulationResult;
    for (int s = 0; s < c.M; ++s) {
        const bool delay = c.simulationModel.discipline[s] == methods::kInfiniteServer;
        for (int cls = -1; cls < c.R; ++cls) {
            const std::size_t x = static_cast<std::size_t>(s) * (c.R + 1) + (cls + 1);
            const methods::StationMeasures& e = r.estimate[x];
            const methods::StationMeasures& h = r.halfWidth[x];
            results.setTime(cls, s, 0, e.time);
            results.setNumber(cls, s, 0, e.number);
            results.setUtilisation(cls, s, 0, delay ? -1.0 : e.busy);
            results.setThroughput(cls, s, 0, e.throughput);
            results.setHalfWidth(Measure::Time, cls, s, 0, h.time);
            results.setHalfWidth(Measure::Number, cls, s, 0, h.number);
            results.setHalfWidth(Measure::Utilisation, cls, s, 0, delay ? -1.0 : h.busy);
            results.setHalfWidth(Measure::Throughput, cls, s, 0, h.throughput);
            if (delay) continue;
            results.setTime(cls, s, 1, e.queueTime);
            results.setNumber(cls, s, 1, e.queueNumber);
            results.setUtilisation(cls, s, 1, -1.0);
            results.setThroughput(cls, s, 1, e.throughput);
            results.setHalfWidth(Measure::Time, cls, s, 1, h.queueTime);
            results.setHalfWidth(Measure::Number, cls, s, 1, h.queueNumber);
            results.setHalfWidth(Measure::Utilisation, cls, s, 1, -1.0);
            results.setHalfWidth(Measure::Throughput, cls, s, 1, h.throughput);
            // The server: time in service, customers in service, utilisation.
            results.setHalfWidth(Measure::Time, cls, s, 2, h.serviceTime);
            results.setHalfWidth(Measure::Number, cls, s, 2, h.busy);
            results.setHalfWidth(Measure::Utilisation, cls, s, 2, h.busy);
            results.setHalfWidth(Measure::Throughput, cls, s, 2, -1.0);
        }
    }
}

}  // namespace kolt
