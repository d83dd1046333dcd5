#include "platform/InternetBody.h"

#include <algorithm>
#include <cstring>

namespace {

// Capacities are this times a power of two, so that a ring filled up to a
// round size plus one block of libcurl's ends there instead of at twice it.
const size_t SMALLEST_RING = 16 * 1024;

}

void CInternetBody::Append(const char* pData, size_t nSize)
{
    if (nSize == 0)
        return;
    if (m_nSize + nSize > m_nCapacity)
        Grow(m_nSize + nSize);
    size_t nTail = (m_nHead + m_nSize) % m_nCapacity;
    size_t nFirst = std::min(nSize, m_nCapacity - nTail);
    std::memcpy(m_ring.get() + nTail, pData, nFirst);
    std::memcpy(m_ring.get(), pData + nFirst, nSize - nFirst);
    m_nSize += nSize;
}

size_t CInternetBody::Take(char* pData, size_t nSize)
{
    size_t n = std::min(nSize, m_nSize);
    if (n == 0)
        return 0;
    size_t nFirst = std::min(n, m_nCapacity - m_nHead);
    std::memcpy(pData, m_ring.get() + m_nHead, nFirst);
    std::memcpy(pData + nFirst, m_ring.get(), n - nFirst);
    m_nHead = (m_nHead + n) % m_nCapacity;
    m_nSize -= n;
    return n;
}

void CInternetBody::Grow(size_t nNeeded)
{
    size_t nCapacity = std::max(m_nCapacity * 2, SMALLEST_RING);
    while (nCapacity < nNeeded)
        nCapacity *= 2;
    std::unique_ptr<char[]> ring(new char[nCapacity]);
    size_t nSize = m_nSize;
    Take(ring.get(), nSize);
    m_ring = std::move(ring);
    m_nCapacity = nCapacity;
    m_nHead = 0;
    m_nSize = nSize;
}
