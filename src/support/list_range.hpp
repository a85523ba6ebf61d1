// SPDX-License-Identifier: Apache-2.0
// Range-for over the elements of a vantix_list, typed by the caller.
#pragma once

#include "vantix-zelnar.h"

namespace vantix {

template <typename T>
class list_range {
public:
    class iterator {
    public:
        explicit iterator(vantix_list_item *item) : item_(item), next_(item ? item->next : nullptr) {}
        T *operator*() const { return static_cast<T *>(item_->ptr); }
        // The following item is read before the body runs, so the body may
        // remove the current item.
        iterator &operator++() {
            item_ = next_;
            next_ = item_ ? item_->next : nullptr;
            return *this;
        }
        bool operator!=(const iterator &other) const { return item_ != other.item_; }

    private:
        vantix_list_item *item_;
        vantix_list_item *next_;
    };

    explicit list_range(vantix_list *list) : list_(list) {}
    iterator begin() const { return iterator(list_ ? list_->first : nullptr); }
    iterator end() const { return iterator(nullptr); }

private:
    vantix_list *list_;
};

}  // namespace vantix
