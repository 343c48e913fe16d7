// The names of keywords that are not stored yet, addressed by negative ids: slot i has the id
// -(i + 1). An empty slot is free and is reused by the next Add.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class CStringPool {
public:
    CStringPool() = default;
    virtual ~CStringPool() = default;

    // The id of the first slot whose name equals name case-insensitively, else kNoneId.
    int32_t Find(const std::string& name) const;
    // Find, or the id of a new slot (the first free one, else appended).
    int32_t Add(const std::string& name);
    // The name of a live slot, or an empty string.
    std::string Get(int32_t id) const;
    void Remove(int32_t id);
    int32_t GetCount() const { return m_live; }

    // Walk over the live slots: pos = GetFirstPosition(); while pos >= 0, id = GetNext(pos).
    // GetFirstPosition is -1 for an empty pool.
    int32_t GetFirstPosition() const;
    // The id of the slot at pos (0 when pos is outside); pos moves to the next live slot or -1.
    int32_t GetNext(int32_t& pos) const;

private:
    int32_t NextLive(size_t from) const;

    int32_t m_live = 0;
    std::vector<std::string> m_names;
};
