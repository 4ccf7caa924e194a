// Spreads the entries of one menu over a fixed number of buttons, one page at a time.
#pragma once

class CMenuPager {
public:
    explicit CMenuPager(int buttons) : m_nButtons(buttons > 0 ? buttons : 1) {}

    // A new menu of `entries` entries: back to its first page.
    void Reset(int entries);

    int PageCount() const;  // at least 1, also for an empty menu
    int Page() const { return m_nPage; }
    bool NeedsPaging() const { return m_nEntries > m_nButtons; }
    bool HasPrevious() const { return m_nPage > 0; }
    bool HasNext() const { return m_nPage + 1 < PageCount(); }
    // Moves one page; false, staying put, when there is no such page.
    bool Previous();
    bool Next();

    // The entry index shown on button `slot` of the current page, or -1 for none.
    int EntryAt(int slot) const;

private:
    int m_nButtons;
    int m_nEntries = 0;
    int m_nPage = 0;
};
