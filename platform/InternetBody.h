#pragma once

#include <cstddef>
#include <memory>

// The part of an answer's body that has been received and not yet read, in a
// ring: bytes go in at one end and come out at the other without the rest being
// moved. Its storage grows to the most it ever held at once and is kept until
// the request ends, so a steady transfer allocates nothing.
class CInternetBody
{
public:
    size_t Size() const { return m_nSize; }
    void Append(const char* pData, size_t nSize);
    // Copies up to nSize bytes out; the number copied.
    size_t Take(char* pData, size_t nSize);

private:
    void Grow(size_t nNeeded);

    std::unique_ptr<char[]> m_ring;
    size_t m_nCapacity = 0;
    size_t m_nHead = 0;   // where the oldest unread byte is
    size_t m_nSize = 0;
};
