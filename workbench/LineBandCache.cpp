#include "workbench/LineBandCache.h"

#include <algorithm>

#include "workbench/DiagramLayout.h"

LineBandCache::LineBandCache(int bandHeight, std::size_t capacity)
    : bandHeight_(std::max(bandHeight, 1)), capacity_(std::max<std::size_t>(capacity, 1))
{
}

const std::vector<std::int16_t>& LineBandCache::greys(const DiagramBox& box, int boxIndex, double maxWeight)
{
    auto [it, added] = greys_.try_emplace(boxIndex);
    if (added) {
        it->second.reserve(box.Connections.size());
        for (const DiagramConnection& c : box.Connections)
            it->second.push_back(static_cast<std::int16_t>(WeightGrey(c.Weight, maxWeight)));
    }
    return it->second;
}

const LineBand& LineBandCache::band(const DiagramBox& box, int boxIndex, int band, double maxWeight)
{
    const auto key = std::pair(boxIndex, band);
    auto it = bands_.find(key);
    if (it == bands_.end()) {
        if (bands_.size() >= capacity_)
            dropLeastRecent();
        LineBand rendered = RenderLineBand(box, greys(box, boxIndex, maxWeight), band * bandHeight_, bandHeight_);
        it = bands_.emplace(key, Entry{std::move(rendered), 0}).first;
        ++renders_;
    }
    it->second.used = ++clock_;
    return it->second.band;
}

void LineBandCache::dropLeastRecent()
{
    const auto oldest = std::min_element(bands_.begin(), bands_.end(),
                                         [](const auto& a, const auto& b) { return a.second.used < b.second.used; });
    if (oldest != bands_.end())
        bands_.erase(oldest);
}

void LineBandCache::forget(int boxIndex)
{
    std::erase_if(bands_, [boxIndex](const auto& entry) { return entry.first.first == boxIndex; });
    greys_.erase(boxIndex);
}

void LineBandCache::clear()
{
    bands_.clear();
    greys_.clear();
}
