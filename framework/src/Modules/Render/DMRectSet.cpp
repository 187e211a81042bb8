#include "DMRectSet.h"

#include <algorithm>

namespace DM {
namespace {

bool Covers(const std::vector<RECT>& rects, int x, int y) {
    for (const RECT& rect : rects) {
        if (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom) {
            return true;
        }
    }
    return false;
}

bool Keeps(bool inFirst, bool inSecond, int mode) {
    switch (mode) {
        case 1:
            return inFirst && inSecond;
        case 2:
            return inFirst || inSecond;
        case 3:
            return inFirst != inSecond;
        case 4:
            return inFirst && !inSecond;
        default:
            return inSecond;
    }
}

std::vector<LONG> Edges(const std::vector<RECT>& a, const std::vector<RECT>& b, bool vertical) {
    std::vector<LONG> edges;
    for (const auto* rects : {&a, &b}) {
        for (const RECT& rect : *rects) {
            edges.push_back(vertical ? rect.top : rect.left);
            edges.push_back(vertical ? rect.bottom : rect.right);
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    return edges;
}

// Joins a band with the one above it when both cover the same columns.
void AppendBand(std::vector<RECT>& rects, std::size_t& previousBand, std::vector<RECT>& band) {
    std::size_t previousCount = rects.size() - previousBand;
    bool same = previousCount == band.size() && !band.empty();
    for (std::size_t i = 0; same && i < band.size(); ++i) {
        const RECT& above = rects[previousBand + i];
        same = above.left == band[i].left && above.right == band[i].right &&
               above.bottom == band[i].top;
    }
    if (same) {
        for (std::size_t i = 0; i < band.size(); ++i) {
            rects[previousBand + i].bottom = band[i].bottom;
        }
        return;
    }
    previousBand = rects.size();
    rects.insert(rects.end(), band.begin(), band.end());
}

}  // namespace

DMRectSet::DMRectSet(const RECT& rect) {
    if (!IsEmptyRect(rect)) {
        m_rects.push_back(rect);
    }
}

void DMRectSet::Combine(const DMRectSet& other, int mode) {
    std::vector<LONG> xs = Edges(m_rects, other.m_rects, false);
    std::vector<LONG> ys = Edges(m_rects, other.m_rects, true);
    std::vector<RECT> result;
    std::size_t previousBand = 0;
    for (std::size_t row = 0; row + 1 < ys.size(); ++row) {
        std::vector<RECT> band;
        for (std::size_t column = 0; column + 1 < xs.size(); ++column) {
            bool keep = Keeps(Covers(m_rects, xs[column], ys[row]),
                              Covers(other.m_rects, xs[column], ys[row]), mode);
            if (!keep) {
                continue;
            }
            if (!band.empty() && band.back().right == xs[column]) {
                band.back().right = xs[column + 1];
            } else {
                band.push_back({xs[column], ys[row], xs[column + 1], ys[row + 1]});
            }
        }
        if (!band.empty()) {
            AppendBand(result, previousBand, band);
        }
    }
    m_rects = std::move(result);
}

bool DMRectSet::Contains(int x, int y) const {
    return Covers(m_rects, x, y);
}

bool DMRectSet::Intersects(const RECT& rect) const {
    for (const RECT& present : m_rects) {
        if (!IsEmptyRect(IntersectRects(present, rect))) {
            return true;
        }
    }
    return false;
}

RECT DMRectSet::Box() const {
    if (m_rects.empty()) {
        return {0, 0, 0, 0};
    }
    RECT box = m_rects.front();
    for (const RECT& rect : m_rects) {
        box = {std::min(box.left, rect.left), std::min(box.top, rect.top),
               std::max(box.right, rect.right), std::max(box.bottom, rect.bottom)};
    }
    return box;
}

void DMRectSet::Offset(int dx, int dy) {
    for (RECT& rect : m_rects) {
        rect = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    }
}

}  // namespace DM
