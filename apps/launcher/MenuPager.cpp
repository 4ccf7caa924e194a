#include "MenuPager.h"

void CMenuPager::Reset(int entries) {
    m_nEntries = entries > 0 ? entries : 0;
    m_nPage = 0;
}

int CMenuPager::PageCount() const {
    const int pages = (m_nEntries + m_nButtons - 1) / m_nButtons;
    return pages > 0 ? pages : 1;
}

bool CMenuPager::Previous() {
    if (!HasPrevious()) return false;
    --m_nPage;
    return true;
}

bool CMenuPager::Next() {
    if (!HasNext()) return false;
    ++m_nPage;
    return true;
}

int CMenuPager::EntryAt(int slot) const {
    if (slot < 0 || slot >= m_nButtons) return -1;
    const int entry = m_nPage * m_nButtons + slot;
    return entry < m_nEntries ? entry : -1;
}
