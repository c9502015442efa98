// Set-up and checks shared by the fuzz targets.
#ifndef FUZZ_SUPPORT_H
#define FUZZ_SUPPORT_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

// A broken property is a crash for libFuzzer, which then keeps the input.
#define FUZZ_CHECK(cond)                                                             \
    do {                                                                             \
        if (!(cond)) {                                                               \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            abort();                                                                 \
        }                                                                            \
    } while (0)

namespace fuzzsupport {

// The input cut at each NUL byte into at most p_nParts texts; missing parts are empty.
std::vector<std::string> splitInput(const uint8_t* p_pData, size_t p_nSize, size_t p_nParts);

}  // namespace fuzzsupport

#endif
