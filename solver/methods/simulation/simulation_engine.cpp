#include "solver/methods/simulation/simulation_engine.h"

#include <algorithm>
#include <bit>
#include <new>

namespace kolt::methods {
namespace {

bool isPriority(int discipline) { return discipline == kPriority || discipline == kPriorityPreemptive; }

// Customers placed at the start, and the room kept for open ones.
std::int64_t closedCustomers(const SimulationModel& model) {
    std::int64_t total = 0;
    for (int k : model.population) total += k;
    return total;
}
constexpr std::int64_t kOpenRoomAtStart = 1024;

}  // namespace

void SimulationEngine::start() {
    const SimulationModel& model = model_;
    const int M = model.M, R = model.R;
    allocating_ = "samplers";
    serviceSampler_.resize(static_cast<std::size_t>(M) * R);
    routes_.resize(static_cast<std::size_t>(M) * R);
    for (std::size_t x = 0; x < serviceSampler_.size(); ++x) {
        serviceSampler_[x] = samplers_.addLaw(model.service[x], model.pairFirst, model.pairSecond);
        const int begin = model.routeBegin[x], end = model.routeBegin[x + 1];
        routes_[x].begin = begin;
        if (end > begin) routes_[x].choice = samplers_.addChoice(model.routeProbability.data() + begin, end - begin);
    }
    for (const ArrivalStream& stream : model.streams) {
        streamSampler_.push_back(samplers_.addLaw(stream.interarrival, model.pairFirst, model.pairSecond));
        std::vector<double> weights(model.streamProbability.begin() + stream.begin,
                                    model.streamProbability.begin() + stream.end);
        double total = 0.0;
        for (double p : weights) total += p;
        streamNone_.push_back(total < 1.0 ? static_cast<int>(weights.size()) : -1);
        if (total < 1.0) weights.push_back(1.0 - total);
        Route route;
        route.begin = stream.begin;
        route.choice = samplers_.addChoice(weights.data(), static_cast<int>(weights.size()));
        streamRoutes_.push_back(route);
    }

    allocating_ = "stations";
    stations_.resize(M);
    pairs_.resize(static_cast<std::size_t>(M) * R);
    int queueCount = 0;
    for (int s = 0; s < M; ++s) {
        StationState& station = stations_[s];
        station.discipline = model.discipline[s];
        station.firstQueue = queueCount;
        if (station.discipline != kInfiniteServer) queueCount += isPriority(station.discipline) ? R : 1;
    }
    allocating_ = "queues";
    queues_.resize(queueCount);

    allocating_ = "customers";
    customers_.reserve(static_cast<std::size_t>(closedCustomers(model) + kOpenRoomAtStart));
    allocating_ = "events";
    heap_.reserve(static_cast<std::size_t>(M + model.streams.size() + kOpenRoomAtStart));

    for (int r = 0; r < R; ++r)
        for (int k = 0; k < model.population[r]; ++k) arrive(model.startStation[r], newCustomer(r));
    for (std::size_t k = 0; k < model.streams.size(); ++k)
        schedule(samplers_.sample(streamSampler_[k], random_), tag(kArrival, static_cast<int>(k)), 0);
    allocating_ = "";
}

std::int64_t SimulationEngine::startBytes(const SimulationModel& model) {
    const std::int64_t M = model.M, R = model.R, pairs = M * R;
    std::int64_t bytes = pairs * (sizeof(int) + sizeof(Route) + sizeof(PairCounters));
    for (const Law& law : model.service) bytes += SamplerSet::lawBytes(law);
    bytes += SamplerSet::choiceBytes(static_cast<int>(model.routeTarget.size()));
    for (const ArrivalStream& stream : model.streams)
        bytes += sizeof(int) * 2 + sizeof(Route) + SamplerSet::lawBytes(stream.interarrival) +
                 SamplerSet::choiceBytes(stream.end - stream.begin + 1);
    std::int64_t queues = 0;
    for (int d : model.discipline)
        if (d != kInfiniteServer) queues += isPriority(d) ? R : 1;
    bytes += M * static_cast<std::int64_t>(sizeof(StationState));
    bytes += queues * static_cast<std::int64_t>(sizeof(CustomerDeque) + CustomerDeque::kInitialCapacity * sizeof(int));
    bytes += (closedCustomers(model) + kOpenRoomAtStart) * static_cast<std::int64_t>(sizeof(Customer) + sizeof(int));
    bytes += (M + static_cast<std::int64_t>(model.streams.size()) + kOpenRoomAtStart) *
             static_cast<std::int64_t>(sizeof(Event));
    return bytes;
}

bool SimulationEngine::run(std::int64_t events) {
    for (std::int64_t done = 0; done < events;) {
        const Event e = heap_.top();
        const int id = static_cast<int>(e.tag >> 2);
        if ((e.tag & 3) == kServiceEnd && e.token != stations_[id].token) {
            heap_.pop();  // a completion that a preemption has overtaken
            continue;
        }
        now_ = e.time;
        topPending_ = true;
        switch (e.tag & 3) {
            case kServiceEnd: endService(id); break;
            case kDelayEnd: endDelay(id); break;
            default: externalArrival(id); break;
        }
        if (topPending_) {
            topPending_ = false;
            heap_.pop();
        }
        ++done;
        if (failure_ != SimulationFailure::None) return false;
    }
    return true;
}

double SimulationEngine::closeBatch(double* present, double* inService, double* departures) {
    for (std::size_t x = 0; x < pairs_.size(); ++x) {
        PairCounters& p = pairs_[x];
        const double dt = now_ - p.last;
        present[x] = p.areaPresent + p.present * dt;
        inService[x] = p.areaService + p.inService * dt;
        departures[x] = p.departures;
        p.last = now_;
        p.areaPresent = p.areaService = p.departures = 0.0;
    }
    const double duration = now_ - batchStart_;
    batchStart_ = now_;
    return duration;
}

void SimulationEngine::schedule(double time, std::uint32_t eventTag, std::uint32_t token) {
    const Event e{time, eventTag, token};
    if (topPending_) {
        topPending_ = false;
        heap_.replaceTop(e);
        return;
    }
    if (heap_.size() == heap_.capacity()) allocating_ = "events";
    heap_.push(e);
}

SimulationEngine::PairCounters& SimulationEngine::touch(int s, int r) {
    PairCounters& p = pairs_[static_cast<std::size_t>(s) * R_ + r];
    const double dt = now_ - p.last;
    p.areaPresent += p.present * dt;
    p.areaService += p.inService * dt;
    p.last = now_;
    return p;
}

void SimulationEngine::arrive(int s, int c) {
    Customer& customer = customers_[c];
    const int r = customer.cls;
    customer.station = s;
    customer.work = samplers_.sample(serviceSampler_[static_cast<std::size_t>(s) * R_ + r], random_);
    PairCounters& pair = touch(s, r);
    ++pair.present;
    StationState& station = stations_[s];
    if (station.discipline == kInfiniteServer) {
        ++pair.inService;
        schedule(now_ + customer.work, tag(kDelayEnd, c), 0);
        return;
    }
    if (station.inService < 0) {
        startService(station, s, c);
        return;
    }
    allocating_ = "queues";
    switch (station.discipline) {
        case kLifoPreemptive:
            preempt(station, s);
            startService(station, s, c);
            return;
        case kPriorityPreemptive:
            if (r < customers_[station.inService].cls) {
                preempt(station, s);
                startService(station, s, c);
                return;
            }
            [[fallthrough]];
        case kPriority:
            queues_[station.firstQueue + r].pushBack(c);
            station.waiting |= 1u << r;
            return;
        default:  // FIFO and LIFO wait in one line; they differ in which end serves
            queues_[station.firstQueue].pushBack(c);
            return;
    }
}

void SimulationEngine::startService(StationState& station, int s, int c) {
    station.inService = c;
    station.serviceStart = now_;
    ++touch(s, customers_[c].cls).inService;
    schedule(now_ + customers_[c].work, tag(kServiceEnd, s), ++station.token);
}

// The customer in service stops with its remaining work; under LIFO-PR it
// goes on top of the stack, under PRIOR-PR back to the front of its class.
void SimulationEngine::preempt(StationState& station, int s) {
    const int c = station.inService;
    Customer& customer = customers_[c];
    customer.work = std::max(0.0, customer.work - (now_ - station.serviceStart));
    --touch(s, customer.cls).inService;
    station.inService = -1;
    if (station.discipline == kLifoPreemptive) {
        queues_[station.firstQueue].pushBack(c);
    } else {
        queues_[station.firstQueue + customer.cls].pushFront(c);
        station.waiting |= 1u << customer.cls;
    }
}

int SimulationEngine::nextWaiting(StationState& station) {
    switch (station.discipline) {
        case kFifo: {
            CustomerDeque& queue = queues_[station.firstQueue];
            return queue.empty() ? -1 : queue.popFront();
        }
        case kLifo:
        case kLifoPreemptive: {
            CustomerDeque& queue = queues_[station.firstQueue];
            return queue.empty() ? -1 : queue.popBack();
        }
        default: {
            if (station.waiting == 0) return -1;
            const int r = std::countr_zero(station.waiting);  // class 0 is served first
            CustomerDeque& queue = queues_[station.firstQueue + r];
            const int c = queue.popFront();
            if (queue.empty()) station.waiting &= ~(1u << r);
            return c;
        }
    }
}

void SimulationEngine::endService(int s) {
    StationState& station = stations_[s];
    const int c = station.inService;
    const int r = customers_[c].cls;
    PairCounters& pair = touch(s, r);
    --pair.present;
    --pair.inService;
    pair.departures += 1.0;
    station.inService = -1;
    const int next = nextWaiting(station);
    if (next >= 0) startService(station, s, next);
    leave(c, s, r);
}

void SimulationEngine::endDelay(int c) {
    const int s = customers_[c].station;
    const int r = customers_[c].cls;
    PairCounters& pair = touch(s, r);
    --pair.present;
    --pair.inService;
    pair.departures += 1.0;
    leave(c, s, r);
}

// Where customer c of class r goes after station s.
void SimulationEngine::leave(int c, int s, int r) {
    const Route& route = routes_[static_cast<std::size_t>(s) * R_ + r];
    const int target = route.choice.size == 0
                           ? kExitTarget
                           : model_.routeTarget[route.begin + samplers_.choose(route.choice, random_)];
    if (target != kExitTarget) {
        arrive(target, c);
        return;
    }
    // Only open customers reach the exit.
    if (freeCustomers_.size() == freeCustomers_.capacity()) allocating_ = "customers";
    freeCustomers_.push_back(c);
    --openPresent_;
}

void SimulationEngine::externalArrival(int stream) {
    schedule(now_ + samplers_.sample(streamSampler_[stream], random_), tag(kArrival, stream), 0);
    const Route& route = streamRoutes_[stream];
    const int outcome = samplers_.choose(route.choice, random_);
    if (outcome == streamNone_[stream]) return;
    const int r = model_.streamClass[route.begin + outcome];
    const int c = newCustomer(r);
    if (c < 0) return;
    arrive(model_.streamStation[route.begin + outcome], c);
}

int SimulationEngine::newCustomer(int r) {
    if (model_.population[r] == 0) {
        if (openPresent_ >= openCap_) {
            failUnstable();
            return -1;
        }
        ++openPresent_;
        if (!freeCustomers_.empty()) {
            const int c = freeCustomers_.back();
            freeCustomers_.pop_back();
            customers_[c].cls = r;
            return c;
        }
    }
    if (customers_.size() == customers_.capacity()) allocating_ = "customers";
    customers_.push_back(Customer{0.0, r, 0});
    return static_cast<int>(customers_.size()) - 1;
}

// The open customers keep growing: the station holding the most of them is
// the one that cannot keep up.
void SimulationEngine::failUnstable() {
    failure_ = SimulationFailure::Unstable;
    std::int64_t most = -1;
    for (int s = 0; s < model_.M; ++s) {
        std::int64_t present = 0;
        for (int r = 0; r < R_; ++r)
            if (model_.population[r] == 0) present += pairs_[static_cast<std::size_t>(s) * R_ + r].present;
        if (present > most) {
            most = present;
            failedStation_ = s;
        }
    }
}

}  // namespace kolt::methods
