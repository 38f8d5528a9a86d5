#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "workbench/LineBand.h"

struct DiagramBox;

// Bands of rendered weight lines per box, rendered when first asked for and
// kept until the owner forgets them: whenever a box's lines or the largest
// weight change. At most `capacity` bands are kept in all; the one unused
// longest goes first.
class LineBandCache {
public:
    LineBandCache(int bandHeight, std::size_t capacity);

    int bandHeight() const { return bandHeight_; }

    // Band number `band` (rows band * bandHeight() onward) of the lines into
    // the box numbered boxIndex, whose greys follow from maxWeight.
    const LineBand& band(const DiagramBox& box, int boxIndex, int band, double maxWeight);

    bool has(int boxIndex, int band) const { return bands_.contains({boxIndex, band}); }
    void forget(int boxIndex);
    void clear();
    std::size_t size() const { return bands_.size(); }

    // How many bands were rendered since the cache was made.
    int renders() const { return renders_; }

private:
    struct Entry {
        LineBand band;
        std::uint64_t used = 0;
    };

    const std::vector<std::int16_t>& greys(const DiagramBox& box, int boxIndex, double maxWeight);
    void dropLeastRecent();

    int bandHeight_;
    std::size_t capacity_;
    std::map<std::pair<int, int>, Entry> bands_;
    std::map<int, std::vector<std::int16_t>> greys_;
    std::uint64_t clock_ = 0;
    int renders_ = 0;
};
