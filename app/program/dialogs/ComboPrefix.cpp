#include "ComboPrefix.h"

#include <cstring>

int FindPrefixFromSecond(const CComboBox& combo, const char* text) {
    const int count = combo.GetCount();
    const size_t length = std::strlen(text);
    for (int step = 0; step < count; ++step) {
        const int index = (step + 1) % count;
        CString entry;
        combo.GetLBText(index, entry);
        if (static_cast<size_t>(entry.GetLength()) >= length && _strnicmp(entry, text, length) == 0)
            return index;
    }
    return -1;
}
