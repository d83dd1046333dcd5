#pragma once

// Growable array of item pointers. Starts with room for 32 and doubles when full.
// An owning array (the default) deletes its items when they are removed, when it
// is cleared and when it is destroyed; a non-owning one only forgets them.
template <class T>
class CPointerArray
{
public:
    explicit CPointerArray(bool bOwner = true)
        : m_bOwner(bOwner), m_nCount(0), m_nCapacity(32), m_ppItems(new T*[32])
    {
    }

    ~CPointerArray()
    {
        RemoveAll();
        delete[] m_ppItems;
    }

    CPointerArray(const CPointerArray&) = delete;
    CPointerArray& operator=(const CPointerArray&) = delete;

    void Add(T* pItem)
    {
        if (m_nCount == m_nCapacity) {
            T** ppGrown = new T*[m_nCapacity * 2];
            for (int i = 0; i < m_nCount; ++i)
                ppGrown[i] = m_ppItems[i];
            delete[] m_ppItems;
            m_ppItems = ppGrown;
            m_nCapacity *= 2;
        }
        m_ppItems[m_nCount++] = pItem;
    }

    void RemoveAt(int nIndex)
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return;
        if (m_bOwner)
            delete m_ppItems[nIndex];
        for (int i = nIndex; i < m_nCount - 1; ++i)
            m_ppItems[i] = m_ppItems[i + 1];
        --m_nCount;
    }

    // Keeps the capacity, so a refill of the same size allocates no new block.
    void RemoveAll()
    {
        if (m_bOwner) {
            for (int i = 0; i < m_nCount; ++i)
                delete m_ppItems[i];
        }
        m_nCount = 0;
    }

    T* GetAt(int nIndex) const
    {
        return (nIndex >= 0 && nIndex < m_nCount) ? m_ppItems[nIndex] : nullptr;
    }

    int GetCount() const { return m_nCount; }

    bool m_bOwner;
    int m_nCount;
    int m_nCapacity;
    T** m_ppItems;
};
