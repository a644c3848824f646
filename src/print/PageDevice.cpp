#include "print/PageDevice.h"

#include <stdexcept>

namespace varnel::print {

bool PageDevice::beginJob() {
    if (m_open)
        throw std::logic_error("PageDevice::beginJob: a job is already open");
    m_error.clear();
    m_page = 0;
    if (!startJob())
        return false;
    m_open = true;
    m_page = 1;
    return true;
}

void PageDevice::newPage() {
    requireJob();
    startPage();
    ++m_page;
}

bool PageDevice::endJob() {
    requireJob();
    m_open = false;
    return finishJob();
}

void PageDevice::requireJob() const {
    if (!m_open)
        throw std::logic_error("PageDevice: drawing outside a print job");
}

}  // namespace varnel::print
