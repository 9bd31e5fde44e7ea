#ifndef QC_PAIR_H
#define QC_PAIR_H

// A plain pair of two values of one type.
template <class T>
struct qcPair {
    T first{};
    T second{};

    constexpr qcPair() = default;
    constexpr qcPair(const T& a, const T& b) : first(a), second(b) {}

    constexpr bool operator==(const qcPair& other) const
    {
        return first == other.first && second == other.second;
    }
    constexpr bool operator!=(const qcPair& other) const { return !(*this == other); }
};

#endif
