#include <afxcoll.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

std::u16string Key(int i) {
    std::u16string key = u"key";
    for (char c : std::to_string(i)) key.push_back(static_cast<char16_t>(c));
    return key;
}

template <typename Map, typename Value>
std::vector<std::u16string> KeysInOrder(const Map& map) {
    std::vector<std::u16string> keys;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        CString key;
        Value value{};
        map.GetNextAssoc(pos, key, value);
        keys.push_back(key.str());
    }
    return keys;
}

std::vector<std::u16string> Keys(const CMapStringToPtr& map) { return KeysInOrder<CMapStringToPtr, void*>(map); }
std::vector<std::u16string> Keys(const CMapStringToString& map) { return KeysInOrder<CMapStringToString, CString>(map); }

void* Ptr(intptr_t v) { return reinterpret_cast<void*>(v); }

TEST(MapStringToPtr, HashIsTheClassLibraryStringHash) {
    CMapStringToPtr map;
    EXPECT_EQ(0u, map.HashKey(u""));
    EXPECT_EQ(97u * 33 + 98, map.HashKey(u"ab"));
    // The hash wraps around in 32 bits.
    UINT expected = 0;
    for (char16_t c : std::u16string(u"a rather long key \u3042\u3044")) expected = expected * 33 + c;
    EXPECT_EQ(expected, map.HashKey(u"a rather long key \u3042\u3044"));
}

TEST(MapStringToPtr, LookupSetRemove) {
    CMapStringToPtr map;
    void* value = Ptr(99);
    EXPECT_FALSE(map.Lookup(u"a", value));
    EXPECT_EQ(Ptr(99), value);  // untouched when not found

    map.SetAt(u"a", Ptr(1));
    map[u"b"] = Ptr(2);
    map.SetAt(u"a", Ptr(3));  // replaces
    EXPECT_EQ(2, map.GetCount());
    EXPECT_TRUE(map.Lookup(u"a", value));
    EXPECT_EQ(Ptr(3), value);
    EXPECT_FALSE(map.Lookup(u"A", value));  // keys are case-sensitive

    EXPECT_EQ(nullptr, map[u"new"]);  // operator[] adds a null value
    EXPECT_EQ(3, map.GetCount());

    LPCWSTR stored = nullptr;
    const std::u16string probe = u"b";
    EXPECT_TRUE(map.LookupKey(probe.c_str(), stored));
    EXPECT_NE(probe.c_str(), stored);  // the map's own copy
    EXPECT_EQ(u"b", std::u16string(stored));

    EXPECT_TRUE(map.RemoveKey(u"b"));
    EXPECT_FALSE(map.RemoveKey(u"b"));
    EXPECT_FALSE(map.Lookup(u"b", value));
    EXPECT_EQ(2, map.GetCount());

    map.SetAt(nullptr, Ptr(7));  // a null key is the empty key
    EXPECT_TRUE(map.Lookup(u"", value));
    EXPECT_EQ(Ptr(7), value);
}

TEST(MapStringToPtr, EnumeratesInBucketOrderNewestFirst) {
    CMapStringToPtr map;
    EXPECT_EQ(nullptr, map.GetStartPosition());
    EXPECT_EQ(17u, map.GetHashTableSize());
    // "a" (97) and "r" (114) share bucket 12 of 17; "b" is in 13; "Q" (81) in 13 as well.
    map.SetAt(u"a", Ptr(1));
    map.SetAt(u"b", Ptr(2));
    map.SetAt(u"r", Ptr(3));
    map.SetAt(u"Q", Ptr(4));
    map.SetAt(u"", Ptr(5));  // bucket 0
    const std::vector<std::u16string> expected = {u"", u"r", u"a", u"Q", u"b"};
    EXPECT_EQ(expected, Keys(map));
}

TEST(MapStringToPtr, GrowthKeepsBucketOrderAndEveryEntry) {
    CMapStringToPtr map;
    const int count = 5000;
    for (int i = 0; i < count; ++i) map.SetAt(Key(i).c_str(), Ptr(i + 1));
    const UINT buckets = map.GetHashTableSize();
    EXPECT_GT(buckets, 17u);
    EXPECT_EQ(0u, buckets % 17);  // grown by doubling

    // Every entry exactly once, in bucket order, newest first within a bucket.
    std::set<std::u16string> seen;
    std::vector<std::pair<UINT, int>> order;  // bucket, insertion index
    POSITION pos = map.GetStartPosition();
    while (pos) {
        CString key;
        void* value = nullptr;
        map.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(seen.insert(key.str()).second);
        EXPECT_EQ(Key(static_cast<int>(reinterpret_cast<intptr_t>(value)) - 1), key.str());
        order.emplace_back(map.HashKey(key) % buckets, static_cast<int>(reinterpret_cast<intptr_t>(value)));
    }
    EXPECT_EQ(static_cast<size_t>(count), seen.size());
    for (size_t i = 1; i < order.size(); ++i) {
        ASSERT_LE(order[i - 1].first, order[i].first) << i;
        if (order[i - 1].first == order[i].first) {
            ASSERT_GT(order[i - 1].second, order[i].second) << i;
        }
    }
}

TEST(MapStringToPtr, InitHashTableSetsTheStartAndKeepsEntries) {
    CMapStringToPtr map;
    map.InitHashTable(101);
    EXPECT_EQ(101u, map.GetHashTableSize());
    for (int i = 0; i < 10; ++i) map.SetAt(Key(i).c_str(), Ptr(i));
    EXPECT_EQ(101u, map.GetHashTableSize());

    // Resizing a filled table (which the original would leak) keeps every entry, newest first.
    map.SetAt(u"a", Ptr(1));
    map.SetAt(u"r", Ptr(2));
    map.InitHashTable(17);
    EXPECT_EQ(12, map.GetCount());
    std::vector<std::u16string> keys = Keys(map);
    EXPECT_EQ(12u, keys.size());
    std::vector<std::u16string> sharedBucket;  // "a" and "r" share bucket 12 of 17
    for (const auto& k : keys)
        if (k == u"a" || k == u"r") sharedBucket.push_back(k);
    EXPECT_EQ((std::vector<std::u16string>{u"r", u"a"}), sharedBucket);

    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(nullptr, map.GetStartPosition());
    EXPECT_EQ(17u, map.GetHashTableSize());
}

TEST(MapStringToPtr, RemovingTheEntryJustVisitedDuringEnumeration) {
    CMapStringToPtr map;
    for (int i = 0; i < 100; ++i) map.SetAt(Key(i).c_str(), Ptr(i));
    int visited = 0;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        CString key;
        void* value = nullptr;
        map.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(map.RemoveKey(key));
        ++visited;
    }
    EXPECT_EQ(100, visited);
    EXPECT_TRUE(map.IsEmpty());

    // The start position of a map emptied after it was taken ends the walk.
    map.SetAt(u"x", nullptr);
    pos = map.GetStartPosition();
    map.RemoveAll();
    CString key(u"unchanged");
    void* value = nullptr;
    map.GetNextAssoc(pos, key, value);
    EXPECT_EQ(nullptr, pos);
    EXPECT_EQ(u"unchanged", key.str());
}

// Four characters of five bits each: short keys keep the test about the table, not about
// allocating key strings.
std::u16string ShortKey(int i) {
    std::u16string key(4, u'0');
    for (int k = 0; k < 4; ++k) key[k] = static_cast<char16_t>(u'0' + ((i >> (5 * k)) & 31));
    return key;
}

TEST(MapStringToPtr, AMillionKeys) {
    CMapStringToPtr map;
    const int count = 1000000;
    for (int i = 0; i < count; ++i) map[ShortKey(i).c_str()] = Ptr(i);
    EXPECT_EQ(count, map.GetCount());
    void* value = nullptr;
    EXPECT_TRUE(map.Lookup(ShortKey(765432).c_str(), value));
    EXPECT_EQ(Ptr(765432), value);
    INT_PTR visited = 0;
    for (POSITION pos = map.GetStartPosition(); pos; ++visited) {
        CString key;
        map.GetNextAssoc(pos, key, value);
    }
    EXPECT_EQ(count, visited);
}

TEST(MapStringToString, ValuesAreStrings) {
    CMapStringToString map;
    CString value(u"untouched");
    EXPECT_FALSE(map.Lookup(u"k", value));
    EXPECT_EQ(u"untouched", value.str());

    EXPECT_TRUE(map[u"k"].IsEmpty());  // operator[] adds an empty value
    map[u"k"] += u"v";
    map.SetAt(u"n", nullptr);
    EXPECT_TRUE(map.Lookup(u"k", value));
    EXPECT_EQ(u"v", value.str());
    EXPECT_TRUE(map.Lookup(u"n", value));
    EXPECT_TRUE(value.IsEmpty());

    // A new value taken from the entry's own text.
    map.SetAt(u"self", u"abcdef");
    CString& stored = map[u"self"];
    map.SetAt(u"self", static_cast<LPCWSTR>(stored) + 3);
    EXPECT_TRUE(map.Lookup(u"self", value));
    EXPECT_EQ(u"def", value.str());

    EXPECT_TRUE(map.RemoveKey(u"k"));
    EXPECT_EQ(2, map.GetCount());
    const std::vector<std::u16string> keys = Keys(map);
    EXPECT_EQ(2u, keys.size());
}

// Entries live in blocks of the given size and removed places are reused: every entry must
// keep its own key and value through removals, reuse and emptying, at any block size.
TEST(MapStringToString, EntriesSurviveReuseOfRemovedPlaces) {
    for (INT_PTR blockSize : {INT_PTR{1}, INT_PTR{3}, INT_PTR{10}, INT_PTR{0}}) {
        CMapStringToString map(blockSize);
        const std::u16string longTail = u"-a value too long for the string's own buffer";
        auto value = [&](int i) { return Key(i) + longTail; };
        for (int i = 0; i < 50; ++i) map.SetAt(Key(i).c_str(), value(i).c_str());
        for (int i = 0; i < 50; i += 2) EXPECT_TRUE(map.RemoveKey(Key(i).c_str()));
        for (int i = 100; i < 125; ++i) map[Key(i).c_str()] = value(i).c_str();
        EXPECT_EQ(50, map.GetCount());
        CString found;
        for (int i = 1; i < 50; i += 2) {
            ASSERT_TRUE(map.Lookup(Key(i).c_str(), found)) << blockSize << " " << i;
            EXPECT_EQ(value(i), found.str());
        }
        for (int i = 100; i < 125; ++i) {
            ASSERT_TRUE(map.Lookup(Key(i).c_str(), found));
            EXPECT_EQ(value(i), found.str());
        }
        EXPECT_FALSE(map.Lookup(Key(0).c_str(), found));

        // Emptied one key at a time, then all at once: the map works as new after either.
        for (const std::u16string& key : Keys(map)) EXPECT_TRUE(map.RemoveKey(key.c_str()));
        EXPECT_TRUE(map.IsEmpty());
        map.SetAt(u"again", u"a value after the map was emptied key by key");
        EXPECT_TRUE(map.Lookup(u"again", found));
        EXPECT_EQ(u"a value after the map was emptied key by key", found.str());
        map.RemoveAll();
        for (int i = 0; i < 30; ++i) map.SetAt(Key(i).c_str(), value(i).c_str());
        EXPECT_EQ(30, map.GetCount());
        EXPECT_EQ(30u, Keys(map).size());
    }
}

// A key taken from the text of another entry, while adding it needs a new block.
TEST(MapStringToPtr, KeyFromAnotherEntryWhenABlockIsAdded) {
    CMapStringToPtr map(1);
    map.SetAt(u"first key of the map, longer than the string's own buffer", Ptr(1));
    LPCWSTR stored = nullptr;
    ASSERT_TRUE(map.LookupKey(u"first key of the map, longer than the string's own buffer", stored));
    map.SetAt(stored + 6, Ptr(2));
    void* value = nullptr;
    EXPECT_TRUE(map.Lookup(u"key of the map, longer than the string's own buffer", value));
    EXPECT_EQ(Ptr(2), value);
    EXPECT_EQ(2, map.GetCount());
}

// The bucket of a key is its hash modulo the table size, whatever the size (the index is not
// taken by division): the smallest sizes, odd and prime ones, grown or not.
TEST(MapStringToPtr, BucketOrderHoldsAtAnyTableSize) {
    for (UINT size : {1u, 2u, 3u, 7u, 4099u, 65521u}) {
        CMapStringToPtr map;
        map.InitHashTable(size, FALSE);
        for (int i = 0; i < 300; ++i) map.SetAt((Key(i * 7919) + u"\uFFFF\uFFFE").c_str(), Ptr(i + 1));
        const UINT buckets = map.GetHashTableSize();
        EXPECT_EQ(0u, buckets % size);
        UINT previous = 0;
        for (const std::u16string& key : Keys(map)) {
            const UINT bucket = map.HashKey(key.c_str()) % buckets;
            ASSERT_LE(previous, bucket) << size;
            previous = bucket;
        }
    }
}

}  // namespace
