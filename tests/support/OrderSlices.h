#pragma once

#include "data/TableStream.h"

namespace varnel::test {

// Cursors read the order of their rows in slices of these sizes while the
// object lives (small ones make a few rows take many slices).
class OrderSlices {
public:
    OrderSlices(size_t first, size_t further) : m_saved(data::TableInternals::orderSlices()) {
        data::TableInternals::orderSlices() = {first, further};
    }
    ~OrderSlices() { data::TableInternals::orderSlices() = m_saved; }
    OrderSlices(const OrderSlices &) = delete;
    OrderSlices &operator=(const OrderSlices &) = delete;

private:
    data::TableInternals::OrderSlices m_saved;
};

}  // namespace varnel::test
