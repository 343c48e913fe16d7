#include "storage/link_range_list.h"

#include <algorithm>
#include <new>

#include "storage/data_file.h"
#include "storage/quor_error.h"
#include "storage/record_stream.h"

namespace {

// Positions come from stored records; wrapping keeps a damaged value from being undefined behaviour.
int32_t AddWrapping(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

}  // namespace

bool CLinkRangeList::GetAt(int i, LinkRange& range) const
{
    if (i < 0 || i >= GetCount()) return false;
    range = m_ranges[static_cast<size_t>(i)];
    return true;
}

void CLinkRangeList::SetAt(int i, const LinkRange& range)
{
    if (i < 0 || i >= GetCount()) return;
    try {
        m_ranges[static_cast<size_t>(i)] = range;
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CLinkRangeList::Add(const LinkRange& range)
{
    try {
        m_ranges.push_back(range);
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CLinkRangeList::RemoveAt(int i)
{
    if (i >= 0 && i < GetCount()) m_ranges.erase(m_ranges.begin() + i);
}

void CLinkRangeList::Copy(const CLinkRangeList& other)
{
    if (&other == this) return;
    m_ranges.clear();
    // Range by range, so that a memory failure keeps the ranges copied before it.
    for (const LinkRange& range : other.m_ranges) Add(range);
}

void CLinkRangeList::RemoveRange(int32_t from, int32_t to)
{
    m_ranges.erase(std::remove_if(m_ranges.begin(), m_ranges.end(),
                                  [&](const LinkRange& r) { return r.start >= from && r.start < to; }),
                   m_ranges.end());
}

void CLinkRangeList::Shift(int32_t position, int32_t delta)
{
    for (LinkRange& range : m_ranges) {
        if (range.start >= position) {
            range.start = AddWrapping(range.start, delta);
            range.end = AddWrapping(range.end, delta);
        }
    }
}

bool CLinkRangeList::FindAt(int32_t position, int32_t& start, int32_t& end, int& index, bool allowAtStart,
                            bool allowAtEnd) const
{
    index = -1;
    for (int i = 0; i < GetCount(); ++i) {
        const LinkRange& r = m_ranges[static_cast<size_t>(i)];
        if (r.start <= position && position <= r.end) {
            start = r.start;
            end = r.end;
            index = i;
            return !(!allowAtStart && position == r.start) && !(!allowAtEnd && position == r.end);
        }
    }
    return false;
}

bool CLinkRangeList::FindOverlap(int32_t from, int32_t to, int32_t& start, int32_t& end, int& index,
                                 bool allowTouchingStart, bool allowTouchingEnd) const
{
    index = -1;
    for (int i = 0; i < GetCount(); ++i) {
        const LinkRange& r = m_ranges[static_cast<size_t>(i)];
        if (r.end >= from && r.start <= to) {
            start = r.start;
            end = r.end;
            index = i;
            return !(!allowTouchingStart && to == r.start) && !(!allowTouchingEnd && from == r.end);
        }
    }
    return false;
}

bool CLinkRangeList::FindNext(int32_t position, int32_t& start, int32_t& end, int& index, int direction) const
{
    int best = -1;
    for (int i = 0; i < GetCount(); ++i) {
        const LinkRange& r = m_ranges[static_cast<size_t>(i)];
        if (direction >= 0) {
            if (r.start > position && (best < 0 || r.start < m_ranges[static_cast<size_t>(best)].start)) best = i;
        } else {
            if (r.end < position && (best < 0 || r.end > m_ranges[static_cast<size_t>(best)].end)) best = i;
        }
    }
    if (best < 0) return false;
    start = m_ranges[static_cast<size_t>(best)].start;
    end = m_ranges[static_cast<size_t>(best)].end;
    index = best;
    return true;
}

void CLinkRangeList::Sort()
{
    std::stable_sort(m_ranges.begin(), m_ranges.end(),
                     [](const LinkRange& a, const LinkRange& b) { return a.start < b.start; });
}

void CLinkRangeList::ReadFrom(CRecordStream& stream)
{
    m_ranges.clear();
    int32_t count = stream.ReadInt();
    if (count < 0) throw CQuorError(kCorruptedRecord, stream.GetFilePath());
    for (int32_t i = 0; i < count; ++i) {
        // Each range is read whole before it is added; a damaged count ends in code 5 when the
        // record's chain runs out, never in a huge allocation.
        LinkRange range;
        range.start = stream.ReadInt();
        range.end = stream.ReadInt();
        range.type = stream.ReadShort();
        range.targetArticle = stream.ReadInt();
        range.valueB = stream.ReadInt();
        range.valueC = stream.ReadInt();
        range.target = stream.ReadPackedString();
        Add(range);
    }
}

void CLinkRangeList::WriteTo(CRecordStream& stream, int mode)
{
    Sort();
    stream.WriteInt(GetCount());
    for (const LinkRange& range : m_ranges) {
        stream.WriteInt(range.start);
        stream.WriteInt(range.end);
        stream.WriteShort(range.type);
        stream.WriteInt(range.targetArticle);
        stream.WriteInt(range.valueB);
        stream.WriteInt(range.valueC);
        stream.WritePackedString(range.target, mode);
    }
}
