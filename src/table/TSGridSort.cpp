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

// Collation keys of all lines in one buffer; lines are compared by their keys only.
class KeyedLines {
public:
    KeyedLines(const QStringList& lines, int fromPosition)
    {
        m_offsets.reserve(static_cast<size_t>(lines.size()) + 1);
        for (const QString& line : lines) {
            m_offsets.push_back(m_buffer.size());
            QStringView key(line);
            if (fromPosition > 0)
                key = key.mid(std::min<qsizetype>(fromPosition - 1, key.size()), 256);
            sortkey::Append(key, m_buffer);
        }
        m_offsets.push_back(m_buffer.size());
    }

    int Compare(int a, int b) const
    {
        const size_t la = m_offsets[a + 1] - m_offsets[a];
        const size_t lb = m_offsets[b + 1] - m_offsets[b];
        const int c = std::memcmp(m_buffer.data() + m_offsets[a], m_buffer.data() + m_offsets[b],
                                  std::min(la, lb));
        if (c != 0)
            return c;
        return la < lb ? -1 : la > lb ? 1 : 0;
    }

private:
    std::string m_buffer;
    std::vector<size_t> m_offsets;
};

// Quicksort with Hoare partitioning around the middle line, the smaller part by recursion,
// ranges of fewer than 11 lines by exchange sort. Equal lines thus end in the same order
// as the files have always been written in.
void QuickSort(std::vector<int>& order, const KeyedLines& keys, int a, int b)
{
    while (b - a >= 10) {
        const int pivot = order[static_cast<size_t>((a + b) / 2)];
        int i = a;
        int j = b;
        do {
            while (keys.Compare(order[i], pivot) < 0)
                ++i;
            while (keys.Compare(order[j], pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(order[i], order[j]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - a < b - i) {
            QuickSort(order, keys, a, j);
            a = i;
        } else {
            QuickSort(order, keys, i, b);
            b = j;
        }
    }
    for (int i = a; i < b; ++i) {
        for (int j = i + 1; j <= b; ++j) {
            if (keys.Compare(order[i], order[j]) > 0)
                std::swap(order[i], order[j]);
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
        const KeyedLines keys(m_lines, fromPosition);
        std::vector<int> order(static_cast<size_t>(m_lines.size()));
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<int>(i);
        QuickSort(order, keys, 0, static_cast<int>(order.size()) - 1);
        QStringList sorted;
        sorted.reserve(m_lines.size());
        for (int index : order)
            sorted.append(m_lines[index]);
        m_lines = std::move(sorted);
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
