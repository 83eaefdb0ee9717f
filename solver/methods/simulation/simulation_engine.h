// The event loop of the simulator: stations with their queues, customers,
// arrival streams and the counters that the batches read.
#pragma once

#include <cstdint>
#include <vector>

#include "solver/methods/simulation/customer_deque.h"
#include "solver/methods/simulation/event_heap.h"
#include "solver/methods/simulation/law_sampler.h"
#include "solver/methods/simulation/random_stream.h"
#include "solver/methods/simulation/simulation.h"

namespace kolt::methods {

class SimulationEngine {
  public:
    SimulationEngine(const SimulationModel& model, std::uint64_t seed, std::int64_t openCustomerCap)
        : model_(model), R_(model.R), random_(seed), openCap_(openCustomerCap) {}

    // Builds the samplers and the state, places the closed customers at
    // their start stations and schedules the first arrival of every stream.
    // start() and run() may throw std::bad_alloc; whatOnFailure() then names
    // the structure that could not grow.
    void start();

    // Handles `events` events; false when the run must end (failure()).
    bool run(std::int64_t events);

    // Ends the current batch at the present time: for every pair (station s,
    // class r) at s*R + r, writes the time integrals of the customers present
    // and in service and the number of departures since the previous batch,
    // then starts the next batch. Returns the batch's duration.
    double closeBatch(double* present, double* inService, double* departures);

    double now() const { return now_; }
    SimulationFailure failure() const { return failure_; }
    int failedStation() const { return failedStation_; }
    const char* whatOnFailure() const { return allocating_; }

    // Bytes of the engine's state at its start.
    static std::int64_t startBytes(const SimulationModel& model);

  private:
    struct Customer {
        double work;  // service still to be done at the current station
        int cls;
        int station;
    };
    struct PairCounters {
        int present = 0;
        int inService = 0;
        double last = 0.0;  // time of the last change
        double areaPresent = 0.0;
        double areaService = 0.0;
        double departures = 0.0;
    };
    struct StationState {
        int discipline = kFifo;
        int inService = -1;  // the customer served at a single server, -1 when idle
        std::uint32_t token = 0;
        double serviceStart = 0.0;
        int firstQueue = 0;         // its deque, or the deque of class 0 at a priority station
        std::uint32_t waiting = 0;  // priority stations: bit r when class r waits
    };
    struct Route {
        Choice choice;
        int begin = 0;  // first target of the choice in the model's list
    };

    enum EventKind : std::uint32_t { kServiceEnd = 0, kDelayEnd = 1, kArrival = 2 };
    static std::uint32_t tag(EventKind kind, int id) { return static_cast<std::uint32_t>(id) << 2 | kind; }

    void schedule(double time, std::uint32_t eventTag, std::uint32_t token);
    PairCounters& touch(int s, int r);
    void arrive(int s, int c);
    void startService(StationState& station, int s, int c);
    void preempt(StationState& station, int s);
    int nextWaiting(StationState& station);
    void endService(int s);
    void endDelay(int c);
    void leave(int c, int s, int r);
    void externalArrival(int stream);
    int newCustomer(int r);
    void failUnstable();

    const SimulationModel& model_;
    const int R_;
    SamplerSet samplers_;
    std::vector<int> serviceSampler_;  // R x M
    std::vector<Route> routes_;        // R x M
    std::vector<int> streamSampler_;
    std::vector<Route> streamRoutes_;
    std::vector<int> streamNone_;  // the stream's outcome that brings no customer, or -1

    RandomStream random_;
    EventHeap heap_;
    bool topPending_ = false;  // the event being handled still sits at the top
    double now_ = 0.0;
    double batchStart_ = 0.0;

    std::vector<StationState> stations_;
    std::vector<CustomerDeque> queues_;
    std::vector<Customer> customers_;
    std::vector<int> freeCustomers_;
    std::vector<PairCounters> pairs_;  // R x M
    std::int64_t openPresent_ = 0;
    std::int64_t openCap_;

    SimulationFailure failure_ = SimulationFailure::None;
    int failedStation_ = 0;
    const char* allocating_ = "";
};

}  // namespace kolt::methods
