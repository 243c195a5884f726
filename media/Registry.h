// Registries (stream protocols, sample loaders, audio drivers) are singly linked lists through
// each entry's `_succ`, newest first: an entry goes in as it is made and out as it is destroyed.
#pragma once

namespace tonvella {

template <typename T> void RegistryAdd(T*& head, T* entry) {
    entry->_succ = head;
    head = entry;
}

// Nothing happens to a registry that does not hold the entry.
template <typename T> void RegistryRemove(T*& head, T* entry) {
    for (T** link = &head; *link; link = &(*link)->_succ)
        if (*link == entry) {
            *link = entry->_succ;
            return;
        }
}

} // namespace tonvella
