#include "solver/analysis/presentation_module.h"

#include <new>

#include "solver/analysis/analysis_context.h"
#include "solver/model/network.h"

namespace kolt {

bool PresentationModule::init(const Network& network, const AnalysisContext& context) {
    number_.clear();
    time_.clear();
    throughput_.clear();
    utilisation_.clear();
    halfWidths_.clear();
    M_ = 0;
    R_ = 0;
    try {
        stations_ = context.stations;
        visits_ = context.SR;
        const int R = network.numberOfClasses();
        classNames_.clear();
        classKinds_.clear();
        for (int r = 0; r < R; ++r) {
            classNames_.push_back(network.className(r).substr(0, kMaxClassNameLength));
            classKinds_.push_back(network.customers(r) > 0 ? 7 : 6);
        }
        const std::size_t cells = static_cast<std::size_t>(R + 1) * context.stations.size() * 2;
        number_.assign(cells, 0.0);
        time_.assign(cells, 0.0);
        throughput_.assign(cells, 0.0);
        utilisation_.assign(cells, 0.0);
        visits_.resize(static_cast<std::size_t>(R) * context.stations.size(), 0);
        M_ = static_cast<int>(context.stations.size());
        R_ = R;
    } catch (const std::bad_alloc&) {
        // Left uninitialised: printing then reports that the module is empty.
        return false;
    }
    return true;
}

bool PresentationModule::enableHalfWidths() {
    try {
        halfWidths_.assign(static_cast<std::size_t>(R_ + 1) * M_ * 3 * 4, -1.0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool PresentationModule::setHalfWidth(Measure measure, int c, int s, int k, double value) {
    if (halfWidths_.empty() || !inRange(c, s, k == 2 ? 0 : k)) return false;
    halfWidths_[halfWidthCell(measure, c, s, k)] = value;
    return true;
}

double PresentationModule::halfWidth(Measure measure, int c, int s, int k) const {
    if (halfWidths_.empty() || !inRange(c, s, k == 2 ? 0 : k)) return 0.0;
    return halfWidths_[halfWidthCell(measure, c, s, k)];
}

bool PresentationModule::set(std::vector<double>& table, int c, int s, int k, double value) {
    if (!inRange(c, s, k)) return false;
    table[cell(c, s, k)] = value;
    return true;
}

double PresentationModule::get(const std::vector<double>& table, int c, int s, int k) const {
    return inRange(c, s, k) ? table[cell(c, s, k)] : 0.0;
}

}  // namespace kolt
