// The doubly linked list that holds each of the catalogue's lists. It is filled once, when the
// library loads, and only read afterwards.
#pragma once

#include <cstdint>
#include <new>
#include <utility>

#include "base/allocation_hook.h"

namespace vistrel {

template <typename Record>
class CatalogueList {
public:
    CatalogueList() noexcept = default;
    CatalogueList(const CatalogueList&) = delete;
    CatalogueList& operator=(const CatalogueList&) = delete;
    ~CatalogueList() { Destroy(); }

    // Appends at the end; false when no node can be had, and the record is dropped.
    bool Append(Record&& record) noexcept {
        Node* node = NewOrNull<Node>("catalogue node", Node{std::move(record), nullptr, last_});
        if (node == nullptr) return false;
        (last_ != nullptr ? last_->next : first_) = node;
        last_ = node;
        return true;
    }

    // Counts the nodes with an in-order walk and keeps the count; done once, after loading.
    void EstablishCount() noexcept {
        std::uint32_t nodes = 0;
        for (bool on = MoveToFirst(); on; on = MoveToNext()) ++nodes;
        count_ = nodes;
    }

    std::uint32_t Count() const noexcept { return count_; }

    // The record `position` nodes on from the first; null past the end.
    const Record* At(std::uint32_t position) const noexcept {
        const Node* node = first_;
        for (; node != nullptr && position > 0; --position) node = node->next;
        return node != nullptr ? &node->record : nullptr;
    }

    // The in-order walk: both moves report whether the cursor stands on a node.
    bool MoveToFirst() noexcept {
        cursor_ = first_;
        return cursor_ != nullptr;
    }
    bool MoveToNext() noexcept {
        if (cursor_ != nullptr) cursor_ = cursor_->next;
        return cursor_ != nullptr;
    }
    const Record* Current() const noexcept {
        return cursor_ != nullptr ? &cursor_->record : nullptr;
    }

private:
    struct Node {
        Record record;
        Node* next;
        Node* previous;
    };

    void Destroy() noexcept {
        for (Node* node = first_; node != nullptr;) delete std::exchange(node, node->next);
        first_ = last_ = cursor_ = nullptr;
        count_ = 0;
    }

    Node* first_ = nullptr;
    Node* last_ = nullptr;
    Node* cursor_ = nullptr;
    std::uint32_t count_ = 0;
};

}  // namespace vistrel
