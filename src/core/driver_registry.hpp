// SPDX-License-Identifier: Apache-2.0
// The registered driver tables. The core keeps the list; the top layer
// fills a table's library entries when it registers it and starts and
// stops the tables.
#pragma once

#include "vantix-zelnar.h"

namespace vantix::core {

// The registered tables; null before the first vantix_init and after
// vantix_destroy.
vantix_list *driver_list();
// Makes the list when there is none.
void create_driver_list();
// Forgets every table (the tables themselves belong to their drivers).
void free_driver_list();

}  // namespace vantix::core
