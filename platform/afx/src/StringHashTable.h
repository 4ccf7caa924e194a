// The chained hash table behind the string-keyed maps.
//
// Keys are hashed with the class library's string hash and enumerated in bucket order, the
// most recently added entry of a bucket first. Unlike the original the table grows: it doubles
// when the entries exceed twice the buckets. Doubling splits every old bucket b into the new
// buckets b and b + old size, so walking each old chain in order keeps the recency order of
// every new chain without any sorting.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include <afx.h>

namespace vela::afx {

inline UINT HashStringKey(LPCWSTR key) {
    UINT hash = 0;
    if (key)
        while (*key) hash = (hash << 5) + hash + *key++;
    return hash;
}

template <typename Value>
class StringHashTable {
public:
    struct Node {
        Node* next;
        UINT hash;
        uint64_t serial;  // order of arrival, for a rehash to an unrelated size
        CString key;
        Value value;
    };

    static constexpr UINT kDefaultSize = 17;

    StringHashTable() = default;
    StringHashTable(const StringHashTable&) = delete;
    StringHashTable& operator=(const StringHashTable&) = delete;
    ~StringHashTable() { Clear(); }

    size_t Count() const { return m_count; }
    UINT BucketCount() const { return m_buckets.empty() ? m_startSize : static_cast<UINT>(m_buckets.size()); }

    Node* Find(LPCWSTR key) const {
        if (m_buckets.empty()) return nullptr;
        const UINT hash = HashStringKey(key);
        const std::u16string_view wanted = key ? std::u16string_view(key) : std::u16string_view();
        for (Node* node = m_buckets[hash % m_buckets.size()]; node; node = node->next)
            if (node->hash == hash && std::u16string_view(node->key.str()) == wanted) return node;
        return nullptr;
    }

    // The entry for the key, added with a value-initialised value when it is not there.
    Node& FindOrAdd(LPCWSTR key) {
        if (Node* found = Find(key)) return *found;
        if (m_buckets.empty()) m_buckets.assign(m_startSize, nullptr);
        Node* node = new Node{nullptr, HashStringKey(key), m_nextSerial++, CString(key), Value()};
        Node*& head = m_buckets[node->hash % m_buckets.size()];
        node->next = head;
        head = node;
        ++m_count;
        if (m_count > 2 * m_buckets.size()) Double();
        return *node;
    }

    bool Remove(LPCWSTR key) {
        if (m_buckets.empty()) return false;
        const UINT hash = HashStringKey(key);
        const std::u16string_view wanted = key ? std::u16string_view(key) : std::u16string_view();
        for (Node** link = &m_buckets[hash % m_buckets.size()]; *link; link = &(*link)->next) {
            Node* node = *link;
            if (node->hash == hash && std::u16string_view(node->key.str()) == wanted) {
                *link = node->next;
                delete node;
                --m_count;
                return true;
            }
        }
        return false;
    }

    // Frees every entry; the table starts again at its starting size.
    void Clear() {
        for (Node* head : m_buckets) {
            while (head) {
                Node* next = head->next;
                delete head;
                head = next;
            }
        }
        m_buckets.clear();
        m_buckets.shrink_to_fit();
        m_count = 0;
    }

    // Sets the starting size. Entries already present are rehashed into it, in their order of
    // arrival, rather than lost as the original would lose them.
    void SetStartSize(UINT size, bool allocNow) {
        m_startSize = std::max<UINT>(size, 1);
        if (m_count == 0) {
            m_buckets.clear();
            if (allocNow) m_buckets.assign(m_startSize, nullptr);
            return;
        }
        std::vector<Node*> nodes;
        nodes.reserve(m_count);
        for (Node* head : m_buckets)
            for (Node* node = head; node; node = node->next) nodes.push_back(node);
        std::sort(nodes.begin(), nodes.end(), [](const Node* a, const Node* b) { return a->serial < b->serial; });
        m_buckets.assign(m_startSize, nullptr);
        for (Node* node : nodes) {
            Node*& head = m_buckets[node->hash % m_buckets.size()];
            node->next = head;
            head = node;
        }
        while (m_count > 2 * m_buckets.size()) Double();
    }

    Node* First() const { return FirstFrom(0); }

    Node* Next(const Node* node) const {
        if (node->next) return node->next;
        return FirstFrom(node->hash % m_buckets.size() + 1);
    }

private:
    Node* FirstFrom(size_t bucket) const {
        for (; bucket < m_buckets.size(); ++bucket)
            if (m_buckets[bucket]) return m_buckets[bucket];
        return nullptr;
    }

    void Double() {
        const size_t oldSize = m_buckets.size();
        std::vector<Node*> buckets(oldSize * 2, nullptr);
        std::vector<Node**> tails(oldSize * 2);
        for (size_t i = 0; i < buckets.size(); ++i) tails[i] = &buckets[i];
        for (Node* node : m_buckets) {
            while (node) {
                Node* next = node->next;
                const size_t target = node->hash % buckets.size();
                node->next = nullptr;
                *tails[target] = node;
                tails[target] = &node->next;
                node = next;
            }
        }
        m_buckets.swap(buckets);
    }

    std::vector<Node*> m_buckets;  // empty until the first entry arrives
    size_t m_count = 0;
    UINT m_startSize = kDefaultSize;
    uint64_t m_nextSerial = 0;
};

}  // namespace vela::afx
