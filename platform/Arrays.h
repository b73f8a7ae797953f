#pragma once
// Fixed-bound arrays of the project state. Bounds run from 0 to the upper
// bound inclusive; elements are used from index 1. An index outside the
// bounds throws std::out_of_range instead of writing over its neighbours.
#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace velmora {

[[noreturn]] inline void indexOutOfRange(long i, long upper)
{
    throw std::out_of_range("index " + std::to_string(i) + " outside 0.." + std::to_string(upper));
}

template <typename T, long Upper>
class Array1 {
public:
    static constexpr long upper = Upper;
    T& operator()(long i) { check(i); return data_[static_cast<std::size_t>(i)]; }
    const T& operator()(long i) const { check(i); return data_[static_cast<std::size_t>(i)]; }
    T& operator[](long i) { return (*this)(i); }
    const T& operator[](long i) const { return (*this)(i); }
    void fill(const T& v) { data_.fill(v); }
    T* data() { return data_.data(); }
    const T* data() const { return data_.data(); }
    static constexpr long size() { return Upper + 1; }
    bool operator==(const Array1&) const = default;

private:
    static void check(long i) { if (i < 0 || i > Upper) indexOutOfRange(i, Upper); }
    std::array<T, static_cast<std::size_t>(Upper + 1)> data_{};
};

template <typename T, long Upper1, long Upper2>
class Array2 {
public:
    static constexpr long upper1 = Upper1;
    static constexpr long upper2 = Upper2;
    T& operator()(long i, long j) { return data_[index(i, j)]; }
    const T& operator()(long i, long j) const { return data_[index(i, j)]; }
    void fill(const T& v) { data_.fill(v); }
    bool operator==(const Array2&) const = default;

private:
    static std::size_t index(long i, long j)
    {
        if (i < 0 || i > Upper1) indexOutOfRange(i, Upper1);
        if (j < 0 || j > Upper2) indexOutOfRange(j, Upper2);
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(Upper2 + 1) + static_cast<std::size_t>(j);
    }
    std::array<T, static_cast<std::size_t>((Upper1 + 1) * (Upper2 + 1))> data_{};
};

} // namespace velmora
