#include "platform/MessageMap.h"

const MessageMapEntry* MessageMap::Find(UINT message, WPARAM w) const
{
    for (const MessageMap* map = this; map; map = map->base) {
        for (const MessageMapEntry& entry : map->entries) {
            if (entry.message != message)
                continue;
            if (message != WM_COMMAND)
                return &entry;
            // Menu commands and button clicks both carry code 0.
            if (entry.id == LOWORD(w) && entry.code == HIWORD(w))
                return &entry;
        }
    }
    return nullptr;
}
