// SPDX-License-Identifier: Apache-2.0
// The untyped doubly linked list shared by the whole library.
#include <cstdlib>

#include "vantix-zelnar.h"

extern "C" {

vantix_list *vantix_create_list(void) {
    return static_cast<vantix_list *>(std::calloc(1, sizeof(vantix_list)));
}

void vantix_list_free(vantix_list *list) {
    if (!list)
        return;
    vantix_list_item *item = list->first;
    while (item) {
        vantix_list_item *next = item->next;
        std::free(item);
        item = next;
    }
    std::free(list);
}

vantix_list_item *vantix_list_add(vantix_list *list, void *ptr) {
    if (!list)
        return nullptr;
    auto *item = static_cast<vantix_list_item *>(std::calloc(1, sizeof(vantix_list_item)));
    if (!item)
        return nullptr;
    item->ptr = ptr;
    if (list->last) {
        item->prev = list->last;
        list->last->next = item;
    } else {
        list->first = item;
    }
    list->last = item;
    return item;
}

unsigned char vantix_list_remove(vantix_list *list, vantix_list_item *item) {
    if (!list || !item)
        return 0;
    if (item->prev)
        item->prev->next = item->next;
    if (item->next)
        item->next->prev = item->prev;
    if (list->first == item)
        list->first = item->next;
    if (list->last == item)
        list->last = item->prev;
    std::free(item);
    return 1;
}

unsigned int vantix_list_count(vantix_list *list) {
    unsigned int count = 0;
    for (vantix_list_item *item = list ? list->first : nullptr; item; item = item->next)
        ++count;
    return count;
}

vantix_list_item *vantix_list_find(vantix_list *list, void *ptr) {
    for (vantix_list_item *item = list ? list->first : nullptr; item; item = item->next)
        if (item->ptr == ptr)
            return item;
    return nullptr;
}

unsigned char vantix_list_remove_ptr(vantix_list *list, void *ptr) {
    vantix_list_item *item = vantix_list_find(list, ptr);
    return item ? vantix_list_remove(list, item) : 0;
}

}  // extern "C"
