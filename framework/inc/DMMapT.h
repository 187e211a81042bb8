// A hash map with chained bins. Text keys hash as h = h * 33 + c over their characters from
// h = 0. A new map has 17 bins; when the load (elements per bin) passes 2.25 or falls below
// 0.25 the map moves to the size of its prime table that brings the load nearest 0.75 from
// below. Nothing may rely on the order in which ForEach visits the elements.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace DM {

template <class K>
struct DMHashTraits {
    static std::size_t Hash(const K& key) {
        static_assert(std::is_integral_v<K> || std::is_enum_v<K> || std::is_pointer_v<K>,
                      "DMHashTraits: give a traits class for this key type");
        if constexpr (std::is_pointer_v<K>) {
            return reinterpret_cast<std::size_t>(key) >> 3;
        } else {
            return static_cast<std::size_t>(key);
        }
    }
};

template <>
struct DMHashTraits<std::wstring> {
    static std::size_t Hash(const std::wstring& key) {
        std::size_t hash = 0;
        for (wchar_t c : key) {
            hash = hash * 33 + static_cast<std::size_t>(c);
        }
        return hash;
    }
};

namespace detail {

constexpr bool IsPrime(std::size_t n) {
    for (std::size_t d = 2; d * d <= n; ++d) {
        if (n % d == 0) {
            return false;
        }
    }
    return n >= 2;
}

// 17, then each size the next prime at or above 5/4 of the one before.
constexpr std::array<std::size_t, 72> MakeBinSizes() {
    std::array<std::size_t, 72> sizes{};
    std::size_t size = 17;
    for (std::size_t& entry : sizes) {
        entry = size;
        size = size + size / 4;
        while (!IsPrime(size)) {
            ++size;
        }
    }
    return sizes;
}

inline constexpr std::array<std::size_t, 72> kBinSizes = MakeBinSizes();

}  // namespace detail

template <class K, class V, class Traits = DMHashTraits<K>>
class DMMapT {
public:
    static constexpr double kOptimalLoad = 0.75;
    static constexpr double kHighLoad = 2.25;
    static constexpr double kLowLoad = 0.25;

    DMMapT() : m_bins(detail::kBinSizes[0]) {}

    // Adds the key or replaces its value.
    void SetAt(const K& key, V value) {
        if (V* present = Find(key)) {
            *present = std::move(value);
            return;
        }
        std::size_t hash = Traits::Hash(key);
        auto node = std::make_unique<Node>(Node{key, std::move(value), hash, nullptr});
        std::unique_ptr<Node>& bin = m_bins[hash % m_bins.size()];
        node->next = std::move(bin);
        bin = std::move(node);
        ++m_count;
        if (static_cast<double>(m_count) > kHighLoad * static_cast<double>(m_bins.size())) {
            Rehash();
        }
    }

    V* Find(const K& key) {
        std::size_t hash = Traits::Hash(key);
        for (Node* node = m_bins[hash % m_bins.size()].get(); node; node = node->next.get()) {
            if (node->hash == hash && node->key == key) {
                return &node->value;
            }
        }
        return nullptr;
    }
    const V* Find(const K& key) const { return const_cast<DMMapT*>(this)->Find(key); }

    bool Lookup(const K& key, V& value) const {
        const V* present = Find(key);
        if (present) {
            value = *present;
        }
        return present != nullptr;
    }

    bool RemoveKey(const K& key) {
        std::size_t hash = Traits::Hash(key);
        for (std::unique_ptr<Node>* link = &m_bins[hash % m_bins.size()]; *link;
             link = &(*link)->next) {
            if ((*link)->hash == hash && (*link)->key == key) {
                *link = std::move((*link)->next);
                --m_count;
                if (static_cast<double>(m_count) < kLowLoad * static_cast<double>(m_bins.size())) {
                    Rehash();
                }
                return true;
            }
        }
        return false;
    }

    void RemoveAll() {
        m_bins.clear();
        m_bins.resize(detail::kBinSizes[0]);
        m_count = 0;
    }

    // Calls visit(key, value) for every element.
    template <class Visit>
    void ForEach(Visit visit) const {
        for (const std::unique_ptr<Node>& bin : m_bins) {
            for (const Node* node = bin.get(); node; node = node->next.get()) {
                visit(node->key, node->value);
            }
        }
    }

    std::size_t GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    std::size_t GetBinCount() const { return m_bins.size(); }

private:
    struct Node {
        K key;
        V value;
        std::size_t hash;
        std::unique_ptr<Node> next;
    };

    // The first size of the table that holds the elements at no more than the optimal load.
    static std::size_t PickBinCount(std::size_t count) {
        for (std::size_t size : detail::kBinSizes) {
            if (static_cast<double>(count) <= kOptimalLoad * static_cast<double>(size)) {
                return size;
            }
        }
        return detail::kBinSizes.back();
    }

    void Rehash() {
        std::size_t size = PickBinCount(m_count);
        if (size == m_bins.size()) {
            return;
        }
        std::vector<std::unique_ptr<Node>> bins(size);
        for (std::unique_ptr<Node>& bin : m_bins) {
            while (bin) {
                std::unique_ptr<Node> node = std::move(bin);
                bin = std::move(node->next);
                std::unique_ptr<Node>& target = bins[node->hash % size];
                node->next = std::move(target);
                target = std::move(node);
            }
        }
        m_bins = std::move(bins);
    }

    std::vector<std::unique_ptr<Node>> m_bins;
    std::size_t m_count = 0;
};

}  // namespace DM
