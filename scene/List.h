// Ordered collection of shared objects. Nodes stay put while others are inserted or removed, so a
// node remembered as a link remains usable until its own element is removed.
#pragma once

#include <list>
#include <memory>

namespace tonvella {

template <class T> class TList {
public:
    using TItems = std::list<std::shared_ptr<T>>;
    using TLink = typename TItems::iterator;

    TLink AddLast(std::shared_ptr<T> item) { return items.insert(items.end(), std::move(item)); }
    TLink AddFirst(std::shared_ptr<T> item) { return items.insert(items.begin(), std::move(item)); }
    TLink InsertBefore(TLink pos, std::shared_ptr<T> item) {
        return items.insert(pos, std::move(item));
    }
    // Removes the first occurrence of the object; false when it is not in the list.
    bool Remove(const T* item) {
        for (auto it = items.begin(); it != items.end(); ++it) {
            if (it->get() == item) {
                items.erase(it);
                return true;
            }
        }
        return false;
    }
    bool Contains(const T* item) const {
        for (const auto& entry : items)
            if (entry.get() == item) return true;
        return false;
    }
    int Count() const { return int(items.size()); }
    bool IsEmpty() const { return items.empty(); }
    void Clear() { items.clear(); }
    const std::shared_ptr<T>& First() const { return items.front(); }
    const std::shared_ptr<T>& Last() const { return items.back(); }

    auto begin() { return items.begin(); }
    auto end() { return items.end(); }
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }
    TItems& Items() { return items; }
    const TItems& Items() const { return items; }

private:
    TItems items;
};

// Ordered insertion by the `order` key: positive keys first in descending order, then keys of 0 in
// insertion order, then negative keys in descending order.
template <class T> typename TList<T>::TLink InsertByOrder(TList<T>& list, std::shared_ptr<T> item) {
    auto& items = list.Items();
    const int order = item->order;
    if (order > 0) {
        auto it = items.begin();
        while (it != items.end() && (*it)->order > order && (*it)->order > 0)
            ++it;
        return items.insert(it, std::move(item));
    }
    // Walk back from the tail; insert after the first entry whose key is >= ours or >= 0.
    auto it = items.end();
    while (it != items.begin()) {
        auto prev = std::prev(it);
        if ((*prev)->order >= order || (*prev)->order >= 0) break;
        it = prev;
    }
    return items.insert(it, std::move(item));
}

} // namespace tonvella
