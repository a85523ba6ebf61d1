// SPDX-License-Identifier: Apache-2.0
/* The C test programs' check: reports a failed condition and counts it;
 * main returns the count's verdict. */
#ifndef VANTIX_TEST_CHECK_H
#define VANTIX_TEST_CHECK_H

#include <stdio.h>

static int failures = 0;

#define CHECK(cond)                                                                  \
    do {                                                                             \
        if (!(cond)) {                                                               \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                              \
        }                                                                            \
    } while (0)

#endif /* VANTIX_TEST_CHECK_H */
