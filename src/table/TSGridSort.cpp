#include <QtEndian>
#include <cstring>
#include <memory>
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

// A line's collation key in the shared buffer, with its first eight bytes as one number
// (big-endian, padded with zeros): most comparisons end on that number.
struct KeyedLine {
    quint64 head = 0;
    size_t offset = 0;
    quint32 length = 0;
    int index = 0;
};

quint64 HeadOf(const char* key, size_t length)
{
    if (length == 0)
        return 0;
    quint64 word = 0;
    std::memcpy(&word, key, 8);  // the buffer has room beyond the last key
    word = qFromBigEndian(word);
    return length >= 8 ? word : word & (~quint64(0) << (8 * (8 - length)));
}

// Room for the keys of the sorts of everyday tables, kept from one sort to the next: a
// fresh block of a megabyte costs its pages' first touch on every sort. Larger sorts take
// their own and give it back.
constexpr size_t kKeptKeyRoom = size_t(4) << 20;
constexpr size_t kKeptLines = 100000;

struct KeyStore {
    std::unique_ptr<char[]> buffer;
    size_t room = 0;
    std::vector<KeyedLine> entries;
};

KeyStore& KeptStore()
{
    thread_local KeyStore store;
    return store;
}

// Collation keys of all lines, built once into one buffer; lines are compared by their
// keys only.
class KeyedLines {
public:
    KeyedLines(const QStringList& lines, int fromPosition)
    {
        const auto keyOf = [fromPosition](const QString& line) {
            QStringView key(line);
            if (fromPosition > 0)
                key = key.mid(std::min<qsizetype>(fromPosition - 1, key.size()), 256);
            return key;
        };
        size_t room = 8;
        for (const QString& line : lines)
            room += static_cast<size_t>(CollationKeyBound(keyOf(line).size()));
        const size_t count = static_cast<size_t>(lines.size());
        m_kept = room <= kKeptKeyRoom && count <= kKeptLines;
        if (m_kept)
            std::swap(m_store, KeptStore());
        // Not zeroed: only what the keys take is ever touched.
        if (m_store.room < room) {
            m_store.buffer.reset(new char[room]);
            m_store.room = room;
        }
        m_store.entries.resize(count);
        char* const buffer = m_store.buffer.get();
        char* out = buffer;
        for (size_t i = 0; i < count; ++i) {
            KeyedLine& entry = m_store.entries[i];
            entry.offset = static_cast<size_t>(out - buffer);
            char* end = WriteCollationKey(keyOf(lines.at(static_cast<qsizetype>(i))), out);
            entry.length = static_cast<quint32>(end - out);
            entry.index = static_cast<int>(i);
            out = end;
        }
        std::memset(out, 0, 8);
        for (KeyedLine& entry : m_store.entries)
            entry.head = HeadOf(buffer + entry.offset, entry.length);
    }
    ~KeyedLines()
    {
        if (m_kept)
            std::swap(m_store, KeptStore());
    }
    KeyedLines(const KeyedLines&) = delete;
    KeyedLines& operator=(const KeyedLines&) = delete;

    std::vector<KeyedLine>& Entries() { return m_store.entries; }

    int Compare(const KeyedLine& a, const KeyedLine& b) const
    {
        if (a.head != b.head)
            return a.head < b.head ? -1 : 1;
        const size_t shorter = std::min(a.length, b.length);
        const size_t from = std::min<size_t>(shorter, 8);
        const char* const buffer = m_store.buffer.get();
        const int c =
            std::memcmp(buffer + a.offset + from, buffer + b.offset + from, shorter - from);
        if (c != 0)
            return c;
        return a.length < b.length ? -1 : a.length > b.length ? 1 : 0;
    }

private:
    KeyStore m_store;
    bool m_kept = false;
};

// Quicksort with Hoare partitioning around the middle line, the smaller part by recursion,
// ranges of fewer than 11 lines by exchange sort. Equal lines thus end in the same order
// as the files have always been written in.
void QuickSort(std::vector<KeyedLine>& lines, const KeyedLines& keys, int a, int b)
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
