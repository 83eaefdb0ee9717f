// Service-time distributions: for a station the service time of one customer
// of a class, for a source the time between two arrivals of that class.
// The analysis reads only kind(), mean() and variation().
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace kolt {

class Reporter;

enum class DistributionKind { Det = 0, Uni = 1, Exp = 2, Cox = 3, Erl = 4, Hip = 5, Gen = 6, Hist = 7 };
constexpr int kDistributionKindCount = 8;

// Display name used in messages and in the network dump ("wykładniczy", ...), UTF-8.
const char* distributionDisplayName(DistributionKind kind);
// Keyword as written in the network file ("DET", "EXP", ...).
const char* distributionKeyword(DistributionKind kind);

class ServiceDistribution {
  public:
    virtual ~ServiceDistribution() = default;

    // Copies the parameters of `other` when it is of the same kind; otherwise
    // leaves this object unchanged and warns. Returns this object.
    virtual ServiceDistribution& assign(const ServiceDistribution& other, Reporter& reporter) = 0;
    virtual std::unique_ptr<ServiceDistribution> createEmpty() const = 0;
    virtual DistributionKind kind() const = 0;
    virtual double mean() const = 0;
    // Coefficient of variation: standard deviation / mean (not squared).
    virtual double variation() const = 0;
};

class DetDistribution final : public ServiceDistribution {
  public:
    explicit DetDistribution(double m = 0) : m_(m) {}
    ServiceDistribution& assign(const ServiceDistribution& other, Reporter& reporter) override;
    std::unique_ptr<ServiceDistribution> createEmpty() const override;
    DistributionKind kind() const override { return DistributionKind::Det; }
    double mean() const override { return m_; }
    double variation() const override { return 0.0; }

  private:
    double m_;
};

class ExpDistribution final : public ServiceDistribution {
  public:
    explicit ExpDistribution(double m = 0) : m_(m) {}
    ServiceDistribution& assign(const ServiceDistribution& other, Reporter& reporter) override;
    std::unique_ptr<ServiceDistribution> createEmpty() const override;
    DistributionKind kind() const override { return DistributionKind::Exp; }
    double mean() const override { return m_; }
    double variation() const override { return 1.0; }

  private:
    double m_;
};

// Uniform on [a, b]: mean (a+b)/2, variation (b-a)/(sqrt(3)(a+b)).
class UniDistribution final : public ServiceDistribution {
  public:
    UniDistribution(double a = 0, double b = 0) : a_(a), b_(b) {}
    ServiceDistribution& assign(const ServiceDistribution& other, Reporter& reporter) override;
    std::unique_ptr<ServiceDistribution> createEmpty() const override;
    DistributionKind kind() const override { return DistributionKind::Uni; }
    double mean() const override;
    double variation() const override;
    double lower() const { return a_; }
    double upper() const { return b_; }

  private:
    double a_, b_;
};

// Erlang with k phases and mean m of the whole distribution.
class ErlDistribution final : public ServiceDistribution {
  public:
    ErlDistribution(int k = 0, double m = 0) : k_(k), m_(m) {}
    ServiceDistribution& assign(const ServiceDistribution& other, Reporter& reporter) override;
    std::unique_ptr<ServiceDistribution> createEmpty() const override;
    DistributionKind kind() const override { return DistributionKind::Erl; }
    double mean() const override { return m_; }
    double variation() const override;
    int phases() const { return k_; }

  private:
    int k_;
    double m_;
};

// General distribution given by its mean and coefficient of variation.
class GenDistribution final : public ServiceDistribution {
  public:
    GenDistribution(double m = 0, double c = 0) : m_(m), c_(c) {}
    ServiceDistribution& assign(const ServiceDistribution& other, Reporter& reporter) override;
    std::unique_ptr<ServiceDistribution> createEmpty() const override;
    DistributionKind kind() const override { return DistributionKind::Gen; }
    double mean() const override { return m_; }
    double variation() const override { return c_; }

  private:
    double m_, c_;
};

// Common storage of the three kinds given by a list of parameter pairs.
class PairListDistribution : public ServiceDistribution {
  public:
    // Thrown by appendPair when the second of the two grown arrays cannot be
    // had (a plain std::bad_alloc means the first); the pairs stay unchanged.
    struct SecondArrayExhausted : std::bad_alloc {};

    void appendPair(double first, double second);
    int count() const { return static_cast<int>(first_.size()); }
    const std::vector<double>& first() const { return first_; }
    const std::vector<double>& second() const { return second_; }

  protected:
    PairListDistribution() = default;
    PairListDistribution(std::vector<double> first, std::vector<double> second);
    ServiceDistribution& assignPairs(const ServiceDistribution& other, Reporter& reporter, const char* keyword);
    std::vector<double> first_, second_;
};

// Cox: pairs (a_i, t_i), a_i the probability of entering phase i, t_i its mean.
class CoxDistribution final : public PairListDistribution {
  public:
    CoxDistribution() = default;
    // n pairs given as two arrays of equal length.
    CoxDistribution(std::vector<double> first, std::vector<double> second)
        : PairListDistribution(std::move(first), std::move(second)) {}
    ServiceDistribution& assign(const ServiceDistribution& other, Reporter& reporter) override;
    std::unique_ptr<ServiceDistribution> createEmpty() const override;
    DistributionKind kind() const override { return DistributionKind::Cox; }
    double mean() const override;
    double variation() const override;
};

// Hyperexponential: pairs (p_i, t_i), branch probability and branch mean.
class HipDistribution final : public PairListDistribution {
  public:
    HipDistribution() = default;
    // n pairs given as two arrays of equal length.
    HipDistribution(std::vector<double> first, std::vector<double> second)
        : PairListDistribution(std::move(first), std::move(second)) {}
    ServiceDistribution& assign(const ServiceDistribution& other, Reporter& reporter) override;
    std::unique_ptr<ServiceDistribution> createEmpty() const override;
    DistributionKind kind() const override { return DistributionKind::Hip; }
    double mean() const override;
    double variation() const override;
};

// Histogram: pairs (x_i, w_i), upper bound of bin i (x_0 = 0) and its weight.
class HistDistribution final : public PairListDistribution {
  public:
    HistDistribution() = default;
    // n pairs given as two arrays of equal length.
    HistDistribution(std::vector<double> first, std::vector<double> second)
        : PairListDistribution(std::move(first), std::move(second)) {}
    ServiceDistribution& assign(const ServiceDistribution& other, Reporter& reporter) override;
    std::unique_ptr<ServiceDistribution> createEmpty() const override;
    DistributionKind kind() const override { return DistributionKind::Hist; }
    double mean() const override;
    double variation() const override;
};

constexpr int kMaxClasses = 32;

// One distribution slot per class index.
class ServiceTable {
  public:
    const ServiceDistribution* at(int classIndex) const;
    ServiceDistribution* at(int classIndex);
    // Stores `d` in an empty slot and returns true; an occupied slot keeps its
    // distribution and `d` is discarded (false). Throws std::bad_alloc when
    // the slot of a further class cannot be made.
    bool store(int classIndex, std::unique_ptr<ServiceDistribution> d);
    // The classes that have a distribution, one bit each (bit r for class r).
    std::uint32_t classes() const;

  private:
    // Only the classes that have a distribution: most stations of a large
    // file serve one class, whose slot is kept here; the slots of further
    // classes are made apart.
    struct Slot {
        int classIndex;  // -1: not in use
        std::unique_ptr<ServiceDistribution> distribution;
    };
    const Slot* find(int classIndex) const;
    Slot first_{-1, nullptr};
    std::unique_ptr<std::vector<Slot>> further_;
};

}  // namespace kolt
