#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "common/Collation.h"
#include "table/SortKey.h"
#include "table/TSGrid.h"

namespace sortkey {

void Append(QStringView text, std::string& out)
{
    AppendCollationKey(text, out);
}

std::string Of(QStringView text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()) + 8);
    Append(text, out);
    return out;
}

}  // namespace sortkey

namespace {

// The first 48 bytes of a line's collation key as six numbers (big-endian, padded with
// zeros), which decide nearly every comparison, and the key's length while it fits in them.
constexpr int kHeadWords = 6;
constexpr size_t kHeadBytes = 8 * kHeadWords;
constexpr quint32 kLongKey = ~quint32(0);

struct KeyedLine {
    quint64 head[kHeadWords];
    int index;
    quint32 length;  // kLongKey for a key longer than its head
};

// The entries of the sorts of everyday tables are kept from one sort to the next: a fresh
// block costs its pages' first touch on every sort. Larger sorts take their own.
constexpr size_t kKeptLines = 100000;

std::vector<KeyedLine>& KeptEntries()
{
    thread_local std::vector<KeyedLine> entries;
    return entries;
}

// Lines compared by their collation keys: the heads are built for all lines at once, the
// whole key of a line only once its head ties with another beyond its end.
class KeyedLines {
public:
    KeyedLines(const QStringList& lines, int fromPosition)
        : m_lines(lines), m_fromPosition(fromPosition)
    {
        const size_t count = static_cast<size_t>(lines.size());
        m_kept = count <= kKeptLines;
        if (m_kept)
            std::swap(m_entries, KeptEntries());
        m_entries.resize(count);
        char head[2 * kHeadBytes + 8];
        for (size_t i = 0; i < count; ++i) {
            bool whole = false;
            char* const end =
                WriteCollationKeyHead(KeyText(static_cast<int>(i)), kHeadBytes, head, whole);
            const size_t length = static_cast<size_t>(end - head);
            std::memset(end, 0, kHeadBytes);
            KeyedLine& entry = m_entries[i];
            for (int w = 0; w < kHeadWords; ++w)
                entry.head[w] = qFromBigEndian<quint64>(head + 8 * w);
            entry.index = static_cast<int>(i);
            entry.length = whole && length <= kHeadBytes ? static_cast<quint32>(length) : kLongKey;
        }
    }
    ~KeyedLines()
    {
        if (m_kept)
            std::swap(m_entries, KeptEntries());
    }
    KeyedLines(const KeyedLines&) = delete;
    KeyedLines& operator=(const KeyedLines&) = delete;

    std::vector<KeyedLine>& Entries() { return m_entries; }

    int Compare(const KeyedLine& a, const KeyedLine& b)
    {
        for (int w = 0; w < kHeadWords; ++w) {
            if (a.head[w] != b.head[w])
                return a.head[w] < b.head[w] ? -1 : 1;
        }
        // Equal heads: a key that ends within its head is a beginning of the other.
        if (a.length != kLongKey || b.length != kLongKey)
            return a.length < b.length ? -1 : a.length > b.length ? 1 : 0;
        if (a.index == b.index)  // the pivot meets itself
            return 0;
        return CompareWholeKeys(a.index, b.index);
    }

private:
    struct WholeKey {
        size_t offset;
        size_t length;  // 0 until built
    };

    QStringView KeyText(int index) const
    {
        QStringView key(m_lines.at(index));
        if (m_fromPosition > 0)
            key = key.mid(std::min<qsizetype>(m_fromPosition - 1, key.size()), 256);
        return key;
    }

    WholeKey WholeKeyOf(int index)
    {
        if (m_wholeKeys.empty())
            m_wholeKeys.assign(m_entries.size(), WholeKey{0, 0});
        WholeKey& key = m_wholeKeys[static_cast<size_t>(index)];
        if (key.length == 0) {
            key.offset = m_keyBytes.size();
            sortkey::Append(KeyText(index), m_keyBytes);
            key.length = m_keyBytes.size() - key.offset;
        }
        return key;
    }

    // Both keys are longer than their heads.
    int CompareWholeKeys(int a, int b)
    {
        const WholeKey ka = WholeKeyOf(a);
        const WholeKey kb = WholeKeyOf(b);
        const size_t shorter = std::min(ka.length, kb.length);
        const size_t from = std::min(shorter, kHeadBytes);
        const char* const bytes = m_keyBytes.data();
        const int c =
            std::memcmp(bytes + ka.offset + from, bytes + kb.offset + from, shorter - from);
        if (c != 0)
            return c;
        return ka.length < kb.length ? -1 : ka.length > kb.length ? 1 : 0;
    }

    const QStringList& m_lines;
    const int m_fromPosition;
    std::vector<KeyedLine> m_entries;
    bool m_kept = false;
    std::vector<WholeKey> m_wholeKeys;  // by line
    std::string m_keyBytes;
};

// Quicksort with Hoare partitioning around the middle line, the smaller part by recursion,
// ranges of fewer than 11 lines by exchange sort. Equal lines thus end in the same order
// as the files have always been written in.
void QuickSort(std::vector<KeyedLine>& lines, KeyedLines& keys, int a, int b)
{
    while (b - a >= 10) {
        const KeyedLine pivot = lines[static_cast<size_t>((a + b) / 2)];
        int i = a;
        int j = b;
        do {
            while (keys.Compare(lines[i], pivot) < 0)
                ++i;
            while (keys.Compare(lines[j], pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(lines[i], lines[j]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - a < b - i) {
            QuickSort(lines, keys, a, j);
            a = i;
        } else {
            QuickSort(lines, keys, i, b);
            b = j;
        }
    }
    for (int i = a; i < b; ++i) {
        for (int j = i + 1; j <= b; ++j) {
            if (keys.Compare(lines[i], lines[j]) > 0)
                std::swap(lines[i], lines[j]);
        }
    }
}

}  // namespace

int TSGrid::Sort(int fromPosition)
{
    if (m_lines.isEmpty())
        return m_windowTop;
    BusyScope busy(m_port);
    const QString remembered = m_lines[std::min(CurrentRecord(), RecordCount() - 1)];
    {
        KeyedLines keys(m_lines, fromPosition);
        std::vector<KeyedLine>& order = keys.Entries();
        QuickSort(order, keys, 0, static_cast<int>(order.size()) - 1);
        // The lines are put in their order in place, cycle by cycle; moving them leaves
        // their texts where they are.
        QString* lines = m_lines.data();
        for (size_t start = 0; start < order.size(); ++start) {
            if (order[start].index < 0)
                continue;
            QString first = std::move(lines[start]);
            size_t at = start;
            for (;;) {
                const size_t from = static_cast<size_t>(order[at].index);
                order[at].index = -1;
                if (from == start) {
                    lines[at] = std::move(first);
                    break;
                }
                lines[at] = std::move(lines[from]);
                at = from;
            }
        }
    }
    int position = 0;
    FindSorted(remembered, position);
    return GotoRecord(1, position);
}

int TSGrid::SortAll()
{
    return Sort(0);
}

int TSGrid::SortFrom(int position)
{
    return Sort(std::max(1, position));
}
