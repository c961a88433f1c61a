#include "drive/IndexSearch.h"

namespace cueify {
namespace {

class IndexFinder
{
public:
    IndexFinder(uint8_t track, const std::function<QPosition(Lba)>& probe) : m_track(track), m_probe(probe) {}

    // The first sector in [low, high) that holds is true of, where it is false before and true after;
    // high when it holds nowhere.
    template <class Holds> uint32_t firstWhere(uint32_t low, uint32_t high, Holds holds) const
    {
        while (low < high) {
            const uint32_t middle = low + (high - low) / 2;
            if (holds(m_probe(Lba{middle})))
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    }

    // Indices 2 to last, each from where the one before it starts, within [from, end).
    void addIndicesUpTo(uint8_t last, uint32_t from, uint32_t end, std::vector<FoundIndex>& found) const
    {
        for (uint8_t k = 2; k <= last; ++k) {
            from = firstWhere(from, end,
                              [this, k](const QPosition& q) { return q.track != m_track || q.index >= k; });
            found.push_back({k, Lba{from}});
        }
    }

    uint8_t track() const noexcept { return m_track; }
    QPosition at(uint32_t lba) const { return m_probe(Lba{lba}); }

private:
    uint8_t m_track;
    const std::function<QPosition(Lba)>& m_probe;
};

} // namespace

std::vector<FoundIndex> findTrackIndices(uint8_t track, Lba start, Lba end,
                                         const std::function<QPosition(Lba)>& probe)
{
    std::vector<FoundIndex> found = {{1, start}};
    if (end.value <= start.value)
        return found;
    const IndexFinder finder(track, probe);
    const QPosition last = finder.at(end.value - 1);
    if (last.track == track && last.index > 1) {
        finder.addIndicesUpTo(last.index, start.value, end.value, found);
    } else if (last.track == static_cast<uint8_t>(track + 1)) {
        const uint32_t pregap = finder.firstWhere(start.value, end.value,
                                                  [track](const QPosition& q) { return q.track != track; });
        if (pregap > start.value) {
            const QPosition beforePregap = finder.at(pregap - 1);
            if (beforePregap.track == track && beforePregap.index > 1)
                finder.addIndicesUpTo(beforePregap.index, start.value, pregap, found);
        }
        found.push_back({0, Lba{pregap}});
    }
    return found;
}

} // namespace cueify
