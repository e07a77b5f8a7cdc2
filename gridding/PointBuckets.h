// Points sorted into square buckets of a given side, so that those near a place are found
// by looking in a few buckets instead of going through every point: the reading under the
// pointer, the readings of other days near a reading. Only buckets that hold a point are
// kept, so a point far from the others costs no more than one near them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace velkor {

class PointBuckets {
  public:
    struct Place {
        double x;
        double y;
    };

    PointBuckets() = default;
    // Each place is known by its index in this vector; places that are not numbers are
    // left out. side: a bucket's, in the places' units (not a number or not above 0: 1).
    PointBuckets(const std::vector<Place>& places, double side);

    // Calls visit(index) for every place in a bucket the rectangle touches (so for every
    // place inside it, and some near it), each bucket's places in increasing index.
    template <typename Visit>
    void visit(double x0, double y0, double x1, double y1, Visit&& visit) const {
        if (buckets_.empty() || !(x1 >= x0 && y1 >= y0)) {
            return;
        }
        const Key first{cell(y0), cell(x0)};
        const Key last{cell(y1), cell(x1)};
        auto at = lowerBound(buckets_.begin(), first);
        while (at != buckets_.end() - 1 && at->key.row <= last.row) {
            if (at->key.column < first.column || at->key.column > last.column) {
                // Out of the columns: on to this row's first column, or the next row's.
                const Key next = at->key.column < first.column ? Key{at->key.row, first.column}
                                                               : Key{at->key.row + 1, first.column};
                at = lowerBound(at, next);
                continue;
            }
            for (int k = at->begin; k < (at + 1)->begin; ++k) {
                visit(index_[static_cast<std::size_t>(k)]);
            }
            ++at;
        }
    }

  private:
    struct Key {
        long long row;
        long long column;
        bool operator<(const Key& o) const {
            return row < o.row || (row == o.row && column < o.column);
        }
    };
    struct Bucket {
        Key key;
        int begin;  // its places are index_[begin] up to the next bucket's begin
    };
    using Iterator = std::vector<Bucket>::const_iterator;

    long long cell(double at) const;
    // The first bucket from 'from' whose key is not below key (the last one, a sentinel,
    // when there is none).
    Iterator lowerBound(Iterator from, const Key& key) const {
        return std::lower_bound(from, buckets_.end() - 1, key,
                                [](const Bucket& b, const Key& k) { return b.key < k; });
    }

    double side_ = 1.0;
    std::vector<Bucket> buckets_;  // sorted by key, then one more that ends the last
    std::vector<int> index_;
};

}  // namespace velkor
