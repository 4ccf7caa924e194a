// The chained hash table behind the string-keyed maps.
//
// Keys are hashed with the class library's string hash and enumerated in bucket order, the
// most recently added entry of a bucket first. Unlike the original the table grows: it doubles
// when the entries exceed twice the buckets. Doubling splits every old bucket b into the new
// buckets b and b + old size, so walking each old chain in order keeps the recency order of
// every new chain without any sorting.
//
// Entries live in blocks of the map's block size, as the original allocates its associations:
// a removed entry's place goes on a free list for the next one, and the blocks are given back
// when the map empties. Under AddressSanitizer a free place is poisoned, so a position or a
// reference kept past RemoveKey is still caught.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define VELA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELA_ASAN 1
#endif
#endif

#if defined(VELA_ASAN)
#include <sanitizer/asan_interface.h>
#define VELA_POISON(p, n) ASAN_POISON_MEMORY_REGION((p), (n))
#define VELA_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION((p), (n))
#else
#define VELA_POISON(p, n) ((void)(p), (void)(n))
#define VELA_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

#include <afx.h>

namespace vela::afx {

inline UINT HashStringKey(LPCWSTR key) {
    UINT hash = 0;
    if (key)
        while (*key) hash = (hash << 5) + hash + *key++;
    return hash;
}

// The hash and the length of a key in one pass over it; a null key is the empty key.
struct KeyFacts {
    UINT hash;
    size_t length;
};

inline KeyFacts MeasureKey(LPCWSTR key) {
    UINT hash = 0;
    const WCHAR* end = key;
    if (end)
        while (*end) hash = (hash << 5) + hash + *end++;
    return {hash, static_cast<size_t>(end - key)};
}

// An entry's key: short keys (most are) sit in the entry itself, longer ones on the heap.
class StoredKey {
public:
    StoredKey(LPCWSTR text, size_t length) : m_length(length) {
        WCHAR* to = m_inline;
        if (length >= kInline) to = m_heap = new WCHAR[length + 1];
        if (length > 0) std::char_traits<char16_t>::copy(to, text, length);
        to[length] = 0;
    }
    StoredKey(const StoredKey&) = delete;
    StoredKey& operator=(const StoredKey&) = delete;
    ~StoredKey() {
        if (m_length >= kInline) delete[] m_heap;
    }

    size_t size() const { return m_length; }
    LPCWSTR c_str() const { return m_length >= kInline ? m_heap : m_inline; }
    operator LPCWSTR() const { return c_str(); }

private:
    // Eleven characters and the terminator take the room of the heap pointer and a CString's
    // worth of an entry, which keeps a block of ten entries a small allocation.
    static constexpr size_t kInline = 12;
    size_t m_length;
    union {
        WCHAR m_inline[kInline];
        WCHAR* m_heap;
    };
};

template <typename Value>
class StringHashTable {
public:
    struct Node {
        Node* next;
        UINT hash;
        uint64_t serial;  // order of arrival, for a rehash to an unrelated size
        StoredKey key;
        Value value;
    };

    static constexpr UINT kDefaultSize = 17;

    explicit StringHashTable(INT_PTR blockSize) : m_blockSize(blockSize > 0 ? static_cast<size_t>(blockSize) : 1) {}
    StringHashTable(const StringHashTable&) = delete;
    StringHashTable& operator=(const StringHashTable&) = delete;
    ~StringHashTable() { Clear(); }

    size_t Count() const { return m_count; }
    UINT BucketCount() const { return m_buckets.empty() ? m_startSize : static_cast<UINT>(m_buckets.size()); }

    Node* Find(LPCWSTR key) const { return Find(key, MeasureKey(key)); }

    // The entry for the key, added with a value-initialised value when it is not there.
    Node& FindOrAdd(LPCWSTR key) {
        const KeyFacts facts = MeasureKey(key);
        if (Node* found = Find(key, facts)) return *found;
        if (m_buckets.empty()) m_buckets.assign(m_startSize, nullptr);
        void* place = TakePlace();
        Node* node;
        try {
            node = new (place) Node{nullptr, facts.hash, m_nextSerial, StoredKey(key, facts.length), Value()};
        } catch (...) {
            GiveBack(place);
            throw;
        }
        ++m_nextSerial;
        Node*& head = m_buckets[m_buckets.Index(node->hash)];
        node->next = head;
        head = node;
        ++m_count;
        if (m_count > 2 * m_buckets.size()) Double();
        return *node;
    }

    bool Remove(LPCWSTR key) {
        if (m_buckets.empty()) return false;
        const KeyFacts facts = MeasureKey(key);
        for (Node** link = &m_buckets[m_buckets.Index(facts.hash)]; *link; link = &(*link)->next) {
            Node* node = *link;
            if (Matches(*node, key, facts)) {
                *link = node->next;
                Destroy(node);
                if (--m_count == 0) FreeBlocks();
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
                head->~Node();
                head = next;
            }
        }
        FreeBlocks();
        m_buckets.clear();
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
            Node*& head = m_buckets[m_buckets.Index(node->hash)];
            node->next = head;
            head = node;
        }
        while (m_count > 2 * m_buckets.size()) Double();
    }

    Node* First() const { return FirstFrom(0); }

    Node* Next(const Node* node) const {
        if (node->next) return node->next;
        return FirstFrom(m_buckets.Index(node->hash) + 1);
    }

    // One step of GetNextAssoc: the entry at position (BEFORE_START_POSITION stands before the
    // first), with position moved on to the next one, or null at the end.
    const Node* Step(POSITION& position) const {
        if (!position) return nullptr;
        const Node* node =
            position == BEFORE_START_POSITION ? First() : reinterpret_cast<const Node*>(position);
        position = node ? reinterpret_cast<POSITION>(const_cast<Node*>(Next(node))) : nullptr;
        return node;
    }

private:
    static bool Matches(const Node& node, LPCWSTR key, KeyFacts facts) {
        return node.hash == facts.hash && node.key.size() == facts.length &&
               (facts.length == 0 || std::char_traits<char16_t>::compare(node.key.c_str(), key, facts.length) == 0);
    }

    Node* Find(LPCWSTR key, KeyFacts facts) const {
        if (m_buckets.empty()) return nullptr;
        for (Node* node = m_buckets[m_buckets.Index(facts.hash)]; node; node = node->next)
            if (Matches(*node, key, facts)) return node;
        return nullptr;
    }

    // The bucket array. A table of the default size keeps it in place, which saves a small
    // map (a section of an INI file, say) an allocation.
    class BucketArray {
    public:
        BucketArray() = default;
        BucketArray(const BucketArray&) = delete;
        BucketArray& operator=(const BucketArray&) = delete;

        bool empty() const { return m_size == 0; }
        size_t size() const { return m_size; }
        Node*& operator[](size_t i) { return m_data[i]; }
        Node* operator[](size_t i) const { return m_data[i]; }
        Node* const* begin() const { return m_data; }
        Node* const* end() const { return m_data + m_size; }

        // hash % size() by multiplication (Lemire's fastmod, exact for 32-bit operands): a
        // division costs more than the rest of a look-up of a short key.
        size_t Index(UINT hash) const {
            __extension__ using Wide = unsigned __int128;
            const uint64_t low = m_magic * hash;
            return static_cast<size_t>((static_cast<Wide>(low) * m_size) >> 64);
        }

        void assign(size_t count, Node*) {
            if (count <= kDefaultSize) {
                m_heap.reset();
                m_data = m_local;
            } else {
                m_heap.reset(new Node*[count]);
                m_data = m_heap.get();
            }
            std::fill_n(m_data, count, nullptr);
            m_size = count;
            m_magic = ~uint64_t{0} / count + 1;
        }

        void clear() {
            m_heap.reset();
            m_data = m_local;
            m_size = 0;
            m_magic = 0;
        }

        void swap(BucketArray& other) {
            BucketArray held;
            held.TakeFrom(*this);
            TakeFrom(other);
            other.TakeFrom(held);
        }

    private:
        void TakeFrom(BucketArray& from) {
            if (from.m_heap) {
                m_heap = std::move(from.m_heap);
                m_data = m_heap.get();
            } else {
                m_heap.reset();
                m_data = m_local;
                std::copy_n(from.m_local, from.m_size, m_local);
            }
            m_size = from.m_size;
            m_magic = from.m_magic;
            from.clear();
        }

        Node* m_local[kDefaultSize];
        std::unique_ptr<Node*[]> m_heap;
        Node** m_data = m_local;
        size_t m_size = 0;
        uint64_t m_magic = 0;
    };

    // A free place holds only the link to the next one.
    struct FreePlace {
        FreePlace* next;
    };
    struct Block {
        Block* next;
    };
    static constexpr size_t kPlaceSize = sizeof(Node);
    static constexpr size_t kBlockHeader = (sizeof(Block) + alignof(Node) - 1) / alignof(Node) * alignof(Node);
    static_assert(sizeof(FreePlace) <= sizeof(Node) && alignof(FreePlace) <= alignof(Node));

    void* TakePlace() {
        if (!m_free) AddBlock();
        FreePlace* place = m_free;
        VELA_UNPOISON(place, kPlaceSize);
        m_free = place->next;
        return place;
    }

    void GiveBack(void* memory) {
        FreePlace* place = new (memory) FreePlace{m_free};
        m_free = place;
        VELA_POISON(place, kPlaceSize);
    }

    void Destroy(Node* node) {
        node->~Node();
        GiveBack(node);
    }

    // A new block's places join the free list so that the first place is used first.
    void AddBlock() {
        auto* block = static_cast<Block*>(::operator new(kBlockHeader + m_blockSize * kPlaceSize));
        block->next = m_blocks;
        m_blocks = block;
        unsigned char* places = reinterpret_cast<unsigned char*>(block) + kBlockHeader;
        for (size_t i = m_blockSize; i-- > 0;) GiveBack(places + i * kPlaceSize);
    }

    // Every entry is already destroyed.
    void FreeBlocks() {
        while (m_blocks) {
            Block* next = m_blocks->next;
            VELA_UNPOISON(m_blocks, kBlockHeader + m_blockSize * kPlaceSize);
            ::operator delete(m_blocks);
            m_blocks = next;
        }
        m_free = nullptr;
    }

    Node* FirstFrom(size_t bucket) const {
        for (; bucket < m_buckets.size(); ++bucket)
            if (m_buckets[bucket]) return m_buckets[bucket];
        return nullptr;
    }

    void Double() {
        const size_t oldSize = m_buckets.size();
        BucketArray buckets;
        buckets.assign(oldSize * 2, nullptr);
        std::vector<Node**> tails(oldSize * 2);
        for (size_t i = 0; i < buckets.size(); ++i) tails[i] = &buckets[i];
        for (Node* node : m_buckets) {
            while (node) {
                Node* next = node->next;
                const size_t target = buckets.Index(node->hash);
                node->next = nullptr;
                *tails[target] = node;
                tails[target] = &node->next;
                node = next;
            }
        }
        m_buckets.swap(buckets);
    }

    BucketArray m_buckets;  // empty until the first entry arrives
    size_t m_count = 0;
    UINT m_startSize = kDefaultSize;
    uint64_t m_nextSerial = 0;
    size_t m_blockSize;
    Block* m_blocks = nullptr;
    FreePlace* m_free = nullptr;
};

}  // namespace vela::afx
